#pragma once

#include <ostream>

namespace pg::test {

// Test listings name a data-driven case by its `name` rather than dumping its bytes. A test file
// brings it into its own namespace with `using test::PrintTo;`.
template <class Case>
requires requires(const Case& c) {
  c.name;
}
void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name;
}

}  // namespace pg::test
