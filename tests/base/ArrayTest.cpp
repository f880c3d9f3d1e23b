#include <gtest/gtest.h>

#include <climits>

#include "base/Array.h"

namespace pg {
namespace {

bool Refused(const Array3<int>& a, int i, int j, int k) {
  try {
    a(i, j, k);
  } catch (const RunTimeError& e) {
    return e.number() == err::kSubscript;
  }
  return false;
}

// Every index inside the bounds reaches an element of its own, in the order the files store
// tables; an index outside any bound, however far, is refused, as is any index of an empty table.
TEST(Array, EachIndexInsideHasItsOwnElementAndEveryOtherIsRefused) {
  Array3<int> a;
  EXPECT_TRUE(Refused(a, 1, 1, 1));
  a.Dim({Bounds{1, 3}, Bounds{0, 2}, Bounds{-1, 1}});
  int next = 0;
  for (int i = 1; i <= 3; ++i)
    for (int j = 0; j <= 2; ++j)
      for (int k = -1; k <= 1; ++k)
        a(i, j, k) = next++;
  next = 0;
  for (const int value : a.elements())
    EXPECT_EQ(value, next++);
  EXPECT_EQ(next, 27);
  const int outside[][3] = {{0, 0, 0},  {4, 0, 0}, {1, -1, 0},      {1, 3, 0},
                            {1, 0, -2}, {1, 0, 2}, {INT_MIN, 0, 0}, {INT_MAX, 0, 0}};
  for (const auto& [i, j, k] : outside)
    EXPECT_TRUE(Refused(a, i, j, k)) << i << "," << j << "," << k;
  a.Dim({Bounds{1, 5}, Bounds{1, 0}, Bounds{1, 5}});
  EXPECT_TRUE(a.empty());
  EXPECT_TRUE(Refused(a, 1, 1, 1));
}

}  // namespace
}  // namespace pg
