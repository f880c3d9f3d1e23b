#pragma once

#include <string>

namespace pg {

// What the About box says: the program and its version, what it is for, its copyright and its
// licence, and where the licence's text is (a file, or when none is installed, the web page).
std::string AboutText(const std::string& version, const std::string& licenceFile);

// The licence's text as the packages install it: LICENSE.txt beside the program (Windows), or
// share/doc/pairgauge/copyright beside the bin folder it runs from (Linux). Empty when neither
// is there, as in a build tree.
std::string FindLicenceFile(const std::string& programFolder);

inline constexpr const char* kLicenceWebPage = "https://www.gnu.org/licenses/gpl-3.0.html";

}  // namespace pg
