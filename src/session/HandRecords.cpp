#include "session/HandRecords.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <string_view>
#include <vector>

#include "base/Errors.h"
#include "base/Files.h"
#include "base/Guard.h"
#include "base/Items.h"
#include "base/Numbers.h"
#include "session/SessionFile.h"

namespace pg {
namespace {

constexpr std::string_view kRanks = "akqjt98765432";
constexpr std::string_view kHands = "NESW";

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// A board number as the files write it (leading zeros and blanks allowed); one that does not fit
// a count is an error of the file.
short BoardNumber(std::string_view text) {
  const double n = NumericValue(text);
  if (!(n >= -32768.0 && n <= 32767.0)) Raise(err::kOverflow);
  return static_cast<short>(n);
}

// The text between the first pair of double quotes from position `from` on.
std::string Quoted(const std::string& line, size_t from) {
  const size_t open = line.find('"', from);
  if (open == std::string::npos) return "";
  const size_t close = line.find('"', open + 1);
  return line.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
}

// Grows the table so that board has an entry; the table counts from board 0.
HandRecord& Entry(Session& s, short board) {
  if (board < 0) Raise(err::kSubscript);
  if (static_cast<size_t>(board) >= s.HandRecords.size()) s.HandRecords.resize(board + 1);
  return s.HandRecords[board];
}

std::vector<std::string> Lines(std::string bytes) {
  std::vector<std::string> lines;
  ItemReader reader(std::move(bytes));
  while (!reader.AtEnd())
    lines.push_back(reader.ReadLine(/*bareLineFeedEnds=*/true));
  return lines;
}

// The 26-letter code of a deal given as "<first hand>:<hand> <hand> <hand> <hand>", each hand
// four suits (spades, hearts, diamonds, clubs) split by points, a void written as nothing or as
// "-"; nothing when it is not valid, which includes a deal that does not hold each of the 52
// cards exactly once.
std::optional<std::string> DealCode(const std::string& deal) {
  if (deal.size() < 2 || deal[1] != ':') return std::nullopt;
  const size_t first =
      kHands.find(static_cast<char>(std::toupper(static_cast<unsigned char>(deal[0]))));
  if (first == std::string_view::npos) return std::nullopt;
  std::array<int, 53> holder{};  // by card 1..52
  std::array<bool, 53> dealt{};
  int cards = 0;
  int hand = 0;
  size_t i = 2;
  while (i < deal.size()) {
    if (deal[i] == ' ') {
      ++i;
      continue;
    }
    if (hand == 4) return std::nullopt;
    const int who = static_cast<int>((first + hand) % 4);
    int suit = 0;
    for (; i < deal.size() && deal[i] != ' '; ++i) {
      if (deal[i] == '.') {
        if (++suit == 4) return std::nullopt;
        continue;
      }
      if (deal[i] == '-') continue;
      const size_t rank = kRanks.find(deal[i]);
      if (rank == std::string_view::npos) return std::nullopt;
      const int card = 13 * suit + static_cast<int>(rank) + 1;
      if (dealt[card]) return std::nullopt;
      dealt[card] = true;
      holder[card] = who;
      ++cards;
    }
    ++hand;
  }
  if (cards != 52) return std::nullopt;
  std::string code(26, 'a');
  for (size_t k = 1; k <= 26; ++k)
    code[k - 1] = static_cast<char>('a' + 4 * holder[2 * k - 1] + holder[2 * k]);
  return code;
}

class HandReader {
 public:
  HandReader(Session& s, Context& ctx, std::string path)
      : s_(s), ctx_(ctx), path_(std::move(path)) {}

  // Reads the lines; false when a line was rejected (and shown).
  bool ReadDlm(const std::vector<std::string>& lines) {
    short lastWanted = s_.BoardCount;
    for (const std::string& raw : lines) {
      const std::string line = Lower(raw);
      if (StartsWith(line, "to board=")) {
        lastWanted = std::min(lastWanted, BoardNumber(std::string_view(line).substr(9)));
      } else if (StartsWith(line, "board")) {
        // The deal is the 26 letters after "="; real files put a checksum after them.
        const size_t equals = line.find('=');
        const std::string deal = equals == std::string::npos ? "" : line.substr(equals + 1, 26);
        const double number = NumericValue(std::string_view(line).substr(5));
        const bool valid = number > 0 && deal.size() == 26 &&
                           deal.find_first_not_of("abcdefghijklmnop") == std::string::npos;
        if (!valid) return Reject(line);
        const short board = BoardNumber(std::string_view(line).substr(5));
        if (board > lastWanted) return true;
        Entry(s_, board).Deal = deal;
      }
    }
    return true;
  }

