// The simulated machine's file permissions. A file's DACL can be written by
// its owner, or by an administrator when the Administrators own it; taking
// ownership needs the take-ownership privilege. Attached to the file system
// as its guard: SYSTEM and administrators may do anything; another caller
// gets what an explicit DACL grants it, or, under the inherited permissions
// of the common application-data folder, everything on what it owns and
// only reading and making new names elsewhere. A new name is owned by its
// maker.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_security.h"
#include "platform/sim/sim_caller.h"
#include "platform/sim/sim_files.h"

namespace lx {

class SimFileSecurity : public IFileSecurity, private SimFileSystem::Guard {
 public:
  SimFileSecurity(SimCaller& caller, SimFileSystem& files) : caller_(caller), files_(files) {
    files_.guard = this;
  }
  ~SimFileSecurity() override {
    if (files_.guard == this) files_.guard = nullptr;
  }
  SimFileSecurity(const SimFileSecurity&) = delete;
  SimFileSecurity& operator=(const SimFileSecurity&) = delete;

  bool SetDacl(const std::u16string& path, const std::vector<AccessAllowed>& entries) override;
  bool SetOwner(const std::u16string& path, const std::u16string& ownerSid) override;
  std::optional<std::u16string> OwnerOfHandle(uint64_t handle) override;
  bool SetProtectedDaclOnHandle(uint64_t handle, const std::vector<AccessAllowed>& entries) override;
  bool CreateProtected(const std::u16string& path, bool folder, const std::vector<AccessAllowed>& entries) override;
  std::optional<std::u16string> ProcessUserSid() override { return callerSid; }
  bool ProcessIsAdministrator() override { return callerIsAdministrator || callerSid == kSidLocalSystem; }

  // Test set-up and inspection, of what a path leads to (links followed). A
  // file never seen here is owned by the caller.
  void SetFileOwner(const std::u16string& path, const std::u16string& sid);
  std::u16string OwnerOf(const std::u16string& path) const;
  // The explicit DACL last written, nothing while the file keeps its inherited one.
  std::optional<std::vector<AccessAllowed>> DaclOf(const std::u16string& path) const;
  // True when the explicit DACL was written protected from inheritance.
  bool DaclProtected(const std::u16string& path) const;
  // What the entries grant `sid` (Everyone's entries count for every SID).
  uint32_t RightsOf(const std::u16string& path, const std::u16string& sid) const;

  std::u16string callerSid = kSidLocalSystem;
  bool callerIsAdministrator = true;
  bool mayTakeOwnership = true;  // SeTakeOwnershipPrivilege held
  int daclWrites = 0;            // calls, refused ones included

 private:
  struct State {
    std::optional<std::u16string> owner;
    std::optional<std::vector<AccessAllowed>> dacl;
    bool protectedDacl = false;
  };
  bool Fail(uint32_t error) {
    caller_.SetError(error);
    return false;
  }
  bool MayOpen(const std::u16string& key, uint32_t access) override;
  void Created(const std::u16string& key) override { states_[key] = State{callerSid, std::nullopt, false}; }
  std::u16string OwnerOfKey(const std::u16string& key) const;
  uint32_t RightsOfKey(const std::u16string& key, const std::u16string& sid) const;

  SimCaller& caller_;
  SimFileSystem& files_;
  std::map<std::u16string, State> states_;  // by resolved name
};

}  // namespace lx
