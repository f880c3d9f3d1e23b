#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <new>
#include <stdexcept>

#include "base/Array.h"
#include "base/Errors.h"
#include "base/Files.h"
#include "base/Guard.h"
#include "base/Items.h"
#include "session/HandRecords.h"
#include "session/SessionFile.h"

namespace pg {
namespace {

// Versions compare as texts, character by character ("9.10" sorts before "9.3"), the way the
// files have always been told apart.
bool From(const std::string& v, const char* first) {
  return v >= first;
}
bool Within(const std::string& v, const char* first, const char* last) {
  return v >= first && v <= last;
}

// Digits, a point and a digit: a first item that starts like this is a version, damaged or not;
// anything else is the title of a file written before versions were stored.
bool LooksLikeVersion(const std::string& t) {
  size_t i = 0;
  while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])))
    ++i;
  return i > 0 && i + 1 < t.size() && t[i] == '.' &&
         std::isdigit(static_cast<unsigned char>(t[i + 1]));
}

bool HasLineFeed(const std::string& t) {
  return t.find('\n') != std::string::npos;
}

std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

bool IsBlankText(const std::string& t) {
  return t.find_first_not_of(" \t") == std::string::npos;
}

long long NonNegative(short n) {
  return n > 0 ? n : 0;
}

// Every line feed without a carriage return before it becomes CR LF; CR LF pairs stay as they
// are, so a file damaged only in part keeps every line.
std::string MendLineEnds(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8 + 2);
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) out += '\r';
    out += bytes[i];
  }
  if (out.size() < 2 || out.compare(out.size() - 2, 2, "\r\n") != 0) out += "\r\n";
  return out;
}

// The repair's backup: the session file's name with the extension's third letter made X.
std::string BackupName(const std::string& file) {
  const size_t dot = file.find_last_of('.');
  const std::string stem = file.substr(0, dot);
  const std::string extension = dot == std::string::npos ? "" : file.substr(dot + 1);
  const bool lower =
      extension.size() >= 3 && std::islower(static_cast<unsigned char>(extension[2]));
  return stem + "." + extension.substr(0, 2) + (lower ? "x" : "X");
}

class SessionReader {
 public:
  SessionReader(Session& s, Context& ctx, const ReadOptions& options)
      : s_(s), ctx_(ctx), options_(options), guard_(ctx.dialogs(), kSessionModule) {}

  void Read() {
    s_.ReadFailed = false;
    file_ = FindSessionFile(s_).value_or(SessionFileName(s_));
    try {
      ReadItems();
    } catch (const RunTimeError& e) {
      Fail(e.description());
    } catch (const std::bad_alloc&) {
      Fail(ErrorDescription(err::kOutOfMemory));
    } catch (const std::length_error&) {
      Fail(ErrorDescription(err::kOutOfMemory));
    } catch (const std::out_of_range&) {
      Fail(ErrorDescription(err::kSubscript));
    }
    // After a failed read its own message is the one that matters; the repair message still
    // told the user where the original went. A password-protected session stops before it.
    if (repaired_ && !mendedInMemory_ && !s_.ReadFailed && !stoppedAtPassword_)
      Show("File repaired successfully");
  }

 private:
  void Show(const std::string& text) { ctx_.dialogs().Message(text, Buttons::OK, Icon::None); }

  void Fail(const std::string& description) {
    s_.ReadFailed = true;
    Show(description + " whilst reading file " + file_);
  }

  void Open(const std::string& path) {
    FileError error;
    std::optional<std::string> bytes = ReadFileBytes(path, &error);
    if (!bytes) Raise(error.number, error.description);
    Take(std::move(*bytes));
  }

  void Take(std::string bytes) {
    if (options_.bytesRead) options_.bytesRead(bytes);
    items_ = ItemReader(std::move(bytes), ItemReader::AfterQuote::Keep);
  }

  size_t Remaining() const { return items_.data().size() - items_.position(); }

