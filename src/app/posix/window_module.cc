// The window lives in a module of its own beside the program, loaded only
// when the window is wanted: the command line never pays for loading the
// window toolkit, neither in start-up time nor in memory.
#include <dlfcn.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "app/exit_codes.h"
#include "app/gui.h"
#include "platform/posix/host_files.h"

namespace pellmar {
namespace {

constexpr char kModuleName[] = "pellmar-window.so";

std::string ProgramFolder() {
  const std::string path = OwnExecutable();
  return path.empty() ? "." : path.substr(0, path.rfind('/'));
}

}  // namespace

bool CanShowWindow() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

int RunWindow(int argc, char** argv, Platform& platform) {
  const std::string module = ProgramFolder() + "/" + kModuleName;
  // Never closed: the toolkit's own clean-up runs at exit.
  void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    std::cerr << "pellmar: the window could not be loaded: " << dlerror() << "\n";
    return kExitIncomplete;
  }
  auto* run = reinterpret_cast<WindowEntry>(dlsym(handle, kWindowEntryName));
  if (run == nullptr) {
    std::cerr << "pellmar: " << module << " is not Pellmar's window module\n";
    return kExitIncomplete;
  }
  return run(argc, argv, &platform);
}

}  // namespace pellmar
