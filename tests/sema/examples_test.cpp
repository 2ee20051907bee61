// Every example model shipped with the project checks clean.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <variant>

#include "diagnostics/text_file.hpp"
#include "sema/analysis.hpp"
#include "syntax/parser.hpp"

namespace ovm::sema {
namespace {

std::filesystem::path examples_folder() {
  return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "examples";
}

struct Example {
  const char* file;
  Profile profile;  // the profile the example is checked with
};

class ExampleModelTest : public ::testing::TestWithParam<Example> {};

TEST_P(ExampleModelTest, ChecksClean) {
  std::filesystem::path path = examples_folder() / GetParam().file;
  auto read = diagnostics::read_text_file(path.string());
  ASSERT_TRUE(std::holds_alternative<std::string>(read)) << "cannot read " << path;
  syntax::ParseOutput tree = syntax::parse_source(std::get<std::string>(read), 0);
  Analysis analysis = analyze(tree, GetParam().profile);
  diagnostics::Diagnostics all = tree.diagnostics;
  all.insert(all.end(), analysis.diagnostics.begin(), analysis.diagnostics.end());
  for (const diagnostics::Diagnostic& d : all) {
    ADD_FAILURE() << GetParam().file << ": " << d.code.as_str() << " at " << d.span.start << ": "
                  << d.label.value_or("") << (d.help ? " (" + *d.help + ")" : "");
  }
  EXPECT_FALSE(tree.blocks.empty());
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleModelTest,
                         ::testing::Values(Example{"cr_reduction_rayleigh.ovm", Profile::Core},
                                           Example{"two_source_mixing.ovm", Profile::Core},
                                           Example{"identify_cr_process.ovm", Profile::Identification}),
                         [](const auto& info) {
                           std::string name = info.param.file;
                           return name.substr(0, name.find('.'));
                         });

// Each example in the folder is listed above, so a new one is never left unchecked.
TEST(ExampleModelTest, EveryExampleIsChecked) {
  std::size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(examples_folder())) {
    if (entry.path().extension() == ".ovm") ++count;
  }
  EXPECT_EQ(count, 3u);
}

}  // namespace
}  // namespace ovm::sema
