// Lookups that run once per statement against model-wide lists must not scan those lists: a
// model with tens of thousands of declarations and uses checks in well under a second.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "sema/analysis.hpp"
#include "syntax/parser.hpp"

namespace ovm::sema {
namespace {

constexpr int count = 40000;

// Distinct isotopes: masses 1 to 999 of elements A, Ab, Ac, ...
std::string element(int i) {
  std::string symbol(1, static_cast<char>('A' + (i / 999) % 26));
  int lower = i / (999 * 26);
  if (lower > 0) symbol += static_cast<char>('a' + lower - 1);
  return symbol;
}
int mass(int i) { return i % 999 + 1; }

// Checks the model and returns how many diagnostics it drew, failing when that took a second.
std::size_t timed_check(const std::string& text) {
  auto start = std::chrono::steady_clock::now();
  syntax::ParseOutput tree = syntax::parse_source(text, 0);
  EXPECT_TRUE(tree.diagnostics.empty());
  Analysis analysis = analyze(tree, Profile::Core);
  std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  EXPECT_LT(took.count(), 1.0);
  return analysis.diagnostics.size();
}

TEST(LookupScaleTest, DeltaLinesFindTheLastOfManyRatiosAndItsStandard) {
  std::string text = "ISOTOPES\n";
  for (int i = 0; i < count; ++i) {
    std::string iso = std::to_string(mass(i)) + element(i);
    text += "    ratio " + iso + "/" + iso + " standard S" + std::to_string(i) + "\n";
  }
  text += "STANDARD\n";
  for (int i = 0; i < count; ++i) text += "    standard S" + std::to_string(i) + "\n";
  text += "RESERVOIR R\n    volume 1 L\n";
  std::string last = "    delta" + std::to_string(mass(count - 1)) + element(count - 1) + " 0.5\n";
  for (int i = 0; i < count; ++i) text += last;
  timed_check(text);
}

TEST(LookupScaleTest, QualifiedNamesAfterManyParameters) {
  std::string text = "PARAMETERS\n";
  for (int i = 0; i < count; ++i) text += "    k" + std::to_string(i) + " = 1\n";
  text += "OUTPUT\n";
  std::string last = "    variable k" + std::to_string(count - 1) + ".x\n";
  for (int i = 0; i < count; ++i) text += last;
  // Every one reads a property of a scalar.
  EXPECT_GE(timed_check(text), static_cast<std::size_t>(count));
}

}  // namespace
}  // namespace ovm::sema
