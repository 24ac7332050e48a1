// The simulated machine's file permissions. A file's DACL can be written by
// its owner, or by an administrator when the Administrators own it; taking
// ownership needs the take-ownership privilege.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_security.h"
#include "platform/sim/sim_caller.h"
#include "platform/sim/sim_files.h"

namespace lx {

class SimFileSecurity : public IFileSecurity {
 public:
  SimFileSecurity(SimCaller& caller, SimFileSystem& files) : caller_(caller), files_(files) {}

  bool SetDacl(const std::u16string& path, const std::vector<AccessAllowed>& entries) override;
  bool SetOwner(const std::u16string& path, const std::u16string& ownerSid) override;

  // Test set-up and inspection. A file never seen here is owned by the caller.
  void SetFileOwner(const std::u16string& path, const std::u16string& sid);
  std::u16string OwnerOf(const std::u16string& path) const;
  // The explicit DACL last written, nothing while the file keeps its inherited one.
  std::optional<std::vector<AccessAllowed>> DaclOf(const std::u16string& path) const;
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
  };
  bool Fail(uint32_t error) {
    caller_.SetError(error);
    return false;
  }

  SimCaller& caller_;
  SimFileSystem& files_;
  std::map<std::u16string, State> states_;  // by normalized path
};

}  // namespace lx
