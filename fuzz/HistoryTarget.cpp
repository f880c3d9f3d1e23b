// The history file's reader and the History window on it: whatever the file holds, the window
// opens after at most one message, every update it read writes back as lines that read again as
// that update, rewriting the file keeps every update it held, and the chart's scale has no more
// grid lines than it is asked for.
#include "Targets.h"
#include "history/HistoryDialog.h"
#include "support/QuietPorts.h"

namespace pg::fuzz {
namespace {

std::vector<std::string> Texts(const std::vector<HistoryEntry>& updates) {
  std::vector<std::string> texts;
  texts.reserve(updates.size());
  for (const HistoryEntry& e : updates)
    texts.push_back(HistoryEntryText(e));
  return texts;
}

void CheckHistory(std::string_view input, HistoryDialog& window) {
  for (int row = 0; row < 2; ++row) {
    window.ChooseMember(row);
    Require(window.Printout().rows.size() == window.updates().rows.size(),
            "the printout is not the chosen member's updates");
    Require(window.chart().Scale(10).lines.size() <= 10,
            "the chart's scale has more grid lines than it was asked for");
  }

  for (const std::string& text : Texts(window.history().updates)) {
    HistoryDamage damage;
    const std::vector<HistoryEntry> again = ReadHistoryText(text, "again", damage);
    Require(!damage.Any(), "an update read writes lines that cannot be read: " + damage.Text());
    Require(again.size() == 1 && HistoryEntryText(again[0]) == text,
            "an update read does not write back as itself");
  }

  HistoryDamage before, after;
  const std::vector<HistoryEntry> read = ReadHistoryText(input, "input", before);
  const std::string rewritten = RewrittenHistory(input, std::nullopt, std::nullopt, nullptr);
  Require(Texts(ReadHistoryText(rewritten, "rewritten", after)) == Texts(read),
          "rewriting the file changed the updates it holds");
}

}  // namespace

void OnHistoryWindow(std::string_view input, const std::string& folder,
                     const std::function<void(HistoryDialog&)>& check) {
  test::QuietPorts ports;
  Context ctx(ports.ports());
  ctx.HandicapFolder = folder;
  ctx.MemberFile = folder + "Membersh.dat";
  WriteInput(ctx.MemberFile, " 2 11 01/01/26\r\n1,Ann,Ash,,,,1,,,,\r\n2,Bob,Birch,,,,-2,,,,\r\n");
  WriteInput(folder + kHistoryFileName, input);

  HistoryDialog window(ctx);
  Require(ports.dialogs.messages <= 1, "the window told more than one message on opening");
  Require(window.members().rows.size() == 2, "the window does not list the club's two members");
  check(window);
}

void HistoryBody(std::string_view input, const std::string& folder) {
  OnHistoryWindow(input, folder, [&](HistoryDialog& window) { CheckHistory(input, window); });
}

}  // namespace pg::fuzz
