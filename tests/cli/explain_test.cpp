#include "cli/explain.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "read_back.hpp"

namespace ovm::cli {
namespace {

using diagnostics::DiagnosticCode;

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome explain(std::vector<std::string> positionals) {
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  Console console{out, err};
  int status = cmd_explain(positionals, console);
  Outcome run{status, read_back(out), read_back(err)};
  std::fclose(out);
  std::fclose(err);
  return run;
}

// The upper-case texts are checked byte for byte by the end-to-end cases; here every code,
// typed in lower case and in two mixed cases, must give exactly those bytes.
TEST(ExplainTest, EveryCodeInAnyCaseGivesTheUpperCaseText) {
  for (std::size_t i = 0; i < DiagnosticCode::count; ++i) {
    std::string upper(DiagnosticCode::from_index(i).as_str());
    Outcome expected = explain({upper});
    ASSERT_EQ(expected.status, 0) << upper;
    ASSERT_EQ(expected.out.substr(0, upper.size() + 2), upper + ": ");

    std::string lower = upper;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string mixed_o = "o" + upper.substr(1);
    std::string mixed_v = "O" + lower.substr(1);
    for (const std::string& typed : {lower, mixed_o, mixed_v}) {
      Outcome run = explain({typed});
      EXPECT_EQ(run.status, 0) << typed;
      EXPECT_EQ(run.out, expected.out) << typed;
      EXPECT_EQ(run.err, "") << typed;
    }
  }
}

TEST(ExplainTest, UnknownOrMissingCodeIsABadInvocation) {
  Outcome none = explain({});
  EXPECT_EQ(none.status, 2);
  EXPECT_EQ(none.out, "");
  EXPECT_EQ(none.err, "explain needs a code, for example OV213\n");

  for (const char* typed : {"OV203", "OV206", "OV209", "ov2130", "OV21", "", "OV 01"}) {
    Outcome run = explain({typed});
    EXPECT_EQ(run.status, 2) << typed;
    EXPECT_EQ(run.out, "") << typed;
    EXPECT_EQ(run.err, std::string(typed) + " is not a known diagnostic code\n");
  }
}

}  // namespace
}  // namespace ovm::cli
