// The message table: the thirty texts every prompt and report comes from,
// and after them the texts of the checks added since (Msg31 on).
#ifndef PELLMAR_CORE_MESSAGES_H_
#define PELLMAR_CORE_MESSAGES_H_

#include <array>
#include <initializer_list>
#include <string>
#include <utility>

namespace pellmar {

/// The messages the program shows by their key number ("Msg17" is
/// kNoNewFiles); the others are there for a language file to fill. From
/// Msg31 on, "%1" and "%2" mark where a folder, a count or a reason goes.
enum MessageId : int {
  kWelcome = 2,                 // first start, empty list
  kInsertDisk = 4,              // drive unknown or not ready
  kFormatDisk = 5,              // unformatted medium
  kCreateItQuestion = 6,        // ends the missing-folder question
  kNoFolderNamed = 7,           // starts it
  kClosingQuote = 8,            // after the folder in it
  kFollowing = 10,              // log title, before the count
  kFilesCopied = 11,            // log title, after the count
  kNothingNewerToLoad = 13,     // Load copied nothing
  kCopyFailed = 14,             // a copy failed
  kInsertRightDisk = 15,        // after the question was declined
  kSelectProjectFolder = 16,    // the Add picker's title
  kNoNewFiles = 17,             // Send copied nothing
  kCannotCreate = 18,           // a folder could not be made
  kDeleteBefore = 23,           // auto-delete caption, before the days
  kDaysBeforeFrom = 24,         // auto-delete caption, after the days
  kAvailableSize = 25,          // the free-space text
  kSelectProjectFirst = 31,     // Send or Load with no entry selected
  kNothingTouched = 32,         // ends every refusal of a run
  kNoRemovableFolder = 33,      // the removable folder field is empty
  kRemovableFolderInPath = 34,  // %1 removable folder, %2 project folder
  kSameFolder = 35,             // %1 the folder
  kNestedFolders = 36,          // %1 project folder, %2 removable one
  kSameFolderByLink = 37,       // %1 project folder, %2 removable one
  kNestedFoldersByLink = 38,    // %1 project folder, %2 removable one
  kLeadsOffTheDisk = 39,        // %1 the removable project folder
  kDiskUnreachable = 40,        // %1 removable folder, %2 the reason
  kMediumGone = 41,             // %1 copies made before it went
  kSkippedEntries = 42,         // heads the list of what a run left out
  kMoreSkipped = 43,            // %1 entries beyond the listed ones
  kSettingsNotSaved = 44,       // %1 settings file, %2 the reason
  kPathNotWritable = 45,        // %1 the host folder picked
  kCreatePickedFolder = 46,     // %1 the host folder typed in the picker
  kKeptInTrash = 47,            // %1 replaced files kept in the trash
  kProjectNameUnusable = 48,    // %1 the project folder
  kValueCut = 49,               // %1 the key, %2 its whole length in the file
  kEntriesBeyondLimit = 50,     // %1 the backup that keeps them
  // %1 the backup that keeps the other version
  kSettingsChangedMeanwhile = 51,
  kProgressCounts = 52,      // %1 files done, %2 in all, %3 MB done, %4 in all
  kTimeLeft = 53,            // %1 the time, after the counts
  kSeconds = 54,             // %1 seconds
  kMinutes = 55,             // %1 minutes
  kHoursMinutes = 56,        // %1 hours, %2 minutes
  kStopQuestion = 57,        // Escape or close during a run
  kRunStopped = 58,          // %1 copies made before the stop
  kDiskFull = 59,            // %1 copies made before the disk filled up
  kProjectRemoved = 60,      // %1 the project name
  kNoHelpViewer = 61,        // %1 the help file
  kListFull = 62,            // why Add to List is greyed
  kPreviewSendTitle = 63,    // %1 files, %2 MB to copy, %3 MB free
  kPreviewLoadTitle = 64,    // the same for Load
  kPreviewSendMenu = 65,     // the project list's menu
  kPreviewLoadMenu = 66,     // the project list's menu
  kWouldCopy = 67,           // a preview line: %1 the file, %2 its size
  kWouldReplace = 68,        // the same for a copy over an older version
  kWouldDelete = 69,         // the same for a deletion
  kPlanDoesNotFit = 70,      // %1 MB more than is free
  kNothingWouldChange = 71,  // a preview with nothing to do
  kProgressName = 72,        // what a screen reader calls the progress bar
  kProjectRestored = 73,     // %1 the project name, after Ctrl+Z
  kPlanning = 74,            // while a run's plan walks the two trees
  kFlushingMedium = 75,      // while the end of a run writes out the disk's cache
  // %1 the drive, %2 the medium in it, %3 the one the project was last used with
  kOtherMedium = 76,
  kMediumMemoryUnusable = 77,    // %1 the memory file, %2 what is wrong with it
  kEjecting = 78,                // %1 the drive, while Ctrl+E or --eject ejects it
  kCanBePulledOut = 79,          // %1 the drive, once it is ejected
  kPulledOutNotPoweredOff = 80,  // %1 the drive, %2 why it is not powered off
  kMediumInUse = 81,             // %1 the drive, %2 what holds it, where known
  kEjectFailed = 82,             // %1 the drive, %2 the reason
  kHelpFileMissing = 83,         // %1 the help file the program looked for
  kNoProjectsYet = 84,           // `pellmar list` on a terminal, with no projects
  // On the log line of a file copied over another copy changed since the
  // day %1, its older copy in the trash; when the trash could not take it,
  // and in a preview.
  kChangedOnBothSides = 85,
  kChangedOnBothSidesNotTrashed = 86,
  kDeletedAndChanged = 87,  // %1 the day: copied where its copy was deleted
  kSelectionCount = 88,     // %1 files to send, %2 to load, %3 in conflict: the selected project
  kCountingRuns = 89,       // while that count is made
  kNotCounted = 90,         // %1 why the selected project cannot be counted
};

class MessageTable {
 public:
  /// All messages, the added ones included.
  static constexpr int kCount = 90;
  /// Msg1 to Msg30: a language file replaces these whether it has them or
  /// not; an added message it leaves out keeps its English text.
  static constexpr int kClassicCount = 30;
  /// Every message holds its English default.
  MessageTable();
  void FillDefaults();
  /// Message n, 1 to kCount.
  const std::string& Msg(int n) const { return texts_.at(n - 1); }
  void Set(int n, std::string text) { texts_.at(n - 1) = std::move(text); }

 private:
  std::array<std::string, kCount> texts_;
};

/// `message` with "%1" .. "%9" replaced by the values in order, in one pass:
/// a value is never searched again, so a folder name holding "%2" stays as
/// it is. A marker without a value, and any other "%", is kept as written.
std::string FillIn(const std::string& message, std::initializer_list<std::string> values);

}  // namespace pellmar

#endif  // PELLMAR_CORE_MESSAGES_H_
