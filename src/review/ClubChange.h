#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/Context.h"
#include "base/Errors.h"

namespace pg {

// The rollback journal in the handicap folder: there only while a change of the club's files is
// under way, or after a program stopped in the middle of one.
inline constexpr const char* kJournalFileName = "Rollback.journal";

// A change of several of the club's files that happens whole or not at all, the one way a save,
// an undo and the parameter editor change them. It works as a database's rollback journal does:
// before any file is touched, the journal gets what each file holds now (and a fingerprint of
// what it will hold), is flushed to disk, and only then are the files written, each replaced
// whole, in the order given; the journal goes last, and its going is the moment the change
// counts. Should a write fail, every file already written is put back at once; should the program
// stop between two writes, the next program to take the club's lock finds the journal and puts
// them back then. Holding the club's lock (ClubLock.h) keeps other copies of the program out
// meanwhile; the scoring program, which knows no lock, is met by putting back only what is still
// as the change left it.
class ClubChange {
 public:
  // `doing` says what the change is, to finish "Pairgauge did not finish ..." ("saving
  // the update using sessions up to and including Monday 30 Mar 2026"); `redo` what the user may
  // do about it then; `activity` is what the club's lock is taken for.
  ClubChange(Context& context, std::string doing, std::string redo, std::string activity);

  // Replaces the file at path whole with bytes, or creates it.
  void Write(const std::string& path, std::string bytes);
  // Creates a file that must not exist yet: a copy the change keeps never replaces another.
  void Create(const std::string& path, std::string bytes);
  void Remove(const std::string& path);
  // The change goes ahead only while the file at path still holds exactly `bytes` (nothing:
  // while there is no file there), what the caller read and worked from.
  void Expect(const std::string& path, std::optional<std::string> bytes);

  enum class Result {
    Done,
    Failed,  // a message has said why; every file is as it was
    Changed  // a file was not as expected; nothing was written and nothing said
  };
  // Takes the club's lock unless held, then writes the journal and every file. A write that fails
  // shows "Error cannot save " + the file + " - error " + number + " " + description, and every
  // file is put back as it was before the change.
  Result Commit();

  // The file that was not as expected, after Changed.
  const std::string& changedFile() const { return changed_; }

 private:
  struct Step {
    enum class Kind { Write, Create, Remove } kind = Kind::Write;
    std::string path;
    std::string bytes;
  };
  struct Expectation {
    std::string path;
    std::optional<std::string> bytes;
  };
  Context& context_;
  std::string doing_;
  std::string redo_;
  std::string activity_;
  std::vector<Step> steps_;
  std::vector<Expectation> expected_;
  std::string changed_;
};

// What is said when a change is put back.
inline constexpr const char* kAllPutBack =
    "Every file it had changed has been put back as it was before, so nothing of it remains.";
inline constexpr const char* kLeftAsItIs =
    " had been written by another program since, and has been left as it is.";
inline constexpr const char* kNotAllPutBack =
    "Every file already written has been put back as it was, except:";
inline constexpr const char* kPutBackLater =
    "Not every file already written could be put back as it was yet. Pairgauge has kept what it "
    "needs and puts them back as soon as it can write them: when the club's files are next "
    "opened, and before they are next changed. This is what stops it now:";
inline std::string UnfinishedText(const std::string& doing) {
  return "Pairgauge did not finish " + doing + ".";
}
inline std::string DamagedJournalText(const std::string& journal, const std::string& kept) {
  return "The rollback journal " + journal +
         " cannot be read, so Pairgauge cannot tell whether a change of the club's files that was "
         "cut short left them as they were. It has been kept as " +
         kept +
         ".\r\nCompare the handicaps in Membersh.dat with the History window before you update "
         "them again.";
}

// How a message names a file the program writes: as it is, but for the parameter file, which
// keeps the name its failures have always been told with ("handicap.ini").
std::string NamedInMessage(const Context& context, const std::string& path);

// Puts back what a change that a stopped program left half done had written, from the journal in
// the handicap folder, and says so. Called once the club's lock is held. True when no journal is
// left (there was none, or everything it names is put back); false when a file could not be put
// back yet, as a message has said.
bool PutBackUnfinishedChange(Context& context);

}  // namespace pg
