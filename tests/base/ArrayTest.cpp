#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <functional>
#include <vector>

#include "base/Array.h"

namespace pg {
namespace {

bool Raises(const std::function<void()>& f) {
  try {
    f();
  } catch (const RunTimeError& e) {
    return e.number() == err::kSubscript;
  }
  return false;
}

// Every index inside the bounds reaches an element of its own, in the order the files store
// tables; every index outside any bound, however far, is refused.
TEST(Array, EachIndexInsideHasItsOwnElementAndEveryOtherIsRefused) {
  Array3<int> a;
  a.Dim({Bounds{1, 3}, Bounds{0, 2}, Bounds{-1, 1}});
  int next = 0;
  for (int i = 1; i <= 3; ++i)
    for (int j = 0; j <= 2; ++j)
      for (int k = -1; k <= 1; ++k)
        a(i, j, k) = next++;
  ASSERT_EQ(a.size(), 27u);
  next = 0;
  for (const int value : a.elements())
    EXPECT_EQ(value, next++);

  for (const auto& [i, j, k] : std::vector<std::array<int, 3>>{{0, 0, 0},
                                                               {4, 0, 0},
                                                               {1, -1, 0},
                                                               {1, 3, 0},
                                                               {1, 0, -2},
                                                               {1, 0, 2},
                                                               {INT_MIN, 0, 0},
                                                               {INT_MAX, 0, 0},
                                                               {1, 0, INT_MIN}}) {
    EXPECT_TRUE(Raises([&] { a(i, j, k); })) << i << "," << j << "," << k;
  }

  Array2<int> empty;
  EXPECT_TRUE(Raises([&] { empty(1, 1); }));
  empty.Dim({Bounds{1, 5}, Bounds{1, 0}});
  EXPECT_TRUE(empty.empty());
  EXPECT_TRUE(Raises([&] { empty(1, 1); }));
  empty.DimFrom1(2, 2);
  EXPECT_EQ(empty(2, 2), 0);
}

}  // namespace
}  // namespace pg
