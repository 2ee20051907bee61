#include "database_text.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <variant>
#include <vector>

#include "diagnostics/utf8.hpp"
#include "engine/ovdb/ovdb_lookup.hpp"
#include "engine/ovdb/ovdb_parse.hpp"
#include "engine/ovdb/ovdb_standards.hpp"
#include "ir/graph/model_graph.hpp"

namespace ovm::fuzz {
namespace {

using engine::DatabaseSet;
using engine::FractionationEntry;
using engine::FractionationQuery;

constexpr std::string_view shown = "fuzz.ovdb";
// Queries are made from the first entries only, so that a file of many entries stays fast.
constexpr std::size_t queried_entries = 32;

bool same_number(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

bool same_optional(const std::optional<double>& a, const std::optional<double>& b) {
  return a.has_value() == b.has_value() && (!a || same_number(*a, *b));
}

// Each ratio a standard names gets a system without a standard; one more system is declared
// with a standard of its own, which filling must leave alone.
ir::ModelGraph graph_of_ratios(const DatabaseSet& set) {
  ir::ModelGraph graph;
  std::vector<std::string> ratios;
  for (const engine::DatabaseStandard& standard : set.standards) {
    if (std::find(ratios.begin(), ratios.end(), standard.ratio) == ratios.end()) ratios.push_back(standard.ratio);
  }
  ratios.push_back(set.standards.empty() ? "53Cr/52Cr" : set.standards.front().ratio);
  for (std::size_t i = 0; i < ratios.size(); ++i) {
    ir::IsotopeSystem system;
    system.id = static_cast<ir::IsotopeId>(i);
    system.notation = ratios[i];
    graph.isotopes.push_back(std::move(system));
  }
  graph.isotopes.back().standard = ir::Standard{"declared", 0.5, std::nullopt};
  return graph;
}

Finding check_standards(const DatabaseSet& set) {
  ir::ModelGraph graph = graph_of_ratios(set);
  std::vector<engine::TakenStandard> taken = engine::fill_standards_from_databases(graph, set);
  if (taken.size() != graph.isotopes.size() - 1) return "not every ratio the database gives took a standard";
  const ir::IsotopeSystem& declared = graph.isotopes.back();
  if (declared.standard->name != "declared" || !same_number(declared.standard->ratio, 0.5)) {
    return "a declared standard was replaced from the database";
  }
  for (std::size_t i = 0; i + 1 < graph.isotopes.size(); ++i) {
    const ir::IsotopeSystem& system = graph.isotopes[i];
    auto first = std::find_if(set.standards.begin(), set.standards.end(),
                              [&](const engine::DatabaseStandard& s) { return s.ratio == system.notation; });
    const ir::Standard& got = *system.standard;
    if (got.name != first->name || !same_number(got.ratio, first->value) ||
        !same_optional(got.uncertainty, first->uncertainty)) {
      return "`" + system.notation + "` did not take the first standard of its ratio";
    }
    if (taken[i].notation != system.notation || taken[i].source != first->source) {
      return "the standards taken are not listed in the order of the isotope systems";
    }
  }
  return std::nullopt;
}

bool folded_equal(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

bool names_agree(const std::optional<std::string>& entry, const std::optional<std::string_view>& query) {
  return !entry || !query || folded_equal(*entry, *query);
}

bool left(const std::optional<engine::NumberRange>& range, const std::optional<double>& value) {
  return range && value && (*value < range->first || *value > range->second);
}

bool is_outside(const FractionationEntry& entry, const FractionationQuery& query) {
  return left(entry.temperature_range, query.temperature) || left(entry.ph_range, query.ph);
}

// The rank of an entry for a query: its range fit above its specificity, -1 when it is no
// candidate at all.
int rank(const FractionationEntry& entry, const FractionationQuery& query) {
  if (entry.ratio != query.ratio || entry.process != query.process) return -1;
  if (!names_agree(entry.reactant, query.reactant) || !names_agree(entry.product, query.product) ||
      !names_agree(entry.regime, query.regime) || !names_agree(entry.context, query.context)) {
    return -1;
  }
  int fit = is_outside(entry, query) ? 0 : (entry.temperature_range || entry.ph_range ? 2 : 1);
  int specific = (entry.reactant ? 4 : 0) + (entry.product ? 4 : 0) + (entry.context ? 2 : 0) + (entry.regime ? 1 : 0);
  return fit * 16 + specific;
}

Finding check_lookup(const DatabaseSet& set, const FractionationQuery& query) {
  int best = -1;
  for (const FractionationEntry& entry : set.fractionations) best = std::max(best, rank(entry, query));
  std::vector<const FractionationEntry*> tied;
  for (const FractionationEntry& entry : set.fractionations) {
    if (best >= 0 && rank(entry, query) == best) tied.push_back(&entry);
  }
  engine::FractionationLookup found = engine::lookup_fractionation(set, query);
  if (tied.empty()) {
    if (std::holds_alternative<engine::NoFractionationMatch>(found)) return std::nullopt;
    return "a lookup without candidates found something";
  }
  if (tied.size() > 1) {
    const auto* tie = std::get_if<engine::FractionationTie>(&found);
    if (tie == nullptr) return "equally ranked entries did not tie";
    std::string count = " matches " + std::to_string(tied.size()) + " entries equally well: ";
    if (tie->message.find(count) == std::string::npos) return "a tie does not count its entries: " + tie->message;
    return std::nullopt;
  }
  const auto* match = std::get_if<engine::FractionationMatch>(&found);
  if (match == nullptr) return "the one best entry was not chosen";
  const FractionationEntry& entry = *tied.front();
  if (match->citation != entry.citation || match->database_name != entry.database_name ||
      !same_number(match->alpha, entry.alpha)) {
    return "the lookup chose another entry than the best";
  }
  if (match->warning.has_value() != is_outside(entry, query)) return "the range warning is wrong";
  if (match->warning && !match->warning->starts_with("`" + entry.citation + "` was measured within ")) {
    return "the range warning does not name the citation: " + *match->warning;
  }
  return std::nullopt;
}

std::optional<std::string_view> view_of(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  return std::string_view(*text);
}

// The conditions a query is made with: none, each bound of the entry's ranges, just outside
// them, and numbers no comparison orders.
std::vector<std::optional<double>> probe_values(const std::optional<engine::NumberRange>& range) {
  std::vector<std::optional<double>> values = {std::nullopt, std::numeric_limits<double>::quiet_NaN()};
  if (range) {
    values.insert(values.end(), {range->first, range->second, std::nextafter(range->first, -INFINITY),
                                 std::nextafter(range->second, INFINITY)});
  }
  return values;
}

Finding check_lookups(const DatabaseSet& set) {
  std::size_t count = std::min(set.fractionations.size(), queried_entries);
  for (std::size_t i = 0; i < count; ++i) {
    const FractionationEntry& entry = set.fractionations[i];
    FractionationQuery query{entry.ratio, entry.process, view_of(entry.reactant), view_of(entry.product),
                             view_of(entry.regime), view_of(entry.context), std::nullopt, std::nullopt};
    for (std::optional<double> temperature : probe_values(entry.temperature_range)) {
      for (std::optional<double> ph : probe_values(entry.ph_range)) {
        query.temperature = temperature;
        query.ph = ph;
        if (Finding finding = check_lookup(set, query)) return finding;
      }
    }
    // A query that names nothing but the ratio and the process matches every entry of them.
    FractionationQuery bare{entry.ratio, entry.process, std::nullopt, std::nullopt,
                            std::nullopt, std::nullopt, std::nullopt, std::nullopt};
    if (Finding finding = check_lookup(set, bare)) return finding;
  }
  return std::nullopt;
}

}  // namespace

Finding check_database_text(std::string_view bytes) {
  if (!diagnostics::is_valid_utf8(bytes)) return std::nullopt;  // refused before parsing
  DatabaseSet set;
  std::optional<engine::EngineError> error = engine::parse_database_text(set, std::string(shown), std::string(bytes));
  if (error) {
    if (error->code != engine::database_error_code) return "a database error under " + error->code;
    if (!error->message.starts_with(std::string(shown) + ": ")) return "a database error does not name the file";
    if (!set.standards.empty() || !set.fractionations.empty()) return "a file that failed to load left entries";
    return std::nullopt;
  }
  if (Finding finding = check_standards(set)) return finding;
  return check_lookups(set);
}

}  // namespace ovm::fuzz