  void ReadItems() {
    Open(file_);
    s_.TimeOfDay = Upper(s_.Extension) == "AFT" ? 1 : 2;
    s_.HandRecordFile.clear();
    s_.HandsLoaded = false;

    s_.SessionFileVersion = items_.ReadText();
    // Only a first item that starts like a version can be a later one; the title of a
    // version-less file sorts above every version and must not be refused. A damaged first item
    // is judged by the version before its first line feed.
    if (LooksLikeVersion(s_.SessionFileVersion)) {
      const std::string version = s_.SessionFileVersion.substr(0, s_.SessionFileVersion.find('\n'));
      if (version > ctx_.SessionFormatVersion) {
        s_.ReadFailed = true;
        Show("Cannot read " + file_ + "\r\nas this session was created in a later version (" +
             version + ") of Quorell\r\nYou are using version " + ctx_.SessionFormatVersion);
        return;
      }
    }
    if (HasLineFeed(s_.SessionFileVersion) && !RepairSessionFile()) return;

    const std::string v = s_.SessionFileVersion;
    short storedSections = 0;
    // A title such as "2026 Spring Pairs" sorts among the versions; only its start tells.
    if (!LooksLikeVersion(v) || v < "1.2" || v > "9.9") {
      s_.EventName = v;
      s_.SessionFileVersion = "0";
      s_.SectionCount = 1;
      s_.SectionNo = 1;
    } else {
      s_.EventName = items_.ReadText();
      if (HasLineFeed(s_.EventName) && !repaired_) {
        if (!RepairSessionFile()) return;
        s_.EventName = items_.ReadText();
      }
      storedSections = items_.ReadInt16();
      items_.ReadInt16();  // the section number the file was written for; the name says it
      if (s_.SectionNo == 1) s_.SectionCount = storedSections;
    }
    if (storedSections > 1) {
      for (int i = 1; i <= storedSections; ++i) {
        std::string name = items_.ReadText();
        if (s_.SectionNo == 1) s_.SectionNames(i) = std::move(name);
      }
      if (s_.SectionNo == 0) s_.SectionNames(0) = "combined";
    }
    const std::string& version = s_.SessionFileVersion;

    s_.SessionDate = items_.ReadCell();
    s_.RoundCount = items_.ReadInt16();
    s_.RowCount = items_.ReadInt16();
    s_.BoardsPerRound = items_.ReadInt16();
    s_.NSPairCount = items_.ReadInt16();
    s_.PairCount = items_.ReadInt16();
    // A session whose movement was never entered ends here: no boards, no hand records.
    if (s_.RoundCount < 1) return;
    s_.BoardCount = MulShort(s_.RoundCount, s_.BoardsPerRound);

    s_.MovementName = items_.ReadText();
    if (From(version, "1.5")) s_.MovementFile = items_.ReadText();
    s_.PhantomPair = items_.ReadInt16();
    s_.WinnerCount = items_.ReadInt16();
    s_.ScoringType = items_.ReadText();
    s_.RoundsPlayed = items_.ReadInt16();
    s_.PasswordState = 0;

    const bool settings = Within(version, "6.0", "9.9");
    if (settings) {
      s_.ExtraText = items_.ReadText();
      s_.MpAwarded = items_.ReadInt16();
      s_.MpScale = items_.ReadInt16();
      s_.TeamData = items_.ReadInt16();
      s_.WantHandicaps = items_.ReadInt16();
      s_.PasswordState = items_.ReadInt16();
    }
    if (Within(version, "9.3", "9.9")) {
      s_.ChargeRate = items_.ReadText();
      s_.MpExtra = items_.ReadInt16();
      s_.MpTables = items_.ReadInt16();
      for (int i = 0; i < 3 + 12; ++i)
        items_.ReadCell();  // reserved
    } else if (settings) {
      // Older files keep no charge rate; whatever the sign of the scale, the rate is the usual
      // one, since nothing here uses it.
      s_.ChargeRate.clear();
      s_.MpExtra = 0;
      s_.MpTables = 0;
    }
    // The team-match tables of a teams event are not read: teams scoring is outside this program.
    s_.MpScale = CheckedShort(std::abs(static_cast<long>(s_.MpScale)));
    if (s_.ChargeRate.empty()) s_.ChargeRate = "10";
    if (Within(version, "9.2", "9.9")) {
      s_.StratUsed = items_.ReadInt16();
      if (s_.StratUsed != 0) {
        s_.StratCatCount = items_.ReadInt16();
        for (int i = 0; i < s_.StratCatCount; ++i)
          s_.StratCatNames(i) = items_.ReadText();
        s_.SectionStratValue(s_.SectionNo) = items_.ReadInt16();
      }
    } else if (settings) {
      s_.StratUsed = 0;
    }
    // A password-protected session shows its header only; nothing else of it may be used.
    if (s_.PasswordState == 2) {
      stoppedAtPassword_ = true;
      return;
    }
    if (s_.MpScale == 0) s_.MpScale = 1;

    if (s_.ScoringType == "0") s_.ScoringType = "Pairs";
    guard_.Step(100, [&] { ApplyScoringType(s_); });
    if (s_.RoundsPlayed < 1) s_.RoundsPlayed = s_.RoundCount;

    const short players = MulShort(2, s_.PairCount);
    CheckRoomForArrays();
    guard_.Step(110, [&] { DimensionSession(s_); });
    ReadArrays(players);

    s_.HandRecordFile.clear();
    if (!items_.AtEnd()) s_.HandRecordFile = items_.ReadText();
    items_ = ItemReader("");
    if (s_.HandRecordFile.size() < 4) {
      s_.HandRecordFile.clear();
    } else {
      s_.ReadingHands = true;
      ReadHandRecords(s_, ctx_, s_.HandRecordFile);
      s_.ReadingHands = false;
    }
  }

