// make-sample-club [folder]: writes the sample club into folder (by default the project's own
// examples/sample-club), so that a change to the generator can be looked at and committed.
#include <exception>
#include <iostream>

#include "SampleClub.h"

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : PG_SAMPLE_CLUB_FOLDER;
  try {
    const auto files = pg::sample::WriteSampleClub(folder);
    std::cout << "wrote " << files.size() << " files to " << folder << "\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "make-sample-club: " << e.what() << "\n";
    return 1;
  }
}
