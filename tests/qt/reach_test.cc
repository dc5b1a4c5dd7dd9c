// The window as screen readers, Japanese users and the desktop meet it:
// names, values and plain hints through Qt's accessibility, the program's
// icon, Qt's own texts in Japanese, and a picker side bar wide enough for
// the names of its places.
#include <QAccessible>
#include <QFileDialog>
#include <QListView>
#include <QPushButton>
#include <QSplitter>

#include "qt_fixture.h"
#include "ui/qt/memo_widget.h"
#include "ui/qt/qt_dialogs.h"
#include "ui/qt/qt_translation.h"

namespace pellmar {
namespace {

class ReachTest : public SkinTest {
 protected:
  void SetUp() override {
    WriteProjects({"alpha"});
    Start();
  }
  QAccessibleInterface* Accessible(const std::string& control) {
    return QAccessible::queryAccessibleInterface(skin_->WidgetFor(control));
  }
};

TEST_F(ReachTest, ScreenReadersHearNamesValuesAndPlainHints) {
  const struct {
    const char *control, *name;
  } cases[] = {
      {"edMediaDir", "Folder name in removable disk which hold the selected project"},
      {"ListBox2", "Project Name"},
      {"ListBox1", "Directory"},
      {"SpinEdit", "Operate on files modified in recent days"},
      {"edExclude", "Exclusion"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Accessible(c.control)->text(QAccessible::Name).toStdString(), c.name) << c.control;
  }
  QAccessibleValueInterface* days = Accessible("SpinEdit")->valueInterface();
  ASSERT_NE(days, nullptr);
  EXPECT_EQ(days->currentValue().toInt(), window().SpinEdit.value());
  EXPECT_EQ(days->minimumValue().toInt(), 1);
  EXPECT_EQ(days->maximumValue().toInt(), 365);
  days->setCurrentValue(900);  // as an assistive tool sets it: kept in range
  EXPECT_EQ(window().SpinEdit.value(), 365);

  EXPECT_EQ(Accessible("btnLoad")->text(QAccessible::Description).toStdString(),
            "Load from a removable disk");
  QAccessibleInterface* main_window = QAccessible::queryAccessibleInterface(skin_.get());
  EXPECT_EQ(main_window->role(), QAccessible::Window);
  EXPECT_EQ(main_window->text(QAccessible::Name).toStdString(), window().caption());
  EXPECT_FALSE(skin_->windowIcon().pixmap(32).isNull()) << "the built-in icon did not load";

  log_->SetTitle("The following 2 files have been copyed.");
  EXPECT_EQ(log_window_->memo()->accessibleName(), "The following 2 files have been copyed.");
}

TEST(QtTranslationTest, JapaneseFileOrSystemBringsQtsJapaneseTexts) {
  const WithApplication application;
  EXPECT_EQ(QtTextLocale(128, QLocale::c()).language(), QLocale::Japanese);
  EXPECT_EQ(QtTextLocale(1, QLocale(QLocale::Japanese)).language(), QLocale::Japanese);
  EXPECT_EQ(QtTextLocale(1, QLocale(QLocale::German)).language(), QLocale::C);
  EXPECT_EQ(InstallQtTranslation(QLocale::c()), nullptr);
  {
    const auto japanese = InstallQtTranslation(QtTextLocale(128, QLocale::c()));
    ASSERT_NE(japanese, nullptr) << "qtbase_ja.qm is missing (qt6-translations-l10n)";
    EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Yes");
  }
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Yes") << "removed again";
}

TEST(FolderPickerTest, SideBarShowsThePlaceNamesWhole) {
  const WithApplication application;
  TestNamespace world;
  MakeFolder(world.documents());  // "Documents" is what a narrow side bar cuts
  QtDialogs dialogs(world.platform());
  int side_bar_width = 0, names_width = 1;
  const ModalAnswer answer("QFileDialog", [&](QWidget* modal) {
    auto* side_bar = modal->findChild<QListView*>("sidebar");
    side_bar_width = modal->findChild<QSplitter*>("splitter")->sizes().value(0);
    names_width = side_bar->sizeHintForColumn(0);
    qobject_cast<QFileDialog*>(modal)->reject();
  });
  dialogs.PickFolder({"Choose", "E:\\"});
  EXPECT_GE(side_bar_width, names_width);
}

}  // namespace
}  // namespace pellmar
