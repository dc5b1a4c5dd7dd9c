// The English texts of the message table, the state before any language file.
#include "core/messages.h"

namespace pellmar {
namespace {

// Msg1 .. Msg30 in order; the empty ones are slots a language file may fill.
// The added messages follow.
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
    "Please select a project in the list first.",
    "Nothing was copied or deleted.",
    "No folder on the removable disk is set for this project; choose one with Select.",
    "The removable folder \"%1\" occurs in the path of the project folder %2, so its files "
    "would count as files on the removable disk.",
    "The project folder and its folder on the removable disk are the same folder: %1",
    "The project folder %1 and its folder on the removable disk %2 lie one inside the other.",
    "The project folder %1 and its folder on the removable disk %2 are the same folder, reached "
    "through a link or a mount.",
    "The project folder %1 and its folder on the removable disk %2 lie one inside the other, "
    "reached through a link or a mount.",
    "The folder %1 leads, through a link or a mount, to a place that is not on the removable "
    "disk.",
    "The removable disk of %1 cannot be reached: %2",
    "The removable disk is no longer there. %1 files were copied before it went; the rest were "
    "not touched.",
    "These entries were left alone, so they are not in step:",
    "... and %1 more.",
    "The settings could not be saved to %1:\r\n%2\r\nThe file keeps its previous content.",
    "This folder cannot be used, because its path cannot be written with drive letters and "
    "backslashes (a name in it holds \\ or :):\r\n%1",
    "The folder\r\n%1\r\ndoes not exist. Do you want to create it?",
    "Replaced files moved to the trash: %1; they can be restored from there.",
    "The project folder %1 has no name that can be its folder on the removable disk. Choose "
    "the project folder itself, not a drive or a \".\" or \"..\" in it.",
    "The settings file holds more for %1 than a value can (%2 characters), so this project is "
    "not used until the value is corrected in the settings file.",
    "The settings file holds more than 30 projects; only the first 30 are shown and used. "
    "Before the settings are next saved, the whole file is kept as %1.",
    "The settings file was changed by another program since Pellmar read it. That version is "
    "kept as %1.",
    "%1 of %2 files, %3 of %4 MB",
    ", about %1 left",
    "%1 s",
    "%1 min",
    "%1 h %2 min",
    "Stop after the current file?",
    "Stopped after %1 files were copied; the rest were not touched.",
    "The disk is full. %1 files were copied; the rest were not touched.",
    "\"%1\" was removed from the list. Ctrl+Z brings it back.",
    "No program is set up to show the help. The help file is:\r\n%1",
    "The list holds at most 30 projects. Remove one to add another.",
    "Preview of Send: %1 files, %2 MB to copy, %3 MB free",
    "Preview of Load: %1 files, %2 MB to copy, %3 MB free",
    "Preview Send",
    "Preview Load",
    "copy     %1  (%2)",
    "replace  %1  (%2)",
    "delete   %1  (%2)",
    "Not everything fits: %1 MB more than is free.",
    "Nothing would be copied or deleted.",
    "Copy progress",
    "\"%1\" is back in the list.",
    "Looking for the files to copy...",
    "Writing the last data to the disk...",
    "%1 is the disk %2, not the disk %3 this project was last used with. Use it anyway?",
    "Pellmar cannot use %1: %2. Until it can, no disk is remembered and none is checked against "
    "its project; the file is left as it is.",
    "Ejecting %1...",
    "%1 can be pulled out now.",
    "%1 can be pulled out now. It was unmounted, but could not be powered off: %2",
    "%1 is still in use, so it was not ejected; nothing was forced. Close what uses it and try "
    "again.\r\n%2",
    "%1 was not ejected: %2",
    "The help page cannot be opened: it is not where Pellmar looks for it.\r\n%1",
    "There are no projects yet. Start pellmar without a command and add a project folder with "
    "Add to List.",
    "changed on both sides since %1; the older copy is in the trash",
    "changed on both sides since %1",
    "deleted on one side and changed on the other since %1",
    "%1 to send, %2 to load, %3 in conflict",
    "Counting what Send and Load would copy...",
    "Not counted: %1",
};

}  // namespace

MessageTable::MessageTable() { FillDefaults(); }

void MessageTable::FillDefaults() {
  for (int i = 0; i < kCount; ++i) texts_[i] = kDefaultTexts[i];
}

std::string FillIn(const std::string& message, std::initializer_list<std::string> values) {
  std::string out;
  out.reserve(message.size());
  for (size_t i = 0; i < message.size(); ++i) {
    const char next = i + 1 < message.size() ? message[i + 1] : '\0';
    const size_t index = static_cast<size_t>(next - '1');
    if (message[i] == '%' && next >= '1' && next <= '9' && index < values.size()) {
      out += values.begin()[index];
      ++i;
    } else {
      out += message[i];
    }
  }
  return out;
}

}  // namespace pellmar