  // A damaged header must not size tables bigger than the file could fill: every item takes at
  // least one character, so counts that call for more items than characters are left are a read
  // error, found before anything is sized. Movement cards come from the movement file before
  // 8.7, but a sound session file is always longer than its movement's cards (its travellers
  // and players alone outnumber them), so their table is held to the same room.
  void CheckRoomForArrays() const {
    const std::string& v = s_.SessionFileVersion;
    const long long b = NonNegative(s_.BoardCount), r = NonNegative(s_.RowCount);
    const long long p = NonNegative(s_.PairCount), t = NonNegative(s_.NSPairCount);
    const long long n = NonNegative(s_.RoundsPlayed);
    const long long cards = 3 * t * n;
    long long items = 5 * b * r + 4 * p;
    if (v > "1.3") items += p * (From(v, "1.6") ? 4 : 3);
    if (From(v, "8.2")) items += n;
    if (From(v, "8.4")) items += 4 * b * r;
    if (From(v, "8.5")) items += 1;
    if (From(v, "8.6")) items += 2;
    if (From(v, "8.7")) items += cards + (s_.WantHandicaps != 0 ? 2 * p : 0);
    if (From(v, "8.8") && s_.WinnerCount == 1) items += 2 + n + t + p;
    if (From(v, "9.0")) items += 1 + 2 * p;
    if (Within(v, "9.2", "9.9") && s_.StratUsed != 0) items += 2 * p;
    const long long room = static_cast<long long>(Remaining());
    if (items > room || cards > room) Raise(err::kInputPastEnd);
  }

  // A table the file stores whole in index order, the last index running fastest: RowPairs
  // board by board, row by row, round and pairs. It must have been sized for `count` items.
  template <class T, size_t Rank, class ReadItem>
  void ReadTable(Array<T, Rank>& table, long long count, ReadItem readItem) {
    if (static_cast<long long>(table.size()) != std::max(count, 0LL)) Raise(err::kSubscript);
    for (T& element : table.elements())
      element = readItem();
  }

