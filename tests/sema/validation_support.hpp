#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "diagnostics/diagnostic.hpp"
#include "sema/profile.hpp"

namespace ovm::sema::testing {

// A diagnostic as a test states it: the code, the label, and the span as the source text it
// covers, found at the given occurrence (0 for the first) of that text in the model.
struct Expected {
  std::string code;
  std::string label;
  std::string at;
  int occurrence = 0;
  std::optional<std::string> help = std::nullopt;  // compared only when given
};

// A diagnostic reduced to the same terms, with the span as offsets.
struct Found {
  std::string code;
  std::string label;
  std::uint32_t start = 0;
  std::uint32_t end = 0;
  std::optional<std::string> help;

  friend bool operator==(const Found&, const Found&) = default;
};

void PrintTo(const Found& found, std::ostream* os);

// The model parsed (a parse error fails the test), resolved under `profile` and validated:
// validation's own diagnostics only.
diagnostics::Diagnostics validation_of(std::string_view model, Profile profile = Profile::Extended);

// The validation diagnostics of the model, in order, compared with the expected ones.
void expect_validation(std::string_view model, const std::vector<Expected>& expected,
                       Profile profile = Profile::Extended);

// One model and every validation finding expected for it, in order. The suites instantiate
// `ValidationCaseTest` with their own tables; its one test runs `expect_validation`.
struct Case {
  const char* name;
  std::string model;
  std::vector<Expected> expected;
};

class ValidationCaseTest : public ::testing::TestWithParam<Case> {};

std::string case_name(const ::testing::TestParamInfo<Case>& info);

// Declares the ratio a FRACTIONATION block of a case fractionates, after the case's own text,
// so that the spans and occurrences the case expects stay as they are.
inline const std::string ratio_declared_below = "\nISOTOPES\n    ratio 53Cr/52Cr\n";

}  // namespace ovm::sema::testing
