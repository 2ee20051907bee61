#include "cli/run_command.hpp"

#include <gtest/gtest.h>

#include <string>

namespace ovm::cli {
namespace {

struct PathCase {
  std::string model;
  std::string results;
};

class ResultsOutputPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(ResultsOutputPathTest, BesideTheModel) {
  EXPECT_EQ(results_output_path(GetParam().model), GetParam().results);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ResultsOutputPathTest,
    ::testing::Values(PathCase{"m.ovmir.json", "m.results.json"},                // the current directory
                      PathCase{"runs/m.ovmir.json", "runs/m.results.json"},      // the model's directory
                      PathCase{"./m.ovmir.json", "./m.results.json"},          // a parent of "." is kept
                      PathCase{"/abs/m.ovmir.json", "/abs/m.results.json"},
                      PathCase{"m.json", "m.results.json"},                      // no inner .ovmir to drop
                      PathCase{"m.ovmir", "m.results.json"},                     // .ovmir as the last extension
                      PathCase{"a.ovmir.ovmir.json", "a.results.json"},          // every .ovmir goes
                      PathCase{"a.ovmirb.ovmir.json", "ab.results.json"},        // also inside the stem
                      PathCase{"x.ovmir.d/m.ovmir.json", "x.ovmir.d/m.results.json"},  // the directory keeps it
                      PathCase{"noext", "noext.results.json"},
                      PathCase{"", "model.results.json"},                        // no file name
                      PathCase{"/", "model.results.json"}));

}  // namespace
}  // namespace ovm::cli
