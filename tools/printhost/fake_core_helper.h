// The core driver's IPrintCoreHelper as the print host offers it: a feature
// table with the eleven features of the driver's feature file.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "plugin/oem/oem_com.h"

namespace printhost {

class FakeCoreHelper : public IPrintCoreHelper {
 public:
  FakeCoreHelper();
  virtual ~FakeCoreHelper() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }  // lives on the test's stack

  HRESULT STDMETHODCALLTYPE GetOption(const DEVMODEW* dm, DWORD size, PCSTR feature,
                                      PCSTR* option) override;
  HRESULT STDMETHODCALLTYPE SetOptions(DEVMODEW* dm, DWORD size, BOOL resolve,
                                       const PRINT_FEATURE_OPTION* pairs, DWORD count,
                                       DWORD* written, DWORD* result) override;
  HRESULT STDMETHODCALLTYPE EnumConstrainedOptions(const DEVMODEW*, DWORD, PCSTR, PCSTR**,
                                                   DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE WhyConstrained(const DEVMODEW*, DWORD, PCSTR, PCSTR,
                                           const PRINT_FEATURE_OPTION**, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE EnumFeatures(PCSTR** list, DWORD* count) override;
  HRESULT STDMETHODCALLTYPE EnumOptions(PCSTR feature, PCSTR** list, DWORD* count) override;
  HRESULT STDMETHODCALLTYPE GetFontSubstitution(PCWSTR, PCWSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetFontSubstitution(PCWSTR, PCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CreateInstanceOfMSXMLObject(REFCLSID, LPUNKNOWN, DWORD, REFIID,
                                                        LPVOID*) override {
    return E_NOTIMPL;
  }

  // Answer only IUnknown: a core object without the helper interface.
  bool offersHelper = true;
  ULONG refs = 1;
  int helperQueries = 0;
  std::vector<std::string> enumerated;  // features asked for, in order
  std::vector<std::pair<std::string, std::string>> lastSet;
  bool sawDevmode = false;  // a call that passed a DEVMODE instead of acting on the sheet

 private:
  std::vector<std::string> featureNames_;
  std::map<std::string, std::vector<std::string>> options_;
  std::map<std::string, std::vector<PCSTR>> optionLists_;
  std::vector<PCSTR> featureList_;
  std::map<std::string, std::string> current_;
};

}  // namespace printhost
