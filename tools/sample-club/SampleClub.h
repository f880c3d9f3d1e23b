#pragma once

#include <string>
#include <vector>

namespace pg::sample {

// One file of the sample club: its path under the club folder ('/' between folders) and what it
// is there to show.
struct SampleFile {
  std::string path;
  std::string purpose;
};

// Writes the sample club into folder (created when missing): Membersh.dat, two months of session
// files under RES2026/, the two hand-record files they name and README.md, which lists every
// file with its purpose. The same folder comes out byte for byte on every run and every
// platform. Returns the files in the order README.md lists them; throws std::runtime_error when
// a file cannot be written or a session the program would reject was made.
std::vector<SampleFile> WriteSampleClub(const std::string& folder);

}  // namespace pg::sample