  void ReadArrays(short players) {
    const std::string& v = s_.SessionFileVersion;
    const short boards = s_.BoardCount, rows = s_.RowCount, pairs = s_.PairCount;
    const auto integer = [&] { return items_.ReadInt16(); };
    const auto cell = [&] { return items_.ReadCell(); };
    const auto text = [&] { return items_.ReadText(); };
    // Rows of travellers (and movement cards) of a count below 1 hold nothing.
    const long long travellerRows = NonNegative(boards) * NonNegative(rows);
    ReadTable(s_.RowPairs, travellerRows * 3, integer);
    ReadTable(s_.Players, NonNegative(players) * 2, cell);
    ReadTable(s_.Score, travellerRows * 2, cell);
    // Pair results came in after 1.3 (not with it); their starting values with 1.6.
    if (v > "1.3") {
      for (int p = 1; p <= pairs; ++p) {
        s_.PairTotal(p) = items_.ReadSingle();
        s_.PairPercent(p) = items_.ReadSingle();
        s_.PairPos(p) = items_.ReadText();
        if (From(v, "1.6")) s_.PairCarry(p) = items_.ReadCell();
      }
    }
    if (From(v, "8.2")) {
      for (int n = 1; n <= s_.RoundsPlayed; ++n)
        s_.RoundValues(n) = items_.ReadInt16();
    }
    if (From(v, "8.4")) ReadTable(s_.RowText, travellerRows * 4, text);
    if (From(v, "8.5")) {
      const short count = items_.ReadInt16();
      if (13LL * NonNegative(count) > static_cast<long long>(Remaining()))
        Raise(err::kInputPastEnd);
      s_.SplitScores.Dim({Bounds{1, count}, Bounds{0, 12}});
      for (int column = 0; column <= 12; ++column)
        for (int n = 1; n <= count; ++n)
          s_.SplitScores(n, column) = items_.ReadCell();
    }
    if (From(v, "8.6")) {
      s_.FieldAverage(1) = items_.ReadCell();
      s_.FieldAverage(2) = items_.ReadCell();
    } else {
      s_.FieldAverage(1) = CellValue(0);
      s_.FieldAverage(2) = CellValue(0);
    }
    if (From(v, "8.7")) {
      ReadTable(s_.MovementCards, NonNegative(s_.NSPairCount) * NonNegative(s_.RoundsPlayed) * 3,
                integer);
      if (s_.WantHandicaps != 0) {
        for (int p = 1; p <= players; ++p) {
          CellValue h = items_.ReadCell();
          if (h.IsText() && IsBlankText(h.text())) h = CellValue();
          s_.PlayerHandicaps(p) = std::move(h);
        }
      }
    } else {
      ReadMovementCards(s_, ctx_);
    }
    // Files before 8.8 have no one-winner tables; nothing here needs them derived.
    if (From(v, "8.8") && s_.WinnerCount == 1) {
      s_.OneWinnerA = items_.ReadInt16();
      s_.OneWinnerB = items_.ReadInt16();
      for (int n = 1; n <= s_.RoundsPlayed; ++n)
        s_.OneWinnerRounds(n) = items_.ReadInt16();
      for (int t = 1; t <= s_.NSPairCount; ++t)
        s_.OneWinnerTables(t) = items_.ReadInt16();
      for (int p = 1; p <= pairs; ++p)
        s_.OneWinnerPairs(p) = items_.ReadInt16();
    }
    if (From(v, "9.0")) {
      items_.ReadInt16();  // reserved
      for (int p = 1; p <= players; ++p)
        s_.PlayerRefs(p) = items_.ReadText();
    }
    if (Within(v, "9.2", "9.9") && s_.StratUsed != 0) {
      for (int p = 1; p <= players; ++p)
        s_.PlayerStratCat(p) = items_.ReadInt16();
    }
    if (From(v, "9.0") && !items_.AtEnd()) s_.TrailerText = items_.ReadText();
  }

