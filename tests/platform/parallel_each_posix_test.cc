// Sharing a batch between threads, on cores or while waiting: every item is
// worked exactly once and is done when the call returns, batch after batch,
// with a second caller at the same time.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/posix/parallel_each.h"

namespace pellmar {
namespace {

// Works 1,000 batches of each size and checks every item once; a helper that
// joined a batch already closed would work an item twice or miss one.
void WorkBatches(std::vector<int>* errors) {
  for (auto* each : {&ParallelEach, &ParallelWaits}) {
    for (size_t count : {0, 1, 3, 4, 23, 24, 25, 257, 4096}) {
      for (int round = 0; round < 1000; ++round) {
        std::vector<std::atomic<int>> calls(count);
        each(count, [&](size_t i) { calls[i].fetch_add(1); });
        for (size_t i = 0; i < count; ++i) {
          if (calls[i].load() != 1) errors->push_back(static_cast<int>(count));
        }
      }
    }
  }
}

TEST(ParallelEachTest, EveryItemOnceAndDoneOnReturnAlsoWithTwoCallers) {
  std::vector<int> first_errors, second_errors;
  std::thread second([&] { WorkBatches(&second_errors); });
  WorkBatches(&first_errors);
  second.join();
  EXPECT_TRUE(first_errors.empty()) << "first batch size with a fault: " << first_errors[0];
  EXPECT_TRUE(second_errors.empty()) << "first batch size with a fault: " << second_errors[0];
}

}  // namespace
}  // namespace pellmar
