#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "front_end_pipeline.hpp"

namespace {

namespace fs = std::filesystem;

std::string read_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

// Each file under regressions/ once made a fuzzer crash, hang or fail a check.
TEST(FuzzRegressionTest, FoundInputsRunCleanly) {
  for (const auto& entry : fs::directory_iterator(OVM_REGRESSION_DIR)) {
    if (!entry.is_regular_file() || entry.path().filename() == "README") continue;
    std::string bytes = read_bytes(entry.path());
    SCOPED_TRACE(entry.path().string());
    ovm::fuzz::run_front_end(bytes);
    ovm::fuzz::check_format_idempotent(bytes);
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
