// A model the checks pass builds into a file run reads, or build refuses it and writes nothing:
// check, build and run in turn on models that each end at one of the three.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/build_command.hpp"
#include "cli/check_command.hpp"
#include "cli/run_command.hpp"
#include "read_back.hpp"

namespace ovm::cli {
namespace {

namespace fs = std::filesystem;

enum class Ends { AtCheck, AtBuild, Runs };

struct PipelineCase {
  std::string name;
  std::string parameters;  // the lines of the PARAMETERS block
  Ends ends;
  std::string build_says = "";  // a line build prints when it refuses
};

std::string sum_of(int terms) {
  std::string text = "1";
  for (int i = 1; i < terms; ++i) text += " + 1";
  return text;
}

std::string calls_of(int depth) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += "abs(";
  text += "2";
  for (int i = 0; i < depth; ++i) text += ")";
  return text;
}

std::string model_with(const std::string& parameters) {
  return "UNITS\n    concentration umol/kgw\n\nRESERVOIR Aquifer\n    volume 1 L\n    Cr(VI) 10\n\n"
         "PARAMETERS\n" + parameters + "\nMODEL Run\n    progress extent\n\nOUTPUT\n    variable k\n";
}

struct Outcome {
  int status;
  std::string err;
};

class ModelPipelineTest : public testing::TestWithParam<PipelineCase> {
 protected:
  void SetUp() override {
    std::string name = (fs::temp_directory_path() / "ovm-pipeline-XXXXXX").string();
    ASSERT_NE(::mkdtemp(name.data()), nullptr);
    dir_ = name;
  }
  void TearDown() override { fs::remove_all(dir_); }

  template <class Command>
  Outcome run(Command command) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    Console console{out, err};
    int status = command(console);
    Outcome result{status, read_back(err)};
    std::fclose(out);
    std::fclose(err);
    return result;
  }

  fs::path dir_;
};

TEST_P(ModelPipelineTest, EndsWhereExpected) {
  const PipelineCase& test = GetParam();
  std::vector<std::string> source{(dir_ / "m.ovm").string()};
  std::vector<std::string> lowered{(dir_ / "m.ovmir.json").string()};
  std::ofstream(source[0]) << model_with(test.parameters);

  int checked = run([&](Console& c) { return cmd_check(source, sema::Profile::Core, c); }).status;
  ASSERT_EQ(checked != 0, test.ends == Ends::AtCheck) << test.name;
  if (test.ends == Ends::AtCheck) return;

  Outcome built = run([&](Console& c) { return cmd_build(source, std::nullopt, sema::Profile::Core, c); });
  if (test.ends == Ends::AtBuild) {
    EXPECT_EQ(built.status, 1);
    EXPECT_NE(built.err.find(test.build_says), std::string::npos) << built.err;
    EXPECT_FALSE(fs::exists(lowered[0]));
    return;
  }
  ASSERT_EQ(built.status, 0) << built.err;
  Outcome ran = run([&](Console& c) { return cmd_run(lowered, std::nullopt, c); });
  EXPECT_EQ(ran.status, 0) << ran.err;
  EXPECT_TRUE(fs::exists(dir_ / "m.results.json"));
}

const std::string too_deep = "  parameter `k`: its value is nested deeper than a lowered model file holds";

INSTANTIATE_TEST_SUITE_P(
    Parameters, ModelPipelineTest,
    testing::Values(PipelineCase{"forward_reference", "    k = j * 2\n    j = 3\n", Ends::Runs},
                    PipelineCase{"self_reference", "    k = k\n", Ends::AtCheck},
                    PipelineCase{"cycle", "    k = j + 1\n    j = k - 1\n", Ends::AtCheck},
                    PipelineCase{"reservoir_operand", "    k = Aquifer * 2\n", Ends::AtCheck},
                    PipelineCase{"dotted_operand", "    k = Aquifer.Cr(VI) / 2\n", Ends::AtCheck},
                    PipelineCase{"string_operand", "    k = 2 * \"two\"\n", Ends::AtCheck},
                    PipelineCase{"date_operand", "    k = 1 + 2024-01-15\n", Ends::AtCheck},
                    PipelineCase{"overflowing_number", "    k = 1e400\n", Ends::AtBuild,
                                 "  parameter `k`: its value holds a number that is not finite"},
                    // Not folded: the number is finite in the file; evaluating it is the run's affair.
                    PipelineCase{"overflowing_call", "    k = exp(1000)\n", Ends::Runs},
                    PipelineCase{"sum_of_62_terms", "    k = " + sum_of(62) + "\n", Ends::Runs},
                    PipelineCase{"sum_of_63_terms", "    k = " + sum_of(63) + "\n", Ends::AtBuild, too_deep},
                    PipelineCase{"calls_41_deep", "    k = " + calls_of(41) + "\n", Ends::Runs},
                    PipelineCase{"calls_42_deep", "    k = " + calls_of(42) + "\n", Ends::AtBuild, too_deep}),
    [](const testing::TestParamInfo<PipelineCase>& info) { return info.param.name; });

}  // namespace
}  // namespace ovm::cli
