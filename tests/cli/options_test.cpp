#include "cli/options.hpp"

#include <gtest/gtest.h>

namespace ovm::cli {
namespace {

struct OptionCase {
  const char* name;
  const char* command;
  std::vector<std::string> args;
  std::string error;  // empty: parsing succeeds
};

class OptionErrorTest : public testing::TestWithParam<OptionCase> {};

TEST_P(OptionErrorTest, ReportsFirstError) {
  const OptionCase& c = GetParam();
  auto result = parse_options(*find_command(c.command), c.args);
  if (c.error.empty()) {
    EXPECT_TRUE(std::holds_alternative<CliOptions>(result));
  } else {
    ASSERT_TRUE(std::holds_alternative<OptionError>(result));
    EXPECT_EQ(std::get<OptionError>(result).message, c.error);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, OptionErrorTest,
    testing::Values(
        OptionCase{"output_without_path", "build", {"m.ovm", "-o"}, "-o needs a path"},
        OptionCase{"profile_without_name", "parse", {"--profile"}, "--profile needs a name"},
        OptionCase{"capitalised_profile", "parse", {"--profile", "Core"},
                   "unknown profile Core, expected core, identification or extended"},
        OptionCase{"json_for_run", "run", {"--json"}, "unknown option --json for this command"},
        OptionCase{"output_for_fmt", "fmt", {"-o", "x"}, "unknown option -o for this command"},
        OptionCase{"lone_dash", "check", {"a.ovm", "-", "b.ovm"}, "unknown option - for this command"},
        OptionCase{"joined_value", "build", {"--profile=core"}, "unknown option --profile=core for this command"},
        OptionCase{"version_after_command", "check", {"-V"}, "unknown option -V for this command"},
        OptionCase{"first_error_wins", "check", {"-x", "--profile"}, "unknown option -x for this command"},
        OptionCase{"output_takes_a_dash_value", "build", {"-o", "--json", "m.ovm"}, ""},
        OptionCase{"repeated_flags", "fmt", {"--check", "a", "--check"}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OptionsTest, GathersPositionalsAndLastValues) {
  std::vector<std::string> args{"a.ovm", "-o", "first", "", "--profile", "extended", "-o", "second", "b.ovm"};
  auto result = parse_options(*find_command("build"), args);
  ASSERT_TRUE(std::holds_alternative<CliOptions>(result));
  const CliOptions& options = std::get<CliOptions>(result);
  EXPECT_EQ(options.positionals, (std::vector<std::string>{"a.ovm", "", "b.ovm"}));
  EXPECT_EQ(options.output, "second");
  EXPECT_EQ(options.profile, sema::Profile::Extended);
  EXPECT_FALSE(options.json);
}

TEST(OptionsTest, DefaultsWithoutOptions) {
  std::vector<std::string> args{"m.ovm"};
  auto result = parse_options(*find_command("parse"), args);
  ASSERT_TRUE(std::holds_alternative<CliOptions>(result));
  const CliOptions& options = std::get<CliOptions>(result);
  EXPECT_EQ(options.profile, sema::Profile::Core);
  EXPECT_FALSE(options.output.has_value());
  EXPECT_FALSE(options.json);
  EXPECT_FALSE(options.check);
}

}  // namespace
}  // namespace ovm::cli
