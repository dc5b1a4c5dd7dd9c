// Shell execution for the window: the desktop's "open" verb, through the
// platform, which starts programs with argument vectors and never a shell.
#ifndef PELLMAR_UI_PLATFORM_SHELL_H_
#define PELLMAR_UI_PLATFORM_SHELL_H_

#include "platform/platform.h"
#include "ui/dialogs.h"

namespace pellmar {

class PlatformShell : public Shell {
 public:
  explicit PlatformShell(Platform& platform) : platform_(platform) {}

  bool Execute(const std::string& verb, const std::string& file, const std::string& parameters,
               const std::string& directory, int show) override;

 private:
  Platform& platform_;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_PLATFORM_SHELL_H_
