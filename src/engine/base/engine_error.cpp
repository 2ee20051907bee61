#include "engine/base/engine_error.hpp"

namespace ovm::engine {

EngineError step_limit_error() {
  return EngineError{"OV301", "the stopping condition was not reached within a million steps"};
}

}  // namespace ovm::engine
