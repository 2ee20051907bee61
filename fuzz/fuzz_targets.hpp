#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ovm::fuzz {

// What a target found wrong with one input, described for the person who reads the report;
// nothing when the input went through as it must. Crashes and sanitizer reports are findings
// too, which the process reports itself.
using Finding = std::optional<std::string>;

// One input format under the fuzzer: the libFuzzer binary <name>_fuzzer runs `check` on every
// input, and the regression test replays tests/fuzz/regressions/<name>/ through it.
struct FuzzTarget {
  std::string_view name;
  Finding (*check)(std::string_view bytes);
};

std::span<const FuzzTarget> fuzz_targets();

// The target of that name, or null.
const FuzzTarget* find_fuzz_target(std::string_view name);

}  // namespace ovm::fuzz
