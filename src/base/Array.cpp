#include "base/Array.h"

namespace pg {

short CheckedShort(long value) {
  if (value < -32768 || value > 32767) Raise(err::kOverflow);
  return static_cast<short>(value);
}

short MulShort(long a, long b) {
  return CheckedShort(a * b);
}

short AddShort(long a, long b) {
  return CheckedShort(a + b);
}

}  // namespace pg
