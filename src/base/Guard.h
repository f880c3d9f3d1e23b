#pragma once

#include <exception>
#include <new>
#include <string>
#include <utility>

#include "base/Errors.h"
#include "base/Ports.h"

namespace pg {

// Shows where an unexpected failure happened, with its description, number and statement, and
// asks whether to go on: No ends the program at once, Yes returns to the caller.
void ReportError(Dialogs& dialogs, const std::string& where, const RunTimeError& error, int line);

// Runs an operation's numbered steps (100, 110, 120, ...). A step that fails is reported with
// ReportError; on Yes the operation goes on with its next step, with whatever the failed step
// left behind.
class Guard {
 public:
  Guard(Dialogs& dialogs, std::string where) : dialogs_(dialogs), where_(std::move(where)) {}

  // True when the step ran to its end.
  template <class F>
  bool Step(int line, F&& body) {
    try {
      std::forward<F>(body)();
      return true;
    } catch (const RunTimeError& e) {
      ReportError(dialogs_, where_, e, line);
    } catch (const std::bad_alloc&) {
      ReportError(dialogs_, where_, RunTimeError(err::kOutOfMemory), line);
    } catch (const std::out_of_range&) {
      ReportError(dialogs_, where_, RunTimeError(err::kSubscript), line);
    } catch (const std::length_error&) {
      ReportError(dialogs_, where_, RunTimeError(err::kOutOfMemory), line);
    } catch (const std::exception& e) {
      ReportError(dialogs_, where_, RunTimeError(err::kInvalidCall, e.what()), line);
    }
    return false;
  }

  const std::string& where() const { return where_; }
  Dialogs& dialogs() { return dialogs_; }

 private:
  Dialogs& dialogs_;
  std::string where_;
};

}  // namespace pg
