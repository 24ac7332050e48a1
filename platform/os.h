// The seam to the operating system. Logic receives an Os and calls Windows
// services only through it; platform/win32 passes through to the real calls,
// platform/sim is a simulated Windows machine for host tests.
#pragma once

namespace lx {

class ISystem;
class IProfile;
class IDebugOutput;
class ISync;
class IShell;
class IFileSystem;
class IResources;
class IClock;
class IRegistry;
class ISpooler;
class IDeviceSetup;
class IDeviceIo;
class IServices;
class ILibraries;
class ISockets;
class IFileSecurity;

// Services that a subsystem does not use may be left null in its tests.
struct Os {
  ISystem* system = nullptr;
  IProfile* profile = nullptr;
  IDebugOutput* debug = nullptr;
  ISync* sync = nullptr;
  IShell* shell = nullptr;
  IFileSystem* files = nullptr;
  IResources* resources = nullptr;
  IClock* clock = nullptr;
  IRegistry* registry = nullptr;
  ISpooler* spooler = nullptr;
  IDeviceSetup* devices = nullptr;
  IDeviceIo* deviceIo = nullptr;
  IServices* services = nullptr;
  ILibraries* libraries = nullptr;
  ISockets* sockets = nullptr;
  IFileSecurity* fileSecurity = nullptr;
};

}  // namespace lx
