#include "cli/command_table.hpp"

#include <gtest/gtest.h>

namespace ovm::cli {
namespace {

TEST(CommandTableTest, UsageLinesPadTheJoinedTextToFifteen) {
  EXPECT_EQ(command_line(*find_command("check"), 15), "  check <file>...  report diagnostics");
  EXPECT_EQ(command_line(*find_command("run"), 15), "  run <model>      execute a lowered model");
  EXPECT_EQ(command_line(*find_command("explain"), 15), "  explain <code>   describe a diagnostic code");
  // A longer text is not cut.
  EXPECT_EQ(command_line(*find_command("fmt"), 5), "  fmt <file>...  rewrite in canonical form, or verify");
}

TEST(CommandTableTest, UsageTextHasTheTemplateLength) {
  std::string usage = usage_text();
  std::size_t commands_length = 0;
  for (const CommandSpec& command : command_table) commands_length += command_line(command, 15).size();
  // The template is 446 bytes holding "{commands}" once; the six lines join with five LFs.
  EXPECT_EQ(usage.size(), 446 - 10 + commands_length + 5);
  EXPECT_EQ(usage.find("{commands}"), std::string::npos);
  EXPECT_EQ(usage.back(), '\n');
}

TEST(CommandTableTest, CommandWordsAreCaseSensitive) {
  EXPECT_NE(find_command("check"), nullptr);
  EXPECT_EQ(find_command("Check"), nullptr);
  EXPECT_EQ(find_command("--json"), nullptr);
  EXPECT_EQ(find_command(""), nullptr);
}

TEST(CommandTableTest, HelpListsOnlyAcceptedOptions) {
  EXPECT_EQ(command_help(*find_command("explain")),
            "usage: ovm explain [options] <code>\n"
            "\n"
            "describe a diagnostic code\n"
            "\n"
            "options:\n"
            "  --help             print this text and exit\n");
  EXPECT_EQ(command_help(*find_command("build")),
            "usage: ovm build [options] <file>\n"
            "\n"
            "lower to the intermediate representation\n"
            "\n"
            "options:\n"
            "  --profile <name>   core, identification or extended. Default core\n"
            "                     Core is always accepted whatever else is declared\n"
            "  -o <path>          write here instead of beside the input\n"
            "  --help             print this text and exit\n");
}

}  // namespace
}  // namespace ovm::cli
