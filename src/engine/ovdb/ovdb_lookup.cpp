#include "engine/ovdb/ovdb_lookup.hpp"

#include <algorithm>

#include "diagnostics/message_number.hpp"
#include "diagnostics/text_match.hpp"

namespace ovm::engine {
namespace {

// A missing value or a NaN comparison never puts an entry outside; the bounds belong to it.
bool outside(const std::optional<NumberRange>& range, const std::optional<double>& value) {
  if (!range || !value) return false;
  return *value < range->first || *value > range->second;
}

bool is_outside(const FractionationEntry& entry, const FractionationQuery& query) {
  return outside(entry.temperature_range, query.temperature) || outside(entry.ph_range, query.ph);
}

std::optional<std::string_view> view_of(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  return std::string_view(*text);
}

// Both stated ranges are listed, even when only one of them is left.
std::string outside_warning(const FractionationEntry& entry) {
  std::string ranges;
  if (entry.temperature_range) {
    ranges += diagnostics::message_number_text(entry.temperature_range->first) + " to " +
              diagnostics::message_number_text(entry.temperature_range->second) + " K";
  }
  if (entry.ph_range) {
    if (!ranges.empty()) ranges += ", ";
    ranges += "pH " + diagnostics::message_number_text(entry.ph_range->first) + " to " +
              diagnostics::message_number_text(entry.ph_range->second);
  }
  return "`" + entry.citation + "` was measured within " + ranges + " and is applied outside it";
}

std::string tie_message(const std::vector<const FractionationEntry*>& tied, const FractionationQuery& query) {
  std::string citations;
  for (const FractionationEntry* entry : tied) {
    if (!citations.empty()) citations += " / ";
    citations += entry->citation;
  }
  return "`" + std::string(query.process) + "` on `" + std::string(query.ratio) + "` matches " +
         std::to_string(tied.size()) + " entries equally well: " + citations +
         ". The database has not decided between them";
}

}  // namespace

bool optional_name_matches(const std::optional<std::string_view>& a, const std::optional<std::string_view>& b) {
  if (!a || !b) return true;
  return diagnostics::equals_ascii_folded(*a, *b);
}

int range_fit(const FractionationEntry& entry, const FractionationQuery& query) {
  if (is_outside(entry, query)) return 0;
  if (!entry.temperature_range && !entry.ph_range) return 1;
  return 2;
}

int specificity(const FractionationEntry& entry) {
  return (entry.reactant ? 4 : 0) + (entry.product ? 4 : 0) + (entry.context ? 2 : 0) + (entry.regime ? 1 : 0);
}

std::vector<const FractionationEntry*> collect_fractionation_candidates(
    const std::vector<FractionationEntry>& entries, const FractionationQuery& query) {
  std::vector<const FractionationEntry*> candidates;
  for (const FractionationEntry& entry : entries) {
    if (entry.ratio != query.ratio || entry.process != query.process) continue;
    if (!optional_name_matches(view_of(entry.reactant), query.reactant)) continue;
    if (!optional_name_matches(view_of(entry.product), query.product)) continue;
    if (!optional_name_matches(view_of(entry.regime), query.regime)) continue;
    if (!optional_name_matches(view_of(entry.context), query.context)) continue;
    candidates.push_back(&entry);
  }
  return candidates;
}

void retain_best_fit(std::vector<const FractionationEntry*>& candidates, const FractionationQuery& query,
                     int best_fit) {
  std::erase_if(candidates, [&](const FractionationEntry* entry) { return range_fit(*entry, query) != best_fit; });
}

FractionationLookup lookup_fractionation(const DatabaseSet& set, const FractionationQuery& query) {
  std::vector<const FractionationEntry*> candidates = collect_fractionation_candidates(set.fractionations, query);
  if (candidates.empty()) return NoFractionationMatch{};

  int best_fit = 0;
  for (const FractionationEntry* entry : candidates) best_fit = std::max(best_fit, range_fit(*entry, query));
  retain_best_fit(candidates, query, best_fit);

  int best_specificity = 0;
  for (const FractionationEntry* entry : candidates) best_specificity = std::max(best_specificity, specificity(*entry));
  std::erase_if(candidates, [&](const FractionationEntry* entry) { return specificity(*entry) != best_specificity; });

  if (candidates.size() > 1) return FractionationTie{tie_message(candidates, query)};
  const FractionationEntry& entry = *candidates.front();
  std::optional<std::string> warning;
  if (is_outside(entry, query)) warning = outside_warning(entry);
  return FractionationMatch{entry.database_name, entry.citation, entry.alpha, std::move(warning)};
}

}  // namespace ovm::engine
