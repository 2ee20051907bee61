#include "sema/lower_case.hpp"

#include <algorithm>

#include "sema/lower_case_table.hpp"
#include "sema/utf8_scalars.hpp"

namespace ovm::sema {
namespace {

using namespace lower_case_data;

constexpr char32_t capital_sigma = 0x03A3;
constexpr char32_t small_sigma = 0x03C3;
constexpr char32_t final_sigma = 0x03C2;

template <std::size_t N>
bool in_ranges(const std::array<ScalarRange, N>& ranges, char32_t c) {
  auto after = std::upper_bound(ranges.begin(), ranges.end(), c,
                                [](char32_t value, const ScalarRange& range) { return value < range.first; });
  return after != ranges.begin() && c <= std::prev(after)->last;
}

bool is_case_ignorable(char32_t c) { return in_ranges(case_ignorable, c); }
bool is_cased(char32_t c) { return in_ranges(cased, c); }

char32_t lower_single(char32_t c) {
  auto after = std::upper_bound(mapping_runs.begin(), mapping_runs.end(), c,
                                [](char32_t value, const MappingRun& run) { return value < run.first; });
  if (after == mapping_runs.begin()) return c;
  const MappingRun& run = *std::prev(after);
  if (c > run.last || (c - run.first) % run.stride != 0) return c;
  return static_cast<char32_t>(static_cast<std::int32_t>(c) + run.delta);
}

// The Final_Sigma condition: a cased letter before the sigma and none after it, looking past
// case-ignorable characters in both directions.
bool ends_a_word(const std::u32string& text, std::size_t at) {
  std::size_t before = at;
  while (before > 0 && is_case_ignorable(text[before - 1])) --before;
  if (before == 0 || !is_cased(text[before - 1])) return false;
  std::size_t after = at + 1;
  while (after < text.size() && is_case_ignorable(text[after])) ++after;
  return after == text.size() || !is_cased(text[after]);
}

}  // namespace

std::u32string lower_case_scalars(std::string_view text) {
  std::u32string scalars = utf8_scalars(text);
  std::u32string lowered;
  lowered.reserve(scalars.size());
  for (std::size_t i = 0; i < scalars.size(); ++i) {
    char32_t c = scalars[i];
    if (c == capital_sigma) {
      lowered.push_back(ends_a_word(scalars, i) ? final_sigma : small_sigma);
      continue;
    }
    auto expansion =
        std::find_if(expansions.begin(), expansions.end(), [c](const Expansion& e) { return e.from == c; });
    if (expansion == expansions.end()) {
      lowered.push_back(lower_single(c));
      continue;
    }
    for (char32_t part : expansion->to) {
      if (part != 0) lowered.push_back(part);
    }
  }
  return lowered;
}

}  // namespace ovm::sema
