// Lookups that run once per statement against model-wide lists must not scan those lists: a
// model with four times the declarations and uses takes about four times as long to check.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
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

struct Checked {
  double seconds = 0;
  std::size_t diagnostics = 0;
};

// The CPU time of this thread: other processes on a busy machine do not count in it.
double thread_seconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Checks the model three times and keeps the fastest, so what remains of a busy machine's
// influence (caches, page faults) skews it least.
Checked check_model(const std::string& text) {
  Checked best{1e9, 0};
  for (int run = 0; run < 3; ++run) {
    double start = thread_seconds();
    syntax::ParseOutput tree = syntax::parse_source(text, 0);
    EXPECT_TRUE(tree.diagnostics.empty());
    Analysis analysis = analyze(tree, Profile::Core);
    best.seconds = std::min(best.seconds, thread_seconds() - start);
    best.diagnostics = analysis.diagnostics.size();
  }
  return best;
}

// Checks the model that `make` builds of n and of n / 4 declarations and uses: linear work
// takes about four times as long on the larger one, a scan of the lists sixteen times. An
// absolute bound would depend on the machine and the sanitizers; the ratio does not. Returns
// the diagnostics of the larger model.
std::size_t check_scales_linearly(std::string (*make)(int)) {
  Checked small = check_model(make(count / 4));
  Checked large = check_model(make(count));
  EXPECT_LT(large.seconds, 8 * small.seconds + 0.05) << "n/4: " << small.seconds << " s, n: " << large.seconds << " s";
  return large.diagnostics;
}

std::string many_delta_lines(int n) {
  std::string text = "ISOTOPES\n";
  for (int i = 0; i < n; ++i) {
    std::string iso = std::to_string(mass(i)) + element(i);
    text += "    ratio " + iso + "/" + iso + " standard S" + std::to_string(i) + "\n";
  }
  text += "STANDARD\n";
  for (int i = 0; i < n; ++i) text += "    standard S" + std::to_string(i) + "\n";
  text += "RESERVOIR R\n    volume 1 L\n";
  std::string last = "    delta" + std::to_string(mass(n - 1)) + element(n - 1) + " 0.5\n";
  for (int i = 0; i < n; ++i) text += last;
  return text;
}

std::string many_qualified_names(int n) {
  std::string text = "PARAMETERS\n";
  for (int i = 0; i < n; ++i) text += "    k" + std::to_string(i) + " = 1\n";
  text += "OUTPUT\n";
  std::string last = "    variable k" + std::to_string(n - 1) + ".x\n";
  for (int i = 0; i < n; ++i) text += last;
  return text;
}

TEST(LookupScaleTest, DeltaLinesFindTheLastOfManyRatiosAndItsStandard) {
  // Only each standard's missing `ratio` modifier is reported: every delta line finds its ratio.
  EXPECT_EQ(check_scales_linearly(many_delta_lines), static_cast<std::size_t>(count));
}

TEST(LookupScaleTest, QualifiedNamesAfterManyParameters) {
  // Every one reads a property of a scalar.
  EXPECT_GE(check_scales_linearly(many_qualified_names), static_cast<std::size_t>(count));
}

}  // namespace
}  // namespace ovm::sema
