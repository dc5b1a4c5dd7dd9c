// The English texts of the message table, the state before any language file.
#include "core/messages.h"

namespace pellmar {
namespace {

// Msg1 .. Msg30 in order; the empty ones are slots a language file may fill.
constexpr const char* kDefaultTexts[MessageTable::kCount] = {
    "Unfortunately, this software cannot be used in WindowsNT",
    "Welcome to Pellmar!\r\nPlease select the directory you want to synchronize.",
    "Please select the mount folder of the removable disk.",
    "Please insert the disk. After insertion, click [OK].",
    "After formatting the disk, restart this software.",
    "Do you make it?",
    "This disk does not have folder named \"",
    "\"",
    "*.zip file does not exists.",
    "The following ",
    " files have been copyed.",
    "There is no file older than object files in harddisk.",
    "There is no file newer than object files in harddisk.",
    "Available capacity in the disk is not enough.",
    "Please insert the right dist and click on the directory name to be synchronized again.",
    "Please select the directory you want to synchronize.",
    "No new files",
    "Specified directory cannot be created.",
    " does not exists. Create it?",
    "Eject of the removable disk can be done atfer this software is terminated (unmounted)",
    "",
    "Failed to mount the removable disk.",
    "Delete files created or edited prior to ",
    " days before from ",
    "Available disk size:",
    "Please check mount command.",
    "",
    "",
    "",
    "",
};

}  // namespace

MessageTable::MessageTable() { FillDefaults(); }

void MessageTable::FillDefaults() {
  for (int i = 0; i < kCount; ++i) texts_[i] = kDefaultTexts[i];
}

}  // namespace pellmar
