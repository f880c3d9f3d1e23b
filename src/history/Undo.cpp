#include "history/Undo.h"

#include <new>

#include "base/Files.h"
#include "base/Guard.h"
#include "base/Parameters.h"
#include "review/ClubChange.h"
#include "review/ClubLock.h"

namespace pg {
namespace {

constexpr const char* kWindowName = "frmHistory";
constexpr const char* kTheUpdate = "The update using sessions up to and including ";

std::string Refusal(const std::string& update, const std::string& why) {
  return kTheUpdate + update + " cannot be undone: " + why;
}

// One of the two files an undo puts back: as it is now, and the copy it goes back to.
struct Restored {
  std::string path;
  const WrittenFile* written = nullptr;
  std::string now;
  std::string copy;
  // Still what the update's save wrote, so to be put back; otherwise already the copy.
  bool toRestore = false;
};

}  // namespace

bool UndoLastUpdate(Context& context, const History& history) {
  Dialogs& dialogs = context.dialogs();
  if (history.updates.empty()) return false;
  const HistoryEntry& last = history.updates.back();
  const std::string update = UpdateName(last.lastSession);
  const std::string& folder = context.HandicapFolder;
  auto refuse = [&](const std::string& why) {
    dialogs.Message(Refusal(update, why), Buttons::OK, Icon::Warning);
    return false;
  };
  ClubLockScope lock(context, kUndoingAnUpdate);
  if (!lock.held()) return false;

  // Another copy may have saved or undone an update since the window read the history.
  HandicapParameters onDisk = context.Parameters;
  ReadParameters(folder, onDisk);
  const std::optional<Date> lastUpdate =
      onDisk.LastUpdated.empty() ? std::nullopt : ParseDate(onDisk.LastUpdated);
  if (!lastUpdate || *lastUpdate != last.lastSession)
    return refuse("Handicap.ini does not record it as the last update.");
  if (!last.membership || !last.parameters)
    return refuse(
        "the history holds no record of what its save wrote (it was saved before Pairgauge kept "
        "one), so there is nothing to check the files against.");

  Restored files[2] = {{context.MemberFile, &*last.membership, {}, {}, false},
                       {folder + kParameterFileName, &*last.parameters, {}, {}, false}};
  const char* names[2] = {kMembershipName, kParameterFileName};
  // What has changed since the save, each file's words in the refusal.
  auto changedSince = [&] {
    std::string changed;
    for (int i = 0; i < 2; ++i)
      if (!files[i].toRestore && files[i].now != files[i].copy)
        (changed += "\r\n") += i == 0 ? kMembershipChanged : kParametersChanged;
    return changed.empty()
               ? changed
               : "what its save wrote has changed since." + changed + "\r\n" + kCorrectInstead;
  };
  for (int i = 0; i < 2; ++i) {
    Restored& f = files[i];
    if (!f.written->copy)
      return refuse(std::string("its save kept no copy of ") + names[i] + " to put back.");
    const KeptFile& kept = *f.written->copy;
    const std::string copyPath = folder + kept.name;
    FileError error;
    std::optional<std::string> copy = ReadFileBytes(copyPath, &error);
    if (!copy)
      return refuse("the copy " + copyPath + " that its save kept cannot be read - " +
                    error.description + ".");
    // Only the very copy the save kept goes back, and only when it is the kind of file it
    // replaces: anything else put over the club's file would lose it.
    if (!kept.fingerprint) return refuse("the copy " + copyPath + kCopyNotFingerprinted);
    if (!kept.Holds(*copy)) return refuse("the copy " + copyPath + kCopyChanged);
    HandicapParameters read;
    const bool readsAs =
        i == 0 ? MembersFromBytes(*copy).has_value() : ParametersFromText(*copy, read);
    if (!readsAs) return refuse("the copy " + copyPath + kCopyNotAFile + names[i] + ".");
    std::optional<std::string> now = ReadFileBytes(f.path, &error);
    if (!now) return refuse("cannot read " + f.path + " - " + error.description + ".");
    f.toRestore = f.written->Holds(*now);
    f.now = std::move(*now);
    f.copy = std::move(*copy);
  }
  if (const std::string why = changedSince(); !why.empty()) return refuse(why);

  Answer answer = Answer::No;
  Guard guard(dialogs, kWindowName);
  guard.Step(100, [&] {
    answer = dialogs.Message(kUndoQuestion + update + "?", Buttons::YesNo, Icon::Question);
  });
  if (answer != Answer::Yes) return false;

  const std::string tag = FormatDate(last.lastSession, "yymmdd");
  ClubChange change(context, "undoing the update using sessions up to and including " + update,
                    "Undo it again if it is still to be undone.", kUndoingAnUpdate);
  try {
    // What is undone is kept, under names no save or undo uses again.
    const std::string stems[2] = {"Membersh-undone-" + tag, "Handicap-undone-" + tag};
    const std::string suffix = FreeCopySuffix(folder, {stems[0], stems[1]}, ".bak");
    for (int i = 0; i < 2; ++i)
      if (files[i].toRestore) change.Create(folder + stems[i] + suffix + ".bak", files[i].now);
    for (const Restored& f : files) {
      if (f.toRestore) change.Write(f.path, f.copy);
      // The scoring program may have written Membersh.dat while the question was up.
      change.Expect(f.path, f.now);
    }
    // Handicap.ini no longer counts the update, so neither its lines in History.csv nor its .han
    // file would be read as one; still, they go with it, so that nothing takes them for a real
    // one.
    const std::string csv = folder + kHistoryFileName;
    FileError error;
    const std::optional<std::string> text = ReadFileBytes(csv, &error);
    if (!text && error.number != err::kFileNotFound) {
      dialogs.Message(SaveErrorText(csv, error.number, error.description), Buttons::OK, Icon::None);
      return false;
    }
    if (text) {
      change.Write(csv, RewrittenHistory(*text, last.lastSession, std::nullopt, nullptr));
      change.Expect(csv, *text);
    }
    const std::string han = HistoryFileName(folder, last.lastSession);
    if (const std::optional<std::string> bytes = ReadFileBytes(han)) {
      const std::string stem = tag + "-undone";
      change.Create(folder + stem + FreeCopySuffix(folder, {stem}, ".han") + ".han", *bytes);
      change.Remove(han);
      change.Expect(han, *bytes);
    }
  } catch (const RunTimeError& e) {
    dialogs.Message(SaveErrorText(folder, e.number(), e.description()), Buttons::OK, Icon::None);
    return false;
  }
  switch (change.Commit()) {
    case ClubChange::Result::Done: break;
    case ClubChange::Result::Changed:
      return refuse("what its save wrote has changed since.\r\n" + change.changedFile() +
                    " has been written by another program while the question was up.\r\n" +
                    kCorrectInstead);
    case ClubChange::Result::Failed: return false;
  }

  HandicapParameters parameters;
  ReadParameters(folder, parameters);
  context.Parameters = parameters;
  context.NoUpdateYet = parameters.LastUpdated.empty();
  dialogs.Message(kTheUpdate + update + " has been undone.", Buttons::OK, Icon::None);
  return true;
}

}  // namespace pg
