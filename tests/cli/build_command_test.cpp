#include "cli/build_command.hpp"

#include <gtest/gtest.h>

#include <string>

namespace ovm::cli {
namespace {

struct PathCase {
  std::string source;
  std::string output;
};

class IrOutputPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(IrOutputPathTest, BesideTheSource) { EXPECT_EQ(ir_output_path(GetParam().source), GetParam().output); }

INSTANTIATE_TEST_SUITE_P(
    Paths, IrOutputPathTest,
    ::testing::Values(PathCase{"m.ovm", "m.ovmir.json"},                      // the current directory
                      PathCase{"models/m.ovm", "models/m.ovmir.json"},        // the source's directory
                      PathCase{"/abs/dir/m.ovm", "/abs/dir/m.ovmir.json"},
                      PathCase{"/m.ovm", "/m.ovmir.json"},
                      PathCase{"a.b.ovm", "a.b.ovmir.json"},                  // only the last extension goes
                      PathCase{"noext", "noext.ovmir.json"},
                      PathCase{".hidden", ".hidden.ovmir.json"},              // its only dot leads
                      PathCase{"dir/.hidden.ovm", "dir/.hidden.ovmir.json"},
                      PathCase{"models/", "models.ovmir.json"},
                      PathCase{"", "model.ovmir.json"},                       // no file name
                      PathCase{"/", "model.ovmir.json"},
                      PathCase{"up/..", "up/model.ovmir.json"},
                      PathCase{"..", "model.ovmir.json"}));

}  // namespace
}  // namespace ovm::cli
