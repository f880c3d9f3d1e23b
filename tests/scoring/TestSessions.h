#pragma once

#include <string>

#include "base/Context.h"
#include "session/Session.h"
#include "support/ScriptedPorts.h"

namespace pg::test {

// A session made in memory: `pairs` pairs, `boards` boards of `rows` rows each, every score
// Null as a read leaves a row without a result, every row naming no pair.
Session MakeSession(short pairs, short boards, short rows, const std::string& type = "Pairs");

// Row `row` of `board`: North-South pair ns against East-West pair ew, with both sides' scores.
void SetRow(Session& s, short board, short row, short ns, short ew, const CellValue& nsScore,
            const CellValue& ewScore);
// The same with a plain score: East-West scores its negative.
void SetRow(Session& s, short board, short row, short ns, short ew, double nsScore);

// A program context on scripted ports, for operations that report errors.
struct ScoringContext {
  ScriptedPorts ports;
  Context ctx{ports.ports()};
};

}  // namespace pg::test
