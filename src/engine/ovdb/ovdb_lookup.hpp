#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "engine/ovdb/ovdb_records.hpp"

namespace ovm::engine {

// What process application asks the databases; the texts are borrowed for the call.
struct FractionationQuery {
  std::string_view ratio;
  std::string_view process;
  std::optional<std::string_view> reactant;
  std::optional<std::string_view> product;
  std::optional<std::string_view> regime;
  std::optional<std::string_view> context;
  std::optional<double> temperature;  // kelvin
  std::optional<double> ph;
};

struct FractionationMatch {
  std::string database_name;
  std::string citation;
  double alpha = 1;
  std::optional<std::string> warning;  // the model's conditions lie outside a stated range

  friend bool operator==(const FractionationMatch&, const FractionationMatch&) = default;
};

struct NoFractionationMatch {
  friend bool operator==(const NoFractionationMatch&, const NoFractionationMatch&) = default;
};

// Equally good entries: the lookup refuses to choose. The caller reports it under OV402.
struct FractionationTie {
  std::string message;

  friend bool operator==(const FractionationTie&, const FractionationTie&) = default;
};

using FractionationLookup = std::variant<NoFractionationMatch, FractionationMatch, FractionationTie>;

// The best entry for the query: the best range fit, then the highest specificity.
FractionationLookup lookup_fractionation(const DatabaseSet& set, const FractionationQuery& query);

// True when either is absent, or both are equal under ASCII case folding.
bool optional_name_matches(const std::optional<std::string_view>& a, const std::optional<std::string_view>& b);

// The entries of the ratio and process whose optional names agree with the query, in load order.
std::vector<const FractionationEntry*> collect_fractionation_candidates(
    const std::vector<FractionationEntry>& entries, const FractionationQuery& query);

// Keeps, in order, the candidates whose range fit equals `best_fit`.
void retain_best_fit(std::vector<const FractionationEntry*>& candidates, const FractionationQuery& query,
                     int best_fit);

// 0 when the query's conditions lie outside a stated range, 1 when no range is stated, 2 when
// a range is stated and not left.
int range_fit(const FractionationEntry& entry, const FractionationQuery& query);

// 4 for a reactant, 4 for a product, 2 for a context, 1 for a regime.
int specificity(const FractionationEntry& entry);

}  // namespace ovm::engine
