#include "review/ClubChange.h"

#include <algorithm>
#include <new>
#include <utility>

#include "base/FileSystem.h"
#include "base/Files.h"
#include "base/Numbers.h"
#include "base/Parameters.h"
#include "review/ClubLock.h"
#include "review/History.h"
#include "review/Members.h"

namespace pg {
namespace {

constexpr std::string_view kJournalHeading = "Pairgauge rollback journal 1";
constexpr std::string_view kEndMark = "End ";

// What a file holds, as the journal tells it without its bytes: its length and fingerprint, or
// that there is no file.
struct Mark {
  bool present = false;
  std::uint64_t length = 0;
  std::uint64_t fingerprint = 0;

  static Mark Of(const std::optional<std::string>& bytes) {
    return bytes ? Mark{true, bytes->size(), Fingerprint(*bytes)} : Mark{};
  }
  bool Holds(const std::optional<std::string>& bytes) const {
    return bytes ? present && bytes->size() == length && Fingerprint(*bytes) == fingerprint
                 : !present;
  }
};

// One file of a change, as the journal keeps it: what it held before, and what the change
// writes there.
struct JournalEntry {
  std::string path;                     // the full path on this computer
  std::optional<std::string> original;  // nothing: there was no file
  Mark result;
};

struct Journal {
  std::string doing;
  std::string redo;
  std::vector<JournalEntry> entries;
};

std::string MarkText(const Mark& mark) {
  return mark.present ? std::to_string(mark.length) + "," + Hex(mark.fingerprint) : "-,-";
}

// A journal names its files from the data folder, so that it still names them when the club's
// folder is opened from another computer under another drive or path: "Membersh.dat" and
// "Handicap/<name>", nothing else.
std::string RelativeName(const Context& c, const std::string& path) {
  std::string name = path.substr(std::min(c.DataFolder.size(), path.size()));
  std::replace(name.begin(), name.end(), kPathSeparator, '/');
  return name;
}

std::optional<std::string> PathOfName(const Context& c, std::string_view name) {
  if (name == kMembershipName) return c.MemberFile;
  constexpr std::string_view kFolder = "Handicap/";
  if (!name.starts_with(kFolder)) return std::nullopt;
  const std::string_view file = name.substr(kFolder.size());
  if (!IsPlainFileName(file)) return std::nullopt;
  return c.HandicapFolder + std::string(file);
}

std::string JournalText(const Context& c, const Journal& journal) {
  std::string out;
  out += kJournalHeading;
  out += "\r\n" + journal.doing + "\r\n" + journal.redo + "\r\n" +
         std::to_string(journal.entries.size()) + "\r\n";
  for (const JournalEntry& e : journal.entries)
    out += MarkText(Mark::Of(e.original)) + "," + MarkText(e.result) + "," +
           RelativeName(c, e.path) + "\r\n";
  for (const JournalEntry& e : journal.entries)
    if (e.original) out += *e.original;
  out += "\r\n";
  out += kEndMark;
  out += Hex(Fingerprint(out)) + "\r\n";
  return out;
}

// Reads a line ended by CR LF from text at pos.
std::optional<std::string_view> Line(std::string_view text, size_t& pos) {
  const size_t end = text.find("\r\n", pos);
  if (end == std::string_view::npos) return std::nullopt;
  std::string_view line = text.substr(pos, end - pos);
  pos = end + 2;
  return line;
}

std::optional<Mark> ReadMark(std::string_view length, std::string_view fingerprint) {
  if (length == "-" && fingerprint == "-") return Mark{};
  const auto n = Unsigned(length);
  const auto f = fingerprint.size() == 16 ? Unsigned(fingerprint, 16) : std::nullopt;
  if (!n || !f) return std::nullopt;
  return Mark{true, *n, *f};
}

// The journal's text as a journal; nothing when it is damaged or names a file it may not.
std::optional<Journal> ReadJournal(const Context& c, std::string_view text) {
  // The last line holds the fingerprint of all before it, so a journal cut short or damaged is
  // known for one.
  const size_t end = text.rfind("\r\nEnd ");
  if (end == std::string_view::npos || !text.ends_with("\r\n")) return std::nullopt;
  const std::string_view sum = text.substr(end + 6, text.size() - end - 8);
  const auto expected = sum.size() == 16 ? Unsigned(sum, 16) : std::nullopt;
  if (!expected || Fingerprint(text.substr(0, end + 6)) != *expected) return std::nullopt;

  Journal journal;
  size_t pos = 0;
  const auto heading = Line(text, pos);
  const auto doing = Line(text, pos);
  const auto redo = Line(text, pos);
  const auto count = Line(text, pos);
  if (!heading || *heading != kJournalHeading || !doing || !redo || !count) return std::nullopt;
  journal.doing = std::string(*doing);
  journal.redo = std::string(*redo);
  const auto n = Unsigned(*count);
  if (!n || *n > 1000) return std::nullopt;
  std::vector<Mark> originals;
  for (std::uint64_t i = 0; i < *n; ++i) {
    const auto line = Line(text, pos);
    if (!line) return std::nullopt;
    std::vector<std::string_view> items;
    size_t from = 0;
    for (int k = 0; k < 4; ++k) {
      const size_t comma = line->find(',', from);
      if (comma == std::string_view::npos) return std::nullopt;
      items.push_back(line->substr(from, comma - from));
      from = comma + 1;
    }
    const auto before = ReadMark(items[0], items[1]);
    const auto after = ReadMark(items[2], items[3]);
    const auto path = PathOfName(c, line->substr(from));
    if (!before || !after || !path) return std::nullopt;
    originals.push_back(*before);
    journal.entries.push_back({*path, std::nullopt, *after});
  }
  for (size_t i = 0; i < originals.size(); ++i) {
    if (!originals[i].present) continue;
    if (originals[i].length > end - pos) return std::nullopt;
    std::string bytes(text.substr(pos, static_cast<size_t>(originals[i].length)));
    pos += static_cast<size_t>(originals[i].length);
    if (!originals[i].Holds(bytes)) return std::nullopt;
    journal.entries[i].original = std::move(bytes);
  }
  if (pos != end) return std::nullopt;
  return journal;
}

std::optional<std::string> Read(const std::string& path, FileError& error) {
  std::optional<std::string> bytes = ReadFileBytes(path, &error);
  if (!bytes && (error.number == err::kFileNotFound || error.number == err::kPathNotFound))
    error = {};
  return bytes;
}

bool WriteOrRemove(const std::string& path, const std::optional<std::string>& bytes,
                   FileError& error) {
  if (bytes) return ReplaceFile(path, *bytes, error);
  if (!FileExists(path)) return true;
  return DeleteFile(path, error);
}

// What a file should hold again once a change is undone: what it held before, when it still
// holds what the change wrote; nothing to do when it holds what it held before. A file another
// program wrote since keeps that: Membersh.dat and Handicap.ini get back only what the change
// had changed in them (the handicaps, the date of the last update), and any other file is left
// as it is and named in `left`.
std::optional<std::optional<std::string>> WhatToPutBack(const Context& c, const JournalEntry& e,
                                                        const std::optional<std::string>& now,
                                                        std::vector<std::string>& left) {
  if (e.result.Holds(now)) return e.original;
  if (now == e.original) return std::nullopt;
  if (now && e.original) {
    if (e.path == c.MemberFile) {
      if (auto merged = WithHandicapsOf(*now, *e.original))
        return std::optional<std::string>(std::move(*merged));
    } else if (e.path == c.HandicapFolder + kParameterFileName) {
      return std::optional<std::string>(WithLastUpdatedOf(*now, *e.original, c.ProgramVersion));
    }
  }
  left.push_back(e.path);
  return std::nullopt;
}

// Puts back the entries of a journal, last first. False, with the file and error, when one of
// them cannot be.
bool PutBack(const Context& c, const std::vector<JournalEntry>& entries,
             std::vector<std::string>& left, std::string& failedFile, FileError& error) {
  for (auto e = entries.rbegin(); e != entries.rend(); ++e) {
    FileError readError;
    const std::optional<std::string> now = Read(e->path, readError);
    if (readError.number != 0) {
      failedFile = e->path;
      error = readError;
      return false;
    }
    const auto back = WhatToPutBack(c, *e, now, left);
    if (back && !WriteOrRemove(e->path, *back, error)) {
      failedFile = e->path;
      return false;
    }
  }
  return true;
}

std::string JournalPath(const Context& c) {
  return c.HandicapFolder + kJournalFileName;
}

bool RemoveJournal(const Context& c, FileError& error) {
  if (!DeleteFile(JournalPath(c), error)) return false;
  // The journal's going is what makes the change count; a power cut must not bring it back.
  CurrentFileSystem().FlushFolder(c.HandicapFolder.substr(0, c.HandicapFolder.size() - 1));
  return true;
}

// A file a writer of this program left half made beside its target ("Membersh.dat.new-123456")
// when it was stopped before renaming it into place.
bool IsLeftover(std::string_view name) {
  const size_t mark = name.rfind(".new-");
  if (mark == std::string_view::npos || mark + 5 == name.size()) return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(mark + 5), name.end(),
                     [](char c) { return c >= '0' && c <= '9'; });
}

void RemoveLeftovers(const Context& c) {
  FileSystem& files = CurrentFileSystem();
  std::vector<std::string> names;
  FileError error;
  if (files.ListFolder(c.HandicapFolder, names, error))
    for (const std::string& name : names)
      if (IsLeftover(name)) DeleteFile(c.HandicapFolder + name, error);
  names.clear();
  if (files.ListFolder(c.DataFolder, names, error))
    for (const std::string& name : names)
      if (IsLeftover(name) && name.starts_with(kMembershipName))
        DeleteFile(c.DataFolder + name, error);
}

std::string LeftText(const std::vector<std::string>& left) {
  std::string text;
  for (const std::string& file : left)
    text += "\r\n" + file + kLeftAsItIs;
  return text;
}

}  // namespace

