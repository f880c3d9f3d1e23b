#include "history/Undo.h"

#include <new>

#include "base/Files.h"
#include "base/Guard.h"
#include "base/Parameters.h"

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

std::string UpdateName(Date lastSession) {
  return FormatDate(lastSession, "dddd dd mmm yyyy");
}

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

  if (!history.lastUpdate || *history.lastUpdate != last.lastSession)
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
    if (f.written->copy.empty())
      return refuse(std::string("its save kept no copy of ") + names[i] + " to put back.");
    FileError error;
    std::optional<std::string> copy = ReadFileBytes(folder + f.written->copy, &error);
    if (!copy)
      return refuse("the copy " + folder + f.written->copy +
                    " that its save kept cannot be read - " + error.description + ".");
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
  // The scoring program may have written Membersh.dat while the question was up.
  for (Restored& f : files) {
    FileError error;
    std::optional<std::string> now = ReadFileBytes(f.path, &error);
    if (!now || *now != f.now) {
      f.toRestore = false;
      f.now = now.value_or("");
    }
  }
  if (const std::string why = changedSince(); !why.empty()) return refuse(why);

  std::string file;
  FileError error;
  auto failed = [&] {
    dialogs.Message(SaveErrorText(file, error.number, error.description), Buttons::OK, Icon::None);
    return false;
  };
  const std::string tag = FormatDate(last.lastSession, "yymmdd");
  bool restored = false;
  try {
    // What is undone is kept, under names no save or undo uses again.
    const std::string stems[2] = {"Membersh-undone-" + tag, "Handicap-undone-" + tag};
    const std::string suffix = FreeCopySuffix(folder, {stems[0], stems[1]}, ".bak");
    for (int i = 0; i < 2; ++i) {
      file = folder + stems[i] + suffix + ".bak";
      if (files[i].toRestore && !ReplaceFile(file, files[i].now, error)) return failed();
    }
    file = files[0].path;
    if (files[0].toRestore && !ReplaceFile(file, files[0].copy, error)) return failed();
    file = files[1].path;
    if (files[1].toRestore && !ReplaceFile(file, files[1].copy, error)) {
      failed();
      if (!files[0].toRestore) return false;
      file = files[0].path;
      if (ReplaceFile(file, files[0].now, error)) return false;
      failed();
      dialogs.Message(kHalfUndone, Buttons::OK, Icon::Warning);
      return false;
    }
    restored = true;

    // Handicap.ini no longer counts the update, so neither its lines in History.csv nor its .han
    // file (later than the history file's first update) is read as one now; still, they go, so
    // that nothing takes them for a real one. A failure here stops the tidying, not the undo.
    file = folder + kHistoryFileName;
    const std::optional<std::string> text = ReadFileBytes(file, &error);
    bool tidy = text || error.number == err::kFileNotFound;
    if (tidy && text)
      tidy = ReplaceFile(file, RewrittenHistory(*text, last.lastSession, std::nullopt, nullptr),
                         error);
    if (!tidy) failed();
    const std::string han = HistoryFileName(folder, last.lastSession);
    if (tidy && FileExists(han)) {
      const std::string stem = tag + "-undone";
      file = folder + stem + FreeCopySuffix(folder, {stem}, ".han") + ".han";
      if (!RenameFile(han, file, error)) failed();
    }
  } catch (const RunTimeError& e) {
    error = {e.number(), e.description()};
    failed();
  } catch (const std::bad_alloc&) {
    error = {err::kOutOfMemory, ErrorDescription(err::kOutOfMemory)};
    failed();
  }
  if (!restored) return false;

  HandicapParameters parameters;
  ReadParameters(folder, parameters);
  context.Parameters = parameters;
  context.NoUpdateYet = parameters.LastUpdated.empty();
  // What the last save of this run wrote is no longer the club's.
  context.SavedFiles.clear();
  dialogs.Message(kTheUpdate + update + " has been undone.", Buttons::OK, Icon::None);
  return true;
}

}  // namespace pg
