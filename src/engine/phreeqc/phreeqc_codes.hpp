#pragma once

namespace ovm::engine {

// The codes of the errors of a PHREEQC backend run.
inline constexpr const char* backend_unavailable_code = "OV401";
inline constexpr const char* backend_failure_code = "OV402";
inline constexpr const char* backend_timeout_code = "OV403";

}  // namespace ovm::engine
