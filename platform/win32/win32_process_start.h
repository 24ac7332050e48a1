// CreateProcessW behind the seam.
#pragma once

#include "platform/process_start.h"

namespace lx {

class Win32ProcessStart : public IProcessStart {
 public:
  bool Start(const std::u16string& application, const std::u16string& commandLine,
                     int show) override;
};

}  // namespace lx
