// The message table: the thirty texts every prompt and report comes from.
#ifndef PELLMAR_CORE_MESSAGES_H_
#define PELLMAR_CORE_MESSAGES_H_

#include <array>
#include <string>
#include <utility>

namespace pellmar {

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
