// The Qt boxes and the folder picker: plain text, the right answers,
// namespace paths in and out, a side bar wide enough for the names of its
// places, and Qt's own texts in Japanese.
#include "ui/qt/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "qt_fixture.h"
#include "support/test_namespace.h"
#include "ui/qt/qt_translation.h"

namespace pellmar {
namespace {

void Press(QWidget* modal, QMessageBox::StandardButton which) {
  auto* box = qobject_cast<QMessageBox*>(modal);
  ASSERT_NE(box, nullptr);
  QTest::mouseClick(box->button(which), Qt::LeftButton);
}

class QtDialogsTest : public ::testing::Test {
 protected:
  WithApplication application;
  TestNamespace world;
  QtDialogs dialogs{world.platform()};
};

TEST_F(QtDialogsTest, MessageIsPlainTextInABoxTitledPellmar) {
  QString title, text;
  Qt::TextFormat format = Qt::AutoText;
  const ModalAnswer answer([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    title = box->windowTitle();
    text = box->text();
    format = box->textFormat();
    Press(modal, QMessageBox::Ok);
  });
  dialogs.ShowMessage("<b>Welcome</b>\r\nsecond line");
  EXPECT_EQ(title, "Pellmar");
  EXPECT_EQ(text, "<b>Welcome</b>\nsecond line");
  EXPECT_EQ(format, Qt::PlainText);
}

TEST_F(QtDialogsTest, ConfirmIsTrueOnlyForYes) {
  const struct {
    const char* name;
    std::function<void(QWidget*)> answer;
    bool expected;
  } cases[] = {
      {"Yes", [](QWidget* m) { Press(m, QMessageBox::Yes); }, true},
      {"No", [](QWidget* m) { Press(m, QMessageBox::No); }, false},
      {"Escape", [](QWidget* m) { QTest::keyClick(m, Qt::Key_Escape); }, false},
  };
  for (const auto& c : cases) {
    const ModalAnswer answer(c.answer);
    EXPECT_EQ(dialogs.Confirm("Do you make it?"), c.expected) << c.name;
  }
}

TEST_F(QtDialogsTest, PickerStartsAtTheHostFolderAndAnswersInTheNamespace) {
  MakeFolder(world.drive('E') + "/backup");
  QString opened_at;
  const ModalAnswer answer([&](QWidget* modal) {
    auto* picker = qobject_cast<QFileDialog*>(modal);
    opened_at = picker->directory().absolutePath();
    QMetaObject::invokeMethod(picker, "accept");
  });
  const auto picked = dialogs.PickFolder({"Choose", world.Ns(world.drive('E') + "/backup")});
  EXPECT_EQ(opened_at.toStdString(), world.drive('E') + "/backup");
  EXPECT_EQ(picked, std::optional<std::string>("E:\\backup"));
}

TEST_F(QtDialogsTest, CancelledPickerGivesNothing) {
  const ModalAnswer answer([](QWidget* modal) { qobject_cast<QFileDialog*>(modal)->reject(); });
  EXPECT_EQ(dialogs.PickFolder({"Choose", "E:\\"}), std::nullopt);
}

TEST_F(QtDialogsTest, NewFolderIsTakenAfterYesAndLeftForTheCallerToMake) {
  const struct {
    const char* name;
    QMessageBox::StandardButton answer;
    std::optional<std::string> expected;
  } cases[] = {{"Yes", QMessageBox::Yes, "E:\\fresh"}, {"No", QMessageBox::No, std::nullopt}};
  for (const auto& c : cases) {
    bool choose_enabled = false;
    QPointer<QWidget> picker;
    const ModalAnswer type_new_name("QFileDialog", [&](QWidget* modal) {
      picker = modal;
      // As the user does it: type the new name, then press the OK button.
      QTest::keyClicks(modal->findChild<QLineEdit*>("fileNameEdit"), "fresh");
      QPushButton* choose = modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open);
      choose_enabled = choose->isEnabled();
      QTest::mouseClick(choose, Qt::LeftButton);
    });
    QString question;
    const ModalAnswer answer_question("QMessageBox", [&](QWidget* box) {
      question = qobject_cast<QMessageBox*>(box)->text();
      Press(box, c.answer);
      // After No the picker is still open, and the user cancels it.
      if (c.answer == QMessageBox::No) {
        // The picker itself, not whatever modal is on top when the timer
        // fires: that may be none yet on a busy machine.
        QTimer::singleShot(0, [&picker] {
          if (picker) QMetaObject::invokeMethod(picker, "reject");
        });
      }
    });
    FolderPickerRequest request{"Choose", "E:\\", /*allow_new_folder=*/true};
    EXPECT_EQ(dialogs.PickFolder(request), c.expected) << c.name;
    EXPECT_TRUE(choose_enabled) << c.name;
    EXPECT_TRUE(question.contains("fresh")) << c.name;
    EXPECT_FALSE(std::filesystem::exists(world.drive('E') + "/fresh")) << c.name;
  }
}

TEST_F(QtDialogsTest, FolderWithoutANamespaceSpellingIsRefusedWithAMessage) {
  MakeFolder(world.drive('E') + "/a:b");
  const ModalAnswer choose("QFileDialog", [this](QWidget* modal) {
    auto* picker = qobject_cast<QFileDialog*>(modal);
    picker->setDirectory(QString::fromStdString(world.drive('E') + "/a:b"));
    QMetaObject::invokeMethod(picker, "accept");
  });
  QString message;
  const ModalAnswer read_message("QMessageBox", [&](QWidget* box) {
    message = qobject_cast<QMessageBox*>(box)->text();
    Press(box, QMessageBox::Ok);
  });
  EXPECT_EQ(dialogs.PickFolder({"Choose", "E:\\"}), std::nullopt);
  EXPECT_TRUE(message.contains("a:b"));
}

TEST_F(QtDialogsTest, PickerSideBarShowsThePlaceNamesWhole) {
  MakeFolder(world.documents());  // "Documents" is what a narrow side bar cuts
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

}  // namespace
}  // namespace pellmar