  // Rewrites a file whose line ends were damaged (bare line feeds) with CR LF throughout, keeping
  // the original beside it, and goes on reading from the mended file. False, with the message
  // shown, when it could not be done.
  bool RepairSessionFile() {
    if (options_.readOnly) {
      // Read as the repair would leave it, without a word: nothing here is the reader's to mend.
      Take(MendLineEnds(std::string(items_.data())));
      s_.SessionFileVersion = items_.ReadText();
      repaired_ = mendedInMemory_ = true;
      return true;
    }
    const std::string backup = BackupName(file_);
    FileError error;
    // The backup is written as a copy (replacing an older one) and the session file then replaced
    // whole, rather than renamed away and written anew: a program stopped between the two
    // leaves the session where the catalogue looks for it, whole, with or without its backup.
    const std::optional<std::string> bytes = ReadFileBytes(file_, &error);
    bool ok = bytes && ReplaceFile(backup, *bytes, error);
    if (ok) {
      Show("Attempting to repair " + file_ + "\r\nThe file has been renamed " + backup);
      ok = ReplaceFile(file_, MendLineEnds(*bytes), error);
    }
    if (ok) {
      try {
        Open(file_);
        s_.SessionFileVersion = items_.ReadText();
      } catch (const RunTimeError&) {
        ok = false;
      }
    }
    if (!ok) {
      s_.ReadFailed = true;
      Show("The file " + file_ + " is not readable by Quorell");
      return false;
    }
    repaired_ = true;
    return true;
  }

  Session& s_;
  Context& ctx_;
  const ReadOptions& options_;
  Guard guard_;
  std::string file_;  // the file read: the one the name gives, or the one found for it
  ItemReader items_{""};
  bool repaired_ = false;
  bool mendedInMemory_ = false;
  bool stoppedAtPassword_ = false;
};

}  // namespace

void ReadSession(Session& s, Context& ctx) {
  ReadSession(s, ctx, ReadOptions{});
}

void ReadSession(Session& s, Context& ctx, const ReadOptions& options) {
  SessionReader(s, ctx, options).Read();
}

void ReadMovementCards(Session& s, Context& ctx) {
  Guard guard(ctx.dialogs(), kSessionModule);
  std::optional<std::string> bytes = ReadFileBytes(s.MovementFile);
  bool read = false;
  if (bytes) {
    read = guard.Step(100, [&] {
      ItemReader in(std::move(*bytes));
      in.ReadCell();
      in.SkipItem();
      in.SkipItem();
      in.SkipItem();
      const short type = in.ReadInt16();
      in.SkipItem();
      short rounds = in.ReadInt16();
      if (rounds <= 0) rounds = s.RoundCount;
      s.RoundsPlayed = rounds;
      const long long tables = NonNegative(s.NSPairCount);
      const long long skipped = 3 * NonNegative(s.RoundCount) * NonNegative(s.RowCount);
      if (skipped + 3 * tables * NonNegative(rounds) >
          static_cast<long long>(in.data().size() - in.position()))
        Raise(err::kInputPastEnd);
      s.MovementCards.Dim({Bounds{1, s.NSPairCount}, Bounds{1, rounds}, Bounds{0, 2}});
      for (long long i = 0; i < skipped; ++i)
        in.SkipItem();
      for (int t = 1; t <= s.NSPairCount; ++t)
        for (int n = 1; n <= rounds; ++n)
          for (int k = 0; k <= 2; ++k)
            s.MovementCards(t, n, k) = in.ReadInt16();
      // A two-winner movement played as one winner: East-West pairs follow the North-South ones.
      if (type == 2 && s.WinnerCount == 1) {
        for (int t = 1; t <= s.NSPairCount; ++t)
          for (int n = 1; n <= rounds; ++n)
            s.MovementCards(t, n, 2) = AddShort(s.MovementCards(t, n, 2), s.NSPairCount);
      }
    });
  }
  if (!read) {
    guard.Step(110, [&] {
      if (s.MovementCards.empty()) s.MovementCards.Dim({Bounds{1, 1}, Bounds{1, 1}, Bounds{0, 2}});
      s.MovementCards(1, 1, 1) = -1;
    });
  }
}

}  // namespace pg
