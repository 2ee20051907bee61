#include "engine/ovdb/ovdb_parse.hpp"

#include <cmath>
#include <string_view>
#include <variant>
#include <vector>

#include "engine/ovdb/ovdb_key_depth.hpp"
#include "engine/ovdb/ovdb_toml_screen.hpp"

// The one place that includes toml++: it must not throw, so its parse_result is read instead.
#define TOML_EXCEPTIONS 0
#define TOML_HEADER_ONLY 1
#include <toml++/toml.h>

namespace ovm::engine {
namespace {

// TOML floats and integers are numbers; an integer becomes the nearest double.
std::optional<double> number_of(const toml::node* node) {
  if (node == nullptr) return std::nullopt;
  if (const auto* value = node->as_floating_point()) return value->get();
  if (const auto* value = node->as_integer()) return static_cast<double>(value->get());
  return std::nullopt;
}

std::optional<std::string> string_of(const toml::node* node) {
  if (node == nullptr) return std::nullopt;
  if (const auto* value = node->as_string()) return value->get();
  return std::nullopt;
}

// An array whose first two elements are numbers; further elements do not matter.
std::optional<NumberRange> range_of(const toml::node* node) {
  const toml::array* array = node == nullptr ? nullptr : node->as_array();
  if (array == nullptr || array->size() < 2) return std::nullopt;
  std::optional<double> low = number_of(array->get(0));
  std::optional<double> high = number_of(array->get(1));
  if (!low || !high) return std::nullopt;
  return NumberRange{*low, *high};
}

// alpha itself, else from epsilon in permil, else from 1000 ln alpha; a key that is not a
// number counts as absent.
std::optional<double> factor_of(const toml::table& entry) {
  if (std::optional<double> alpha = number_of(entry.get("alpha"))) return alpha;
  if (std::optional<double> epsilon = number_of(entry.get("epsilon"))) return *epsilon / 1000 + 1;
  if (std::optional<double> ln = number_of(entry.get("ln1000alpha"))) return std::exp(*ln / 1000);
  return std::nullopt;
}

std::string database_name_of(const toml::table& root) {
  const toml::table* database = root.get_as<toml::table>("database");
  if (database == nullptr) return "unnamed";
  return string_of(database->get("name")).value_or("unnamed");
}

// The tables of an array of tables; anything else under the key is ignored.
std::vector<const toml::table*> entries_of(const toml::table& root, std::string_view key) {
  std::vector<const toml::table*> tables;
  const toml::array* array = root.get_as<toml::array>(key);
  if (array == nullptr) return tables;
  for (const toml::node& element : *array) {
    if (const toml::table* table = element.as_table()) tables.push_back(table);
  }
  return tables;
}

// Keys are examined in their documented order and the first failure drops the entry.
std::optional<DatabaseStandard> standard_of(const toml::table& entry, const std::string& database) {
  std::optional<std::string> citation = string_of(entry.get("citation"));
  if (!citation) return std::nullopt;
  std::optional<std::string> name = string_of(entry.get("name"));
  if (!name) return std::nullopt;
  std::optional<std::string> ratio = string_of(entry.get("ratio"));
  if (!ratio) return std::nullopt;
  std::optional<double> value = number_of(entry.get("value"));
  if (!value) return std::nullopt;
  return DatabaseStandard{std::move(*name), std::move(*ratio), *value, number_of(entry.get("uncertainty")),
                          *citation + " (" + database + ")"};
}

std::optional<FractionationEntry> fractionation_of(const toml::table& entry, const std::string& database) {
  std::optional<std::string> citation = string_of(entry.get("citation"));
  if (!citation) return std::nullopt;
  std::optional<double> alpha = factor_of(entry);
  if (!alpha) return std::nullopt;
  std::optional<std::string> ratio = string_of(entry.get("ratio"));
  if (!ratio) return std::nullopt;
  std::optional<std::string> process = string_of(entry.get("process"));
  if (!process) return std::nullopt;
  FractionationEntry result;
  result.ratio = std::move(*ratio);
  result.process = std::move(*process);
  result.citation = std::move(*citation);
  result.database_name = database;
  result.reactant = string_of(entry.get("reactant"));
  result.product = string_of(entry.get("product"));
  result.regime = string_of(entry.get("regime"));
  result.context = string_of(entry.get("context"));
  result.alpha = *alpha;
  result.temperature_range = range_of(entry.get("temperature_range"));
  result.ph_range = range_of(entry.get("ph_range"));
  return result;
}

std::string parse_error_text(const toml::parse_error& error) {
  const toml::source_position& begin = error.source().begin;
  return std::string(error.description()) + " at line " + std::to_string(begin.line) + ", column " +
         std::to_string(begin.column);
}

}  // namespace

bool database_version_supported(const std::string& version) {
  return version.substr(0, version.find('.')) == "1";
}

std::optional<EngineError> parse_database_text(DatabaseSet& set, const std::string& shown,
                                               const std::string& text) {
  if (std::optional<std::string> too_deep = excessive_key_depth(text)) {
    return EngineError{database_error_code, shown + ": " + *too_deep};
  }
  std::variant<std::string, TomlTextError> screened = screen_toml_text(text);
  if (const auto* refused = std::get_if<TomlTextError>(&screened)) {
    return EngineError{database_error_code, shown + ": " + refused->message};
  }
  toml::parse_result parsed = toml::parse(std::get<std::string>(screened));
  if (!parsed) return EngineError{database_error_code, shown + ": " + parse_error_text(parsed.error())};
  const toml::table& root = parsed.table();

  std::string database = database_name_of(root);
  if (const toml::table* table = root.get_as<toml::table>("database")) {
    std::optional<std::string> version = string_of(table->get("ovdb_version"));
    if (version && !database_version_supported(*version)) {
      return EngineError{database_error_code, shown + ": OVDB format " + *version + ", expected 1.x"};
    }
  }

  for (const toml::table* entry : entries_of(root, "standard")) {
    if (std::optional<DatabaseStandard> standard = standard_of(*entry, database)) {
      set.standards.push_back(std::move(*standard));
    }
  }
  for (const toml::table* entry : entries_of(root, "fractionation")) {
    if (std::optional<FractionationEntry> fractionation = fractionation_of(*entry, database)) {
      set.fractionations.push_back(std::move(*fractionation));
    }
  }
  return std::nullopt;
}

}  // namespace ovm::engine
