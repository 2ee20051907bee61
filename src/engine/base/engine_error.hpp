#pragma once

#include <string>

namespace ovm::engine {

// The error value of every engine step that can fail. The run driver turns the first one of a
// run into the single error diagnostic of its results, so nothing is thrown.
struct EngineError {
  std::string code;     // a catalogue code text, OV and three digits
  std::string message;  // already formatted

  friend bool operator==(const EngineError&, const EngineError&) = default;
};

// The time-driven loop gives up after a million steps.
EngineError step_limit_error();

}  // namespace ovm::engine
