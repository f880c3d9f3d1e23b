// The Handicap.ini reader, and the file every start-up writes back from what it read: that file
// reads again to the same parameters, and writing those again gives the same bytes.
#include <cmath>

#include "Targets.h"
#include "base/Parameters.h"
#include "support/QuietPorts.h"

namespace pg::fuzz {
namespace {

// Values no file is likely to hold, so that a field the second read did not reach shows.
HandicapParameters Unlikely() {
  HandicapParameters p;
  p.DeadZone = {-1.25e-7, 3.75e-7};
  p.HandicapRange = {-987.125, 987.125};
  p.AdjustRate = {6.5e-9, 7.5e-9};
  p.MaxAdjust = {1234.0625, 4321.0625};
  p.RoundingStep = 2.5e-11;
  p.CorrectionDays = -31313;
  p.EgHand = {-65.5e-13, 75.5e-13};
  p.EgGross = 8.125e-5;
  p.EgAve = 9.125e-5;
  p.LastUpdated = "not read";
  return p;
}

void RequireFinite(const HandicapParameters& p) {
  for (const double v : {p.DeadZone[0], p.DeadZone[1], p.HandicapRange[0], p.HandicapRange[1],
                         p.AdjustRate[0], p.AdjustRate[1], p.MaxAdjust[0], p.MaxAdjust[1],
                         p.RoundingStep, p.EgHand[0], p.EgHand[1], p.EgGross, p.EgAve}) {
    Require(std::isfinite(v), "a parameter read is not a finite number");
  }
}

}  // namespace

void ParametersBody(std::string_view input, const std::string& folder) {
  const std::string path = folder + kParameterFileName;
  WriteInput(path, input);
  HandicapParameters p;
  ReadParameters(folder, p);
  RequireFinite(p);

  test::QuietPorts ports;
  Require(WriteParameters(folder, "3.6", p, ports.dialogs), "Handicap.ini cannot be written");
  const std::string written = ParameterFileText("3.6", p);
  HandicapParameters again = Unlikely();
  ReadParameters(folder, again);
  Require(again.LastUpdated == p.LastUpdated, "the date of the last update changed");
  Require(again.CorrectionDays == p.CorrectionDays, "the correction period changed");
  Require(ParameterFileText("3.6", again) == written,
          "the parameters read back do not write the same file");
}

}  // namespace pg::fuzz
