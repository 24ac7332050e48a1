// A machine with a scriptable dns_sd library beside the installer, the
// configured models and a window that records what the search posts to it.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "common/text.h"
#include "installer/core/trace.h"
#include "installer/discovery/net_search.h"
#include "platform/sim/sim_dnssd.h"
#include "platform/sim/sim_libraries.h"
#include "platform/sim/sim_parts.h"

namespace lx::test {

// The trace, written by the poll thread while a test reads it.
class LockedTrace : public IDebugOutput {
 public:
  void OutputA(const std::string& text) override {
    std::lock_guard<std::mutex> hold(lock_);
    lines_.push_back(text);
  }
  void OutputW(const std::u16string& text) override { OutputA(Utf16ToUtf8(text)); }
  bool Has(const std::string& line) {
    std::lock_guard<std::mutex> hold(lock_);
    for (const auto& l : lines_)
      if (l == line) return true;
    return false;
  }
  std::string All() {
    std::lock_guard<std::mutex> hold(lock_);
    std::string all;
    for (const auto& l : lines_) all += l + "\n";
    return all;
  }

 private:
  std::mutex lock_;
  std::vector<std::string> lines_;
};

class RecordingWindow : public INetSearchSink {
 public:
  bool IsWindow() override { return live; }
  void Post(unsigned message, uintptr_t search) override {
    std::lock_guard<std::mutex> hold(lock_);
    posts_.push_back(message);
    numbers_.push_back(search);
    changed_.notify_all();
  }
  bool SetTimer(unsigned id, uint32_t periodMs) override {
    timers.push_back({id, periodMs});
    return true;
  }
  void KillTimer(unsigned id) override { killed.push_back(id); }

  std::vector<unsigned> Posts() {
    std::lock_guard<std::mutex> hold(lock_);
    return posts_;
  }
  // The search number each notice carried.
  std::vector<uintptr_t> Numbers() {
    std::lock_guard<std::mutex> hold(lock_);
    return numbers_;
  }
  // Waits until `count` messages have been posted; false after `ms`.
  bool WaitForPosts(size_t count, int ms = 3000) {
    std::unique_lock<std::mutex> hold(lock_);
    return changed_.wait_for(hold, std::chrono::milliseconds(ms), [&] { return posts_.size() >= count; });
  }

  bool live = true;
  std::vector<std::pair<unsigned, uint32_t>> timers;
  std::vector<unsigned> killed;

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  std::vector<unsigned> posts_;
  std::vector<uintptr_t> numbers_;
};

inline ModelEntry NetModel(const char16_t* host, const char16_t* printer, const char16_t* driver) {
  ModelEntry m;
  m.HOSTNAME = host;
  m.PRINTERNAME = printer;
  m.DriverName = driver;
  return m;
}

class DiscoveryTest : public ::testing::Test {
 protected:
  DiscoveryTest() {
    debugEnabled = 1;
    AddModel(u"LX220", NetModel(u"LX-220", u"LX-220 Label", u"LX-220 Driver"));
    AddModel(u"LX320", NetModel(u"LX-320", u"LX-320 Label", u"LX-320 Driver"));
    config.install.PRODUCT = u"LX";
    os.debug = &debug;
    os.sockets = &mdns;
    os.system = &system;
    os.libraries = &libraries;
    system.modulePath = u"C:\\Setup\\Qelvin64.exe";
  }
  ~DiscoveryTest() override { debugEnabled = 0; }

  void AddModel(const std::u16string& name, const ModelEntry& m) {
    config.modelNames.push_back(name);
    config.models[name] = m;
    config.modelCount = static_cast<int>(config.modelNames.size());
  }
  bool Traced(const std::string& line) { return debug.Has(line); }
  // The double beside the installer, less the entry points named.
  void InstallLibrary(std::vector<std::string> missing = {}) {
    auto entries = SimDnssd::Entries();
    for (const auto& name : missing) entries.erase(name);
    libraries.Install(u"C:\\Setup\\dnssd.dll", entries);
    ASSERT_TRUE(dnssd.Load(DnssdLibraryPath(os)));
  }
  // Waits until every reference the double handed out has been released (a
  // thread that outlived a stop releases its browse when it ends).
  bool WaitForNoLiveRefs(int ms = 3000) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (mdns.LiveRefs() != 0)
      if (std::chrono::steady_clock::now() > until) return false;
      else std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return true;
  }
  // Waits until the double has seen `count` calls of `entry`.
  bool WaitForCalls(const std::string& entry, int count, int ms = 3000) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (mdns.Calls(entry) < count)
      if (std::chrono::steady_clock::now() > until) return false;
      else std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return true;
  }
  static SimMdnsService Printer(const std::string& instance, const std::string& product = "LX-220",
                                const std::string& address = "192.0.2.10") {
    SimMdnsService s;
    s.instance = instance;
    s.host = instance + ".local.";
    s.txt = SimTxt({"txtvers=1", "product=" + product});
    s.address = address;
    return s;
  }
  std::vector<NetPrinterRecord> WaitForRecords(size_t count, int ms = 3000) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (search.List().Size() < count && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return search.List().Copy();
  }

  InstallerConfig config;
  LockedTrace debug;
  SimSystem system;
  SimDnssd mdns;
  SimLibraries libraries;
  Os os;
  DnssdBinding dnssd{&libraries};
  NetSearch search{os, dnssd, config};
  RecordingWindow page;
};

}  // namespace lx::test
