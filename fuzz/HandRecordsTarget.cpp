// The hand-record reader on its own. The input's first byte chooses the file's format and the
// case of its name and whether a session read asks for it, the next two the session's board
// count; the rest is the file.
#include <cstdint>
#include <vector>

#include "Targets.h"
#include "session/HandRecords.h"
#include "support/QuietPorts.h"

namespace pg::fuzz {
namespace {

// Keeps the texts of the messages shown.
class KeepingDialogs : public AnsweringDialogs {
 public:
  Answer Message(const std::string& text, Buttons buttons, Icon icon) override {
    texts.push_back(text);
    return AnsweringDialogs::Message(text, buttons, icon);
  }
  long Invalid() const {
    long n = 0;
    for (const std::string& t : texts)
      n += t.starts_with("Cannot read the file ") ? 1 : 0;
    return n;
  }
  std::vector<std::string> texts;
};

bool IsDealCode(const std::string& deal) {
  return deal.size() == 26 && deal.find_first_not_of("abcdefghijklmnop") == std::string::npos;
}

}  // namespace

void HandRecordsBody(std::string_view input, const std::string& folder) {
  if (input.size() < 3) return;
  const auto options = static_cast<std::uint8_t>(input[0]);
  const bool pbn = (options & 1) != 0;
  const bool capitals = (options & 2) != 0;
  const bool inSessionRead = (options & 4) != 0;
  const auto boards = static_cast<short>(static_cast<std::uint8_t>(input[1]) |
                                         static_cast<std::uint8_t>(input[2]) << 8);
  const std::string name = std::string(capitals ? "HANDS." : "hands.") +
                           (pbn ? (capitals ? "PBN" : "pbn") : (capitals ? "DLM" : "dlm"));
  const std::string path = folder + name;
  WriteInput(path, input.substr(3));

  test::QuietPorts quiet;
  KeepingDialogs dialogs;
  Context ctx(Ports{dialogs, quiet.windows, quiet.settings, quiet.clock, quiet.locks});
  Session s;
  s.BoardCount = boards;
  s.ReadingHands = inSessionRead;
  ReadHandRecords(s, ctx, path);

  if (s.HandsLoaded) Require(dialogs.texts.empty(), "a file that loaded showed a message");
  Require(s.HandRecords.size() >= 2, "the table lost its first two boards");
  for (size_t board = 0; board < s.HandRecords.size(); ++board) {
    const HandRecord& h = s.HandRecords[board];
    const std::string which = "board " + std::to_string(board) + ": ";
    Require(h.Deal.empty() || IsDealCode(h.Deal), which + "a deal that is no deal code");
    Require(h.DoubleDummyTricks.empty() || h.DoubleDummyTricks.size() == 20,
            which + "double-dummy tricks that are not 20");
    // A "dlm" file is read up to the last board the session has.
    if (!pbn && !h.Deal.empty())
      Require(static_cast<long>(board) <= boards, which + "a deal past the session's boards");
  }

  // The file is read again with every read of a session naming it; its fault is told once.
  ReadHandRecords(s, ctx, path);
  Require(dialogs.Invalid() <= 1, "a hand-record file's fault was told again");
}

}  // namespace pg::fuzz
