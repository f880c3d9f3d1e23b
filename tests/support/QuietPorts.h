#pragma once

#include <string>

#include "base/Ports.h"

namespace pg::test {

// Ports for benchmarks and fuzzing, where nobody is there to answer: the dialogs of
// AnsweringDialogs (base/Ports.h), whose count of messages tells a benchmark that its work went
// wrong; windows not shown, settings keep their defaults (NoWindows and DefaultSettings, beside
// it), and today is a fixed date.
using pg::DefaultSettings;
using pg::NoWindows;

class FixedDateClock : public Clock {
 public:
  Date Today() override { return MakeDate(2026, 12, 8); }
  LocalTime Now() override { return {Today(), 12 * 60}; }
};

// Nobody else works on the club's files.
class FreeLocks : public ClubLocks {
 public:
  Attempt Lock(const std::string&, const std::string&) override { return {Outcome::Taken, {}, {}}; }
  Attempt TakeOver(const std::string&, const std::string&) override {
    return {Outcome::Taken, {}, {}};
  }
  void Unlock(const std::string&) override {}
};

struct QuietPorts {
  AnsweringDialogs dialogs;
  NoWindows windows;
  DefaultSettings settings;
  FixedDateClock clock;
  FreeLocks locks;
  Ports ports() { return Ports{dialogs, windows, settings, clock, locks}; }
};

}  // namespace pg::test
