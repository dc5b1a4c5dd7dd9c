// Ctrl+E as the window runs it: which drive it asks to eject, what the
// status bar says once the disk can be pulled out, and the box that says
// why it cannot.
#include <optional>
#include <string>

#include "core/messages.h"
#include "support/window_fixture.h"

namespace pellmar {
namespace {

class EjectTest : public WindowTest {};

TEST_F(EjectTest, AsksForTheDriveOfTheRemovableFolderAndSaysWhenItCanBePulledOut) {
  const struct {
    const char* name;
    bool select;
    std::optional<Status> answer;
    const char* not_powered_off;
    const char* box_says;     // "" for no box
    const char* status_says;  // the status bar afterwards
  } cases[] = {
      {"no project", false, Status::Ok(), "", "Please select a project in the list first.", ""},
      {"done", true, Status::Ok(), "", "", "E: can be pulled out now."},
      {"unmounted only", true, Status::Ok(), "not authorized", "",
       "E: can be pulled out now. It was unmounted, but could not be powered off: not "
       "authorized"},
      {"busy", true, Status::Error(kErrorDeviceInUse, "used by sleep (pid 7)"), "",
       "E: is still in use, so it was not ejected; nothing was forced. Close what uses it and "
       "try again.\r\nused by sleep (pid 7)",
       ""},
      {"not a mount point", true,
       Status::Error(kErrorNotSupported, "it is the folder /srv/e, not the mount point of a disk"),
       "", "E: was not ejected: it is the folder /srv/e, not the mount point of a disk", ""},
  };
  WriteProjects({"Alpha"});
  for (const auto& c : cases) {
    TMain& w = StartWindow();
    if (c.select) w.ListBox1.UserSelect(0);
    dialogs_.Clear();
    platform_.ejects.clear();
    platform_.eject_answer = c.answer;
    platform_.eject_not_powered_off = c.not_powered_off;
    w.EjectSelectedMedium();
    if (c.select) {
      EXPECT_THAT(platform_.ejects, ElementsAre("E:")) << c.name;
    } else {
      EXPECT_THAT(platform_.ejects, IsEmpty()) << c.name;
    }
    if (*c.box_says == '\0') {
      EXPECT_THAT(dialogs_.messages, IsEmpty()) << c.name;
    } else {
      EXPECT_THAT(dialogs_.messages, ElementsAre(c.box_says)) << c.name;
    }
    EXPECT_EQ(w.StatusBar1.panel_text(1), c.status_says) << c.name;
    EXPECT_EQ(w.last_eject().ok(), *c.box_says == '\0') << c.name;
  }
}

}  // namespace
}  // namespace pellmar
