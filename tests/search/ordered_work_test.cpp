// Items produced on several threads reach the consumer strictly in order, whatever their timing,
// and a failure surfaces at the failing item's turn.
#include "search/ordered_work.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace orv {
namespace {

struct Item {
  long long index = -1;
  long long square = 0;
  int worker = -1;
};

TEST(ProduceInOrder, ConsumesEveryItemInOrderForEveryThreadCountAndWindow) {
  for (const int threads : {1, 2, 3, 5}) {
    for (const long long window : {1LL, 3LL, 64LL}) {
      std::vector<long long> order;
      std::atomic<int> busiestWorker{0};
      ProduceInOrder<Item>(
          threads, 200, window,
          [&](long long index, int worker, Item& item) {
            // Uneven work, so that later items are often ready first.
            if (index % 7 == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
            item = {index, index * index, worker};
            if (worker > busiestWorker) busiestWorker = worker;
          },
          [&](long long index, Item& item) {
            EXPECT_EQ(item.index, index);
            EXPECT_EQ(item.square, index * index);
            EXPECT_GE(item.worker, 0);
            EXPECT_LT(item.worker, threads);
            order.push_back(index);
          });
      ASSERT_EQ(order.size(), 200u) << threads << " " << window;
      for (long long i = 0; i < 200; ++i) ASSERT_EQ(order[static_cast<std::size_t>(i)], i);
    }
  }
}

TEST(ProduceInOrder, FailuresSurfaceInOrderAndStopTheWorkers) {
  for (const int threads : {1, 3}) {
    std::vector<long long> consumed;
    EXPECT_THROW(ProduceInOrder<Item>(
                     threads, 100, 8,
                     [](long long index, int, Item& item) {
                       if (index == 40) throw std::runtime_error("produce");
                       item.index = index;
                     },
                     [&](long long index, Item&) { consumed.push_back(index); }),
                 std::runtime_error);
    ASSERT_EQ(consumed.size(), 40u) << threads;  // everything before the failing item
    EXPECT_THROW(ProduceInOrder<Item>(
                     threads, 100, 8, [](long long index, int, Item& item) { item.index = index; },
                     [](long long index, Item&) {
                       if (index == 10) throw std::runtime_error("consume");
                     }),
                 std::runtime_error);
  }
}

}  // namespace
}  // namespace orv