ClubChange::ClubChange(Context& context, std::string doing, std::string redo, std::string activity)
    : context_(context),
      doing_(std::move(doing)),
      redo_(std::move(redo)),
      activity_(std::move(activity)) {}

void ClubChange::Write(const std::string& path, std::string bytes) {
  steps_.push_back({Step::Kind::Write, path, std::move(bytes)});
}

void ClubChange::Create(const std::string& path, std::string bytes) {
  steps_.push_back({Step::Kind::Create, path, std::move(bytes)});
}

void ClubChange::Remove(const std::string& path) {
  steps_.push_back({Step::Kind::Remove, path, {}});
}

void ClubChange::Expect(const std::string& path, std::optional<std::string> bytes) {
  expected_.push_back({path, std::move(bytes)});
}

ClubChange::Result ClubChange::Commit() {
  Dialogs& dialogs = context_.dialogs();
  ClubLockScope lock(context_, activity_);
  if (!lock.held()) return Result::Failed;
  auto failed = [&](const std::string& file, const FileError& error) {
    dialogs.Message(SaveErrorText(NamedInMessage(context_, file), error.number, error.description),
                    Buttons::OK, Icon::None);
    return Result::Failed;
  };
  // A change this program could not put back earlier is put back before another begins.
  if (!PutBackUnfinishedChange(context_)) return Result::Failed;

  Journal journal{doing_, redo_, {}};
  try {
    for (const Step& step : steps_) {
      FileError error;
      std::optional<std::string> now = Read(step.path, error);
      if (error.number != 0) return failed(step.path, error);
      if (step.kind == Step::Kind::Create && now)
        return failed(step.path,
                      {err::kFileAlreadyExists, ErrorDescription(err::kFileAlreadyExists)});
      const auto expectation =
          std::find_if(expected_.begin(), expected_.end(),
                       [&](const Expectation& e) { return e.path == step.path; });
      if (expectation != expected_.end() && expectation->bytes != now) {
        changed_ = step.path;
        return Result::Changed;
      }
      // A file the change writes twice is put back to what it held before the first write.
      const bool again = std::any_of(journal.entries.begin(), journal.entries.end(),
                                     [&](const JournalEntry& e) { return e.path == step.path; });
      if (!again)
        journal.entries.push_back(
            {step.path, std::move(now),
             step.kind == Step::Kind::Remove ? Mark{} : Mark::Of(step.bytes)});
    }
    const std::string journalPath = JournalPath(context_);
    FileError error;
    if (!ReplaceFile(journalPath, JournalText(context_, journal), error))
      return failed(journalPath, error);

    size_t done = 0;
    std::string failedFile;
    for (; done < steps_.size(); ++done) {
      const Step& step = steps_[done];
      const bool ok = step.kind == Step::Kind::Remove ? DeleteFile(step.path, error)
                                                      : ReplaceFile(step.path, step.bytes, error);
      if (!ok) {
        failedFile = step.path;
        break;
      }
    }
    if (done == steps_.size()) {
      if (RemoveJournal(context_, error)) return Result::Done;
      failedFile = journalPath;
    }
    failed(failedFile, error);
    // Everything written is put back: only the entries of the steps that ran, and the journal
    // with them once they are all back.
    std::vector<JournalEntry> written;
    for (const JournalEntry& e : journal.entries)
      if (std::any_of(
              steps_.begin(),
              steps_.begin() + static_cast<std::ptrdiff_t>(std::min(done + 1, steps_.size())),
              [&](const Step& s) { return s.path == e.path; }))
        written.push_back(e);
    std::vector<std::string> left;
    FileError backError;
    std::string backFile;
    if (PutBack(context_, written, left, backFile, backError) &&
        RemoveJournal(context_, backError)) {
      if (!left.empty())
        dialogs.Message(kNotAllPutBack + LeftText(left), Buttons::OK, Icon::Warning);
      return Result::Failed;
    }
    dialogs.Message(std::string(kPutBackLater) + "\r\n" +
                        SaveErrorText(backFile.empty() ? journalPath : backFile, backError.number,
                                      backError.description),
                    Buttons::OK, Icon::Warning);
  } catch (const std::bad_alloc&) {
    return failed(context_.HandicapFolder + kJournalFileName,
                  {err::kOutOfMemory, ErrorDescription(err::kOutOfMemory)});
  }
  return Result::Failed;
}

