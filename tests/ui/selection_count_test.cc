// The count the status bar shows for the selected project, made on a thread
// of its own: it shows once it is made, and a count another selection or a
// run has made stale never shows, even when it was already on its way, nor
// stays once its project is no longer selected.
#include <chrono>
#include <thread>

#include "support/window_fixture.h"

namespace pellmar {
namespace {

class SelectionCountTest : public WindowTest {
 protected:
  SelectionCountTest() {
    make_platform_ = [this] { return ns_.NewPlatform(); };
  }
  // Runs what the count posted until `done` holds, within reason.
  void RunPostedUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 20000 && !done(); ++i) {
      if (host_.RunPosted() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
};

TEST_F(SelectionCountTest, ShowsTheSelectedProjectsCountAndNeverAStaleOne) {
  WriteText(Documents("Two/a.c"), "a");
  WriteText(Documents("Two/b.c"), "b");
  WriteText(Documents("One/a.c"), "a");
  // A third entry, whose removable folder is missing: its selection is refused.
  WriteProjects({"Two", "One"},
                "SyncItem3=" + Ns(Documents("Two")) + "\nPath in mobile disk3=E:\\Missing\n");
  const struct {
    const char* between;  // what comes after the first count was posted
    std::function<void(TMain&)> act;
    const char* shown;
  } cases[] = {
      {"another selection", [](TMain& w) { w.ListBox1.UserSelect(1); },
       "1 to send, 0 to load, 0 in conflict"},
      {"a preview", [](TMain& w) { w.PreviewSend(); }, ""},
  };
  for (const auto& c : cases) {
    TMain& w = StartWindow();
    std::vector<std::string> shown;
    w.StatusBar1.on_update = [&] { shown.push_back(w.StatusBar1.panel_text(1)); };
    w.ListBox1.UserSelect(0);
    EXPECT_EQ(w.StatusBar1.panel_text(1), "Counting what Send and Load would copy...");
    RunPostedUntil([&] { return host_.posted() > 0; });
    c.act(w);
    RunPostedUntil([&] { return w.StatusBar1.panel_text(1) == c.shown; });
    host_.RunPosted();
    EXPECT_EQ(w.StatusBar1.panel_text(1), c.shown) << c.between;
    EXPECT_THAT(shown, ::testing::Not(::testing::Contains("2 to send, 0 to load, 0 in conflict")))
        << c.between;
  }
  // Unhindered, the first project's count shows.
  TMain& w = StartWindow();
  w.ListBox1.UserSelect(0);
  RunPostedUntil([&] { return w.StatusBar1.panel_text(1).find("to send") != std::string::npos; });
  EXPECT_EQ(w.StatusBar1.panel_text(1), "2 to send, 0 to load, 0 in conflict");
  // Shown, it goes with its project.
  w.ListBox1.UserSelect(2);
  EXPECT_EQ(w.ListBox1.item_index(), -1);
  EXPECT_EQ(w.StatusBar1.panel_text(1), "");
}

}  // namespace
}  // namespace pellmar