  bool ReadPbn(const std::vector<std::string>& lines) {
    short board = 0;
    bool inParTable = false;
    // A game whose deal is empty (a dealing program's template) is a game without a deal:
    // its remaining tags are passed over up to the blank line that ends it.
    bool skippingGame = false;
    for (const std::string& raw : lines) {
      const std::string line = Trim(Lower(raw));
      if (inParTable && (line.empty() || line[0] == '[')) inParTable = false;
      if (skippingGame && (line.empty() || StartsWith(line, "[board "))) skippingGame = false;
      if (skippingGame) continue;
      if (StartsWith(line, "[board ")) {
        board = BoardNumber(line.size() > 8 ? std::string_view(line).substr(8) : "");
        Entry(s_, board);
      } else if (StartsWith(line, "[deal ")) {
        const std::string deal = Quoted(line, 6);
        if (deal.empty()) {
          skippingGame = true;
          continue;
        }
        const std::optional<std::string> code = DealCode(deal);
        if (!code) return Reject(line);
        Entry(s_, board).Deal = *code;
      } else if (StartsWith(line, "[doubledummytricks ")) {
        // The value starts right after the opening quote, at the line's 21st character.
        const std::string tricks =
            line.size() > 20 ? line.substr(20, line.find('"', 20) - 20) : std::string();
        if (tricks.size() != 20) return Reject(line);
        Entry(s_, board).DoubleDummyTricks = tricks;
      } else if (StartsWith(line, "[optimumresulttable ")) {
        Entry(s_, board).OptimumResultTable.clear();
        inParTable = true;
      } else if (inParTable) {
        Entry(s_, board).OptimumResultTable.push_back(Trim(raw));
      }
    }
    return true;
  }

 private:
  // A file is read with every read of every session that names it; its fault is told once a run.
  bool Reject(const std::string& line) {
    if (ctx_.ReportedHandRecordFiles.insert(path_).second) {
      ctx_.dialogs().Message(
          "Cannot read the file " + path_ + "\r\nThe following line is not valid\r\n" + line,
          Buttons::OK, Icon::None);
    }
    return false;
  }

  Session& s_;
  Context& ctx_;
  std::string path_;
};

// The session stores the hand-record file as a full path on the machine that scored it. A club
// copied to another folder or machine keeps the file beside its session files, so a name that is
// not found where it points is looked for there by its last part.
std::optional<std::string> BesideTheSession(const Session& s, const std::string& path) {
  const size_t nameStart = path.find_last_of("\\/");
  const std::string name = nameStart == std::string::npos ? path : path.substr(nameStart + 1);
  const size_t folderEnd = s.BasePath.find_last_of(std::string("/") + kPathSeparator);
  if (name.empty() || folderEnd == std::string::npos) return std::nullopt;
  return FindFileIgnoringCase(s.BasePath.substr(0, folderEnd + 1) + name);
}

}  // namespace

void ReadHandRecords(Session& s, Context& ctx, const std::string& path) {
  Guard guard(ctx.dialogs(), kSessionModule);
  s.HandRecords.assign(2, HandRecord{});
  s.HandsLoaded = false;
  std::optional<std::string> found = FindFileIgnoringCase(path);
  // A message names the file that was read.
  std::string shown = path;
  if (!found && (found = BesideTheSession(s, path))) shown = *found;
  const std::string format = path.size() >= 3 ? Lower(path.substr(path.size() - 3)) : "";
  if (!found || (format != "dlm" && format != "pbn")) {
    // Asked for by name outside a session read, a file that is not there is worth a report.
    if (!s.ReadingHands) {
      guard.Step(100, [&] { Raise(found ? err::kBadFileName : err::kFileNotFound); });
    }
    return;
  }
  std::vector<std::string> lines;
  if (!guard.Step(110, [&] {
        FileError error;
        std::optional<std::string> bytes = ReadFileBytes(*found, &error);
        if (!bytes) Raise(error.number, error.description);
        lines = Lines(std::move(*bytes));
      })) {
    return;
  }
  HandReader reader(s, ctx, shown);
  guard.Step(120, [&] {
    s.HandsLoaded = format == "dlm" ? reader.ReadDlm(lines) : reader.ReadPbn(lines);
  });
}

}  // namespace pg