std::string NamedInMessage(const Context& context, const std::string& path) {
  return path == context.HandicapFolder + kParameterFileName
             ? context.HandicapFolder + "handicap.ini"
             : path;
}

bool PutBackUnfinishedChange(Context& context) {
  RemoveLeftovers(context);
  const std::string path = JournalPath(context);
  FileError error;
  const std::optional<std::string> text = Read(path, error);
  Dialogs& dialogs = context.dialogs();
  if (error.number != 0) {
    dialogs.Message(SaveErrorText(path, error.number, error.description), Buttons::OK,
                    Icon::Warning);
    return false;
  }
  if (!text) return true;
  const std::optional<Journal> journal = ReadJournal(context, *text);
  if (!journal) {
    // Nothing can be put back from a journal that cannot be read; it is kept under another name
    // so that it stops no change, and the user is told what to look at.
    const std::string kept =
        context.HandicapFolder + "Rollback-damaged" +
        FreeCopySuffix(context.HandicapFolder, {"Rollback-damaged"}, ".journal") + ".journal";
    if (!RenameFile(path, kept, error)) {
      dialogs.Message(SaveErrorText(kept, error.number, error.description), Buttons::OK,
                      Icon::Warning);
      return false;
    }
    dialogs.Message(DamagedJournalText(path, kept), Buttons::OK, Icon::Warning);
    return true;
  }
  std::vector<std::string> left;
  std::string failedFile;
  if (!PutBack(context, journal->entries, left, failedFile, error) ||
      !RemoveJournal(context, error)) {
    dialogs.Message(
        UnfinishedText(journal->doing) + "\r\n" + kPutBackLater + "\r\n" +
            SaveErrorText(failedFile.empty() ? path : failedFile, error.number, error.description),
        Buttons::OK, Icon::Warning);
    return false;
  }
  dialogs.Message(
      UnfinishedText(journal->doing) + " " + kAllPutBack + LeftText(left) + "\r\n" + journal->redo,
      Buttons::OK, Icon::Information);
  return true;
}

}  // namespace pg
