#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "front_end_pipeline.hpp"
#include "fuzz_targets.hpp"

namespace {

namespace fs = std::filesystem;

std::string read_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

// The files of one folder in name order, so that a report names the same file every time.
std::vector<fs::path> files_in(const fs::path& folder) {
  std::vector<fs::path> files;
  if (!fs::is_directory(folder)) return files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file() && entry.path().filename() != "README") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<std::string> target_names() {
  std::vector<std::string> names;
  for (const ovm::fuzz::FuzzTarget& target : ovm::fuzz::fuzz_targets()) names.emplace_back(target.name);
  return names;
}

class FuzzRegressionTest : public testing::TestWithParam<std::string> {};

// Each file under regressions/<target>/ once made that target crash, hang or report a
// finding; it goes through the same check again.
TEST_P(FuzzRegressionTest, FoundInputsPassTheirTarget) {
  const ovm::fuzz::FuzzTarget* target = ovm::fuzz::find_fuzz_target(GetParam());
  ASSERT_NE(target, nullptr);
  for (const fs::path& file : files_in(fs::path(OVM_REGRESSION_DIR) / GetParam())) {
    SCOPED_TRACE(file.string());
    EXPECT_EQ(target->check(read_bytes(file)), std::nullopt);
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzRegressionTest, testing::ValuesIn(target_names()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

// A folder that names no target would be passed over without a word.
TEST(FuzzRegressionFolders, EachNamesATarget) {
  for (const auto& entry : fs::directory_iterator(OVM_REGRESSION_DIR)) {
    if (!entry.is_directory()) continue;
    EXPECT_NE(ovm::fuzz::find_fuzz_target(entry.path().filename().string()), nullptr) << entry.path();
  }
}

// Files directly under regressions/ came from the front end's fuzzers before each target had
// a folder of its own.
TEST(FuzzRegressionFolders, LooseFilesPassTheFrontEnd) {
  for (const fs::path& file : files_in(OVM_REGRESSION_DIR)) {
    SCOPED_TRACE(file.string());
    std::string bytes = read_bytes(file);
    ovm::fuzz::run_front_end(bytes);
    EXPECT_EQ(ovm::fuzz::check_format_idempotent(bytes), std::nullopt);
  }
}

// Input that stresses every limit at once still goes through.
TEST(FuzzRegressionTest, DeepAndWideInputs) {
  std::string deep = "PARAMETERS\n    k = " + std::string(5000, '(') + "1" + std::string(5000, ')') + "\n";
  EXPECT_GT(ovm::fuzz::run_front_end(deep), 0u);
  std::string nested = "MODEL\n";
  for (int i = 1; i < 200; ++i) nested += std::string(static_cast<std::size_t>(i), ' ') + "k\n";
  EXPECT_GT(ovm::fuzz::run_front_end(nested), 0u);
}

}  // namespace
