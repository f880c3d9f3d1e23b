#pragma once

#include <gtest/gtest.h>

#include <string>

#include "base/Context.h"
#include "session/Session.h"
#include "session/SessionFile.h"
#include "support/ScriptedPorts.h"
#include "support/SessionWriter.h"
#include "support/TempFolder.h"

namespace pg::test {

// A temporary results folder, scripted ports and one current session, as the reader sees them.
class SessionFixture : public ::testing::Test {
 protected:
  // Puts text in the folder under name and points the session at it.
  std::string Place(const std::string& text, const std::string& name = "0302S1.AFT") {
    WriteBytes(dir / name, text);
    PointAt(name);
    return dir / name;
  }
  void PointAt(const std::string& name) {
    s.BasePath = dir / name.substr(0, name.find('.'));
    s.Extension = name.substr(name.find('.') + 1);
  }
  void Read(const SessionPlan& plan, const std::string& name = "0302S1.AFT") {
    Place(SessionText(plan), name);
    ReadSession(s, ctx);
  }
  void ReadText(const std::string& text, const std::string& name = "0302S1.AFT") {
    Place(text, name);
    ReadSession(s, ctx);
  }
  std::string ReadError(const std::string& description, const std::string& name = "0302S1.AFT") {
    return description + " whilst reading file " + (dir / name);
  }

  TempFolder dir;
  ScriptedPorts ports;
  Context ctx{ports.ports()};
  Session s;
};

}  // namespace pg::test
