#include "sema/suggest.hpp"

#include <algorithm>
#include <optional>
#include <vector>

#include "sema/edit_distance.hpp"
#include "sema/lower_case.hpp"

namespace ovm::sema {
namespace {

// A candidate is close within this many edits.
constexpr std::uint32_t suggestion_limit = 2;

}  // namespace

std::string known_names_help(std::span<const std::string_view> candidates) {
  std::vector<std::string_view> sorted(candidates.begin(), candidates.end());
  std::sort(sorted.begin(), sorted.end());  // byte order: capitals before small letters
  std::string text = "known: ";
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    if (i != 0) text += ", ";
    text += sorted[i];
  }
  return text;
}

std::string unknown_name_help(std::string_view word, std::span<const std::string_view> candidates) {
  std::u32string lowered_word = lower_case_scalars(word);
  std::optional<std::string_view> kept;
  std::uint32_t kept_distance = suggestion_limit + 1;
  for (std::string_view candidate : candidates) {
    std::uint32_t distance = edit_distance(lowered_word, lower_case_scalars(candidate), suggestion_limit);
    if (distance < kept_distance) {
      kept = candidate;
      kept_distance = distance;
    }
  }
  if (kept) return "did you mean `" + std::string(*kept) + "`?";
  if (candidates.empty()) return "nothing of that kind is declared";
  return known_names_help(candidates);
}

}  // namespace ovm::sema
