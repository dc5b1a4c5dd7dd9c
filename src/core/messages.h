// The message table: the thirty texts every prompt and report comes from.
#ifndef PELLMAR_CORE_MESSAGES_H_
#define PELLMAR_CORE_MESSAGES_H_

#include <array>
#include <string>
#include <utility>

namespace pellmar {

/// The messages the program shows by their key number ("Msg17" is
/// kNoNewFiles); the others are there for a language file to fill.
enum MessageId : int {
  kWelcome = 2,               // first start, empty list
  kInsertDisk = 4,            // drive unknown or not ready
  kFormatDisk = 5,            // unformatted medium
  kCreateItQuestion = 6,      // ends the missing-folder question
  kNoFolderNamed = 7,         // starts it
  kClosingQuote = 8,          // after the folder in it
  kFollowing = 10,            // log title, before the count
  kFilesCopied = 11,          // log title, after the count
  kNothingNewerToLoad = 13,   // Load copied nothing
  kCopyFailed = 14,           // a copy failed
  kInsertRightDisk = 15,      // after the question was declined
  kSelectProjectFolder = 16,  // the Add picker's title
  kNoNewFiles = 17,           // Send copied nothing
  kCannotCreate = 18,         // a folder could not be made
  kDeleteBefore = 23,         // auto-delete caption, before the days
  kDaysBeforeFrom = 24,       // auto-delete caption, after the days
  kAvailableSize = 25,        // the free-space text
};

class MessageTable {
 public:
  static constexpr int kCount = 30;
  /// Every message holds its English default.
  MessageTable();
  void FillDefaults();
  /// Message n, 1 to 30.
  const std::string& Msg(int n) const { return texts_.at(n - 1); }
  void Set(int n, std::string text) { texts_.at(n - 1) = std::move(text); }

 private:
  std::array<std::string, kCount> texts_;
};

}  // namespace pellmar

#endif  // PELLMAR_CORE_MESSAGES_H_
