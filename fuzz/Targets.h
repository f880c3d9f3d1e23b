#pragma once

#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

// The bodies of the fuzz targets. Each runs one input through a reader and checks what must hold
// whatever the bytes; the libFuzzer entry (Entry.cpp) and the regression test (tests/fuzz) call
// the same bodies, so every input kept under fuzz/regressions/<target>/ is run by the normal tests.
namespace pg {
class HistoryDialog;
}

namespace pg::fuzz {

// A body's folder for the files it writes, ending with the platform's separator; the body may
// fill and empty it as it likes, and nothing else uses it.
using Body = void (*)(std::string_view input, const std::string& folder);

struct Target {
  const char* name;  // the target's folder under fuzz/seeds and fuzz/regressions
  Body body;
};

// Every target, in the order scripts/fuzz runs them.
std::span<const Target> Targets();
const Target* FindTarget(std::string_view name, std::span<const Target> among = Targets());
// The targets over the windows' drawing (HistoryChartTarget.cpp): built with Qt only, where the
// library pg_fuzz_window_targets defines PG_FUZZ_WINDOWS.
std::span<const Target> WindowTargets();

// What a body throws when a property it checks does not hold.
class Finding : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void Require(bool holds, const std::string& what);

// Runs body on input: empty when everything held, otherwise what failed. An exception that
// escapes the program's own operations counts as a failure too, since none may.
std::string RunTarget(const Target& target, std::string_view input, const std::string& folder);

void SessionBody(std::string_view input, const std::string& folder);
void MembersBody(std::string_view input, const std::string& folder);
void ParametersBody(std::string_view input, const std::string& folder);
void HandRecordsBody(std::string_view input, const std::string& folder);
void CatalogueBody(std::string_view input, const std::string& folder);
void DatesBody(std::string_view input, const std::string& folder);
void NumbersBody(std::string_view input, const std::string& folder);
void HistoryBody(std::string_view input, const std::string& folder);
void HistoryChartBody(std::string_view input, const std::string& folder);

// Opens the History window on a club of two members whose History.csv holds input, checks that it
// opened after at most one message with both members, and hands it to check.
void OnHistoryWindow(std::string_view input, const std::string& folder,
                     const std::function<void(HistoryDialog&)>& check);

// Writes bytes to path whole, replacing what was there.
void WriteInput(const std::string& path, std::string_view bytes);

}  // namespace pg::fuzz
