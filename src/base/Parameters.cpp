#include "base/Parameters.h"

#include "base/Files.h"
#include "base/Items.h"

namespace pg {

void TakeUpdateParameters(HandicapParameters& to, const HandicapParameters& from) {
  to.DeadZone = from.DeadZone;
  to.HandicapRange = from.HandicapRange;
  to.RoundingStep = from.RoundingStep;
  to.AdjustRate = from.AdjustRate;
  to.MaxAdjust = from.MaxAdjust;
}

std::string ParameterFileText(const std::string& programVersion, const HandicapParameters& p) {
  ItemWriter w;
  w.Text(programVersion).EndLine();
  // Only a damaged file gives a text holding a double quote, and only as a bare item; quoted,
  // it would read back cut at that quote, so it goes back bare, as it came.
  if (p.LastUpdated.empty())
    w.Empty();
  else if (p.LastUpdated.find('"') != std::string::npos)
    w.Bare(p.LastUpdated);
  else
    w.Text(p.LastUpdated);
  w.EndLine();
  w.Number(p.EgAve).Number(p.EgGross).Number(p.RoundingStep).Number(p.CorrectionDays).EndLine();
  for (int i = 0; i < 2; ++i) {
    w.Number(p.EgHand[i])
        .Number(p.DeadZone[i])
        .Number(p.HandicapRange[i])
        .Number(p.AdjustRate[i])
        .Number(p.MaxAdjust[i])
        .EndLine();
  }
  return w.str();
}

void ReadParameters(const std::string& handicapFolder, HandicapParameters& p) {
  if (auto bytes = ReadFileBytes(handicapFolder + kParameterFileName))
    ParametersFromText(std::move(*bytes), p);
}

std::string WithLastUpdatedOf(const std::string& now, const std::string& before,
                              const std::string& programVersion) {
  HandicapParameters current, old;
  ParametersFromText(now, current);
  ParametersFromText(before, old);
  current.LastUpdated = old.LastUpdated;
  return ParameterFileText(programVersion, current);
}

bool ParametersFromText(std::string text, HandicapParameters& p) {
  ItemReader r(std::move(text));
  try {
    r.ReadText();  // the version that wrote the file
    p.LastUpdated = r.ReadText();
    p.EgAve = r.ReadDouble();
    p.EgGross = r.ReadDouble();
    p.RoundingStep = r.ReadDouble();
    p.CorrectionDays = r.ReadInt16();
    for (int i = 0; i < 2; ++i) {
      p.EgHand[i] = r.ReadDouble();
      p.DeadZone[i] = r.ReadDouble();
      p.HandicapRange[i] = r.ReadDouble();
      p.AdjustRate[i] = r.ReadDouble();
      p.MaxAdjust[i] = r.ReadDouble();
    }
  } catch (const RunTimeError&) {
    // A short or damaged file keeps what it could give; the rest stays as it was.
    return false;
  }
  return true;
}

bool WriteParameters(const std::string& handicapFolder, const std::string& programVersion,
                     const HandicapParameters& p, Dialogs& dialogs) {
  const std::string path = handicapFolder + kParameterFileName;
  const std::string text = ParameterFileText(programVersion, p);
  FileError error;
  bool ok = ReplaceFile(path, text, error);
  if (!ok && error.number == err::kPathNotFound && CreateFolder(handicapFolder, error)) {
    ok = ReplaceFile(path, text, error);
  }
  if (!ok) {
    dialogs.Message("Error cannot save " + handicapFolder + "handicap.ini - error " +
                        std::to_string(error.number) + " " + error.description,
                    Buttons::OK, Icon::None);
  }
  return ok;
}

}  // namespace pg
