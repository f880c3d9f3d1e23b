#include "Targets.h"

#include <array>
#include <fstream>

namespace pg::fuzz {
namespace {

constexpr std::array<Target, 8> kTargets = {{
    {"session", SessionBody},
    {"members", MembersBody},
    {"parameters", ParametersBody},
    {"hand_records", HandRecordsBody},
    {"catalogue", CatalogueBody},
    {"dates", DatesBody},
    {"numbers", NumbersBody},
    {"history", HistoryBody},
}};

}  // namespace

std::span<const Target> Targets() {
  return kTargets;
}

const Target* FindTarget(std::string_view name, std::span<const Target> among) {
  for (const Target& t : among) {
    if (name == t.name) return &t;
  }
  return nullptr;
}

void Require(bool holds, const std::string& what) {
  if (!holds) throw Finding(what);
}

std::string RunTarget(const Target& target, std::string_view input, const std::string& folder) {
  try {
    target.body(input, folder);
    return "";
  } catch (const Finding& f) {
    return f.what();
  } catch (const std::exception& e) {
    return std::string("an exception left the program's operations: ") + e.what();
  }
}

void WriteInput(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();  // a write the buffer held back fails here, not silently in the destructor
  Require(!out.fail(), "cannot write the input to " + path);
}

}  // namespace pg::fuzz
