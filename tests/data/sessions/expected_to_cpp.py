#!/usr/bin/env python3
"""Turns expected.json into tests/support/ExpectedSessions.cpp, so that C++ tests can check the
session files against it without a JSON reader. Run it again whenever expected.json changes:
    python3 tests/data/sessions/expected_to_cpp.py && clang-format -i tests/support/ExpectedSessions.cpp
"""
import json
import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "..", "support", "ExpectedSessions.cpp")

FIELDS = [  # (json key, C++ member, kind)
    ("file", "file", "str"),
    ("SessionFileVersion", "SessionFileVersion", "str"),
    ("EventName", "EventName", "str"),
    ("SessionDate", "SessionDate", "str"),
    ("RoundCount", "RoundCount", "short"),
    ("RowCount", "RowCount", "short"),
    ("BoardsPerRound", "BoardsPerRound", "short"),
    ("NSPairCount", "NSPairCount", "short"),
    ("PairCount", "PairCount", "short"),
    ("MovementName", "MovementName", "ostr"),
    ("PhantomPair", "PhantomPair", "oshort"),
    ("WinnerCount", "WinnerCount", "oshort"),
    ("ScoringType", "ScoringType", "ostr"),
    ("RoundsPlayed", "RoundsPlayed", "oshort"),
    ("WantHandicaps", "WantHandicaps", "oshort"),
    ("PasswordState", "PasswordState", "oshort"),
    ("HandRecordFile", "HandRecordFile", "ostr"),
    ("Score_board1", "ScoreBoard1", "scores"),
    ("Players_names", "PlayerNames", "strs"),
    ("PlayerHandicaps", "PlayerHandicaps", "nums"),
    ("PairPercent", "PairPercent", "nums"),
    ("PairPos", "PairPos", "strs"),
    ("Top", "Top", "oshort"),
    ("FieldAverage", "FieldAverage", "nums"),
]


def cstr(s):
    return json.dumps(s)  # a JSON string is a valid C++ string literal for this data


def num(x):
    return repr(float(x))


def value(kind, v):
    if kind in ("str", "ostr"):
        return cstr(v)
    if kind in ("short", "oshort"):
        return str(int(v))
    if kind == "strs":
        return "{" + ", ".join(cstr(x) for x in v) + "}"
    if kind == "nums":
        return "{" + ", ".join(num(x) for x in v) + "}"
    if kind == "scores":
        def side(x):
            return "std::nullopt" if x is None else num(x)
        return "{" + ", ".join("{%s, %s}" % (side(a), side(b)) for a, b in v) + "}"
    raise ValueError(kind)


def main():
    with open(os.path.join(HERE, "expected.json")) as f:
        data = json.load(f)
    known = {k for k, _, _ in FIELDS}
    for entry in data:
        unknown = set(entry) - known
        if unknown:
            raise SystemExit("unknown keys in expected.json: %s" % sorted(unknown))
    out = ["// Generated from tests/data/sessions/expected.json by "
           "tests/data/sessions/expected_to_cpp.py; do not edit.",
           '#include "support/ExpectedSessions.h"', "", "namespace pg::test {", "",
           "const std::vector<ExpectedSession>& ExpectedSessions() {",
           "  static const std::vector<ExpectedSession> sessions = {"]
    for entry in data:
        out.append("      {")
        for key, member, kind in FIELDS:
            if key in entry:
                out.append("          .%s = %s," % (member, value(kind, entry[key])))
        out.append("      },")
    out += ["  };", "  return sessions;", "}", "", "}  // namespace pg::test", ""]
    with open(OUT, "w") as f:
        f.write("\n".join(out))


if __name__ == "__main__":
    main()
