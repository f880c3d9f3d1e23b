#pragma once

#include <array>
#include <string>

#include "base/Errors.h"
#include "base/Ports.h"

namespace pg {

// The club's parameter set, with the defaults a new club starts from. Index 0 and 1 are
// "lower"/"upper" for the dead zone and the range, and "above"/"below the dead zone" for the
// rates and the largest adjustments.
struct HandicapParameters {
  std::array<double, 2> DeadZone{-2, 2};
  std::array<double, 2> HandicapRange{-12, 6};
  std::array<double, 2> AdjustRate{0.1, 0.2};
  std::array<double, 2> MaxAdjust{1, 1};
  double RoundingStep = 0.01;
  short CorrectionDays = 7;
  // The worked example the parameter editor shows; kept with the parameters, never used.
  std::array<double, 2> EgHand{-1, 3};
  double EgGross = 56;
  double EgAve = 51.23;
  double EgNet() const { return EgGross + EgHand[0] + EgHand[1]; }
  // The date of the last session used by the last saved update, as the catalogue writes it
  // ("25 September 2006 "), or empty before the first update.
  std::string LastUpdated;
};

// Puts into `to` the parameters an update applies (the dead zone, the range, the rounding step,
// the rates and the largest adjustments) as `from` has them; the rest of `to` stays.
void TakeUpdateParameters(HandicapParameters& to, const HandicapParameters& from);

inline constexpr const char* kParameterFileName = "Handicap.ini";

// The five lines of Handicap.ini for these parameters, each ended by CR LF.
std::string ParameterFileText(const std::string& programVersion, const HandicapParameters& p);

// Reads the text of a Handicap.ini into p as ReadParameters does; true when every field was
// there, as in a file the program wrote.
bool ParametersFromText(std::string text, HandicapParameters& p);

// The Handicap.ini text `now` with the date of the last update that `before` records: a
// change of that date undone while parameters saved since stay.
std::string WithLastUpdatedOf(const std::string& now, const std::string& before,
                              const std::string& programVersion);

// Reads folder + "Handicap.ini" into p. Reading stops silently at the first item that is missing
// or does not fit its field; the fields not reached keep their values.
void ReadParameters(const std::string& handicapFolder, HandicapParameters& p);

// Replaces folder + "Handicap.ini" whole, creating the folder when it is missing. On failure shows
// "Error cannot save " + folder + "handicap.ini - error " + number + " " + description and
// returns false; the file on disk and the parameters in memory stay as they were.
bool WriteParameters(const std::string& handicapFolder, const std::string& programVersion,
                     const HandicapParameters& p, Dialogs& dialogs);

}  // namespace pg
