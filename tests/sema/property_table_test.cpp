#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "sema/block_table.hpp"

namespace ovm::sema {
namespace {

using enum PropertyType;
using enum StatementShape;

// One row of a kind's statement-key table, its columns as the language's tables write them:
// "-" for an empty column, admissible values joined by ", ", modifiers as "name (Type, required)"
// joined by "; ", and the remaining fields ("required", "recommended", "group g", "default d",
// "range a to b", "label \"l\"") joined by "; ".
struct PropertyRow {
  std::string_view kind;
  std::string_view key;
  PropertyType type;
  StatementShape shape;
  std::string_view dimension;
  std::string_view reference;
  std::string_view values;
  std::string_view modifiers;
  std::string_view other;
};

const std::vector<PropertyRow> expected_properties = {
    {"META", "author", Text, Plain, "-", "-", "-", "-", "-"},
    {"META", "date", Date, Plain, "-", "-", "-", "-", "-"},
    {"META", "version", Version, Plain, "-", "-", "-", "-", "-"},
    {"META", "language", Version, Plain, "-", "-", "-", "-", "recommended"},
    {"META", "description", String, Plain, "-", "-", "-", "-", "-"},
    {"META", "license", Text, Plain, "-", "-", "-", "-", "-"},
    {"META", "reference", Text, Plain, "-", "-", "-", "-", "-"},

    {"DATABASE", "file", Path, Plain, "-", "-", "-", "-", "required"},

    {"UNITS", "concentration", Identifier, Plain, "unit name of molality or mass_concentration", "-", "-", "-", "-"},
    {"UNITS", "time", Identifier, Plain, "unit name of time", "-", "-", "-", "-"},
    {"UNITS", "temperature", Identifier, Plain, "unit name of temperature", "-", "-", "-", "-"},
    {"UNITS", "delta", Identifier, Plain, "unit name of delta", "-", "-", "-", "-"},
    {"UNITS", "volume", Identifier, Plain, "unit name of volume", "-", "-", "-", "-"},
    {"UNITS", "mass", Identifier, Plain, "unit name of mass", "-", "-", "-", "-"},
    {"UNITS", "pressure", Identifier, Plain, "unit name of pressure", "-", "-", "-", "-"},

    {"SPECIES", "species", Species, Plain, "-", "-", "-", "-", "required"},

    {"ISOTOPES", "mode", Enum, Plain, "-", "-", "absolute, relative", "-", "default absolute"},
    {"ISOTOPES", "ratio", Ratio, Plain, "-", "-", "-", "standard (Identifier)", "required"},

    {"RESERVOIR", "volume", Number, Plain, "volume", "-", "-", "-", "-"},
    {"RESERVOIR", "mass", Number, Plain, "mass", "-", "-", "-", "-"},
    {"RESERVOIR", "temperature", Number, Plain, "temperature", "-", "-", "-", "-"},

    {"PROCESS", "type", Enum, Plain, "-", "-",
     "reduction, oxidation, dissolution, precipitation, mixing, adsorption, exchange, evaporation, diffusion, uptake, "
     "ligand_exchange",
     "-", "required"},
    {"PROCESS", "from", None, Reference, "-", "Reservoir", "-", "-", "-"},
    {"PROCESS", "into", None, Reference, "-", "Reservoir", "-", "-", "-"},
    {"PROCESS", "extent", Number, Plain, "dimensionless", "-", "-", "-", "range 0 to 1"},
    {"PROCESS", "context", Enum, Plain, "-", "-", "pyrometallurgy, hydrometallurgy, natural, biotic", "-", "-"},
    {"PROCESS", "regime", Enum, Plain, "-", "-", "equilibrium, kinetic", "-", "-"},
    {"PROCESS", "reactant", None, Reference, "-", "Species", "-", "-", "-"},
    {"PROCESS", "product", None, Reference, "-", "any", "-", "-", "-"},
    {"PROCESS", "source", Number, NamedNumber, "-", "Reservoir", "-", "-", "-"},
    {"PROCESS", "sorbent", None, Reference, "-", "Species", "-", "-", "-"},
    {"PROCESS", "phase_a", None, Reference, "-", "Species", "-", "-", "-"},
    {"PROCESS", "phase_b", None, Reference, "-", "Species", "-", "-", "-"},
    {"PROCESS", "location", None, Reference, "-", "Reservoir", "-", "-", "-"},
    {"PROCESS", "law", None, Reference, "-", "Law", "-", "-", "-"},

    {"FRACTIONATION", "isotope", Ratio, Plain, "-", "-", "-", "-", "required"},
    {"FRACTIONATION", "alpha", Number, Plain, "dimensionless", "-", "-", "-", "group mode"},
    {"FRACTIONATION", "epsilon", Number, Plain, "delta", "-", "-", "-", "group mode"},
    {"FRACTIONATION", "law", None, Law, "-", "-", "-", "-", "group mode"},
    {"FRACTIONATION", "law_file", Path, Plain, "-", "-", "-", "-", "group mode; label \"law file\""},
    {"FRACTIONATION", "phase", Number, Plain, "delta", "-", "-", "-", "-"},

    {"KINETICS", "rate", Enum, Plain, "-", "-", "zero_order, first_order, second_order, monod", "-", "required"},
    {"KINETICS", "constant", Number, Plain, "rate_constant", "-", "-", "-", "-"},
    {"KINETICS", "half_saturation", Number, Plain, "molality", "-", "-", "-", "-"},

    {"MODEL", "reservoirs", None, List, "-", "Reservoir", "-", "-", "default all"},
    {"MODEL", "processes", None, List, "-", "Process", "-", "-", "default all"},
    {"MODEL", "step", Number, Plain, "time", "-", "-", "-", "-"},
    {"MODEL", "progress", Enum, Plain, "-", "-", "time, extent", "-", "default time"},
    {"MODEL", "until", None, Condition, "-", "-", "-", "-", "-"},

    {"OUTPUT", "variable", None, Reference, "-", "any", "-", "-", "required"},
    {"OUTPUT", "every", Number, Plain, "time", "-", "-", "-", "-"},

    {"EXPORT", "format", Enum, Plain, "-", "-", "isof, csv, json", "-", "required"},
    {"EXPORT", "file", Path, Plain, "-", "-", "-", "-", "required"},

    {"STANDARD", "standard", Number, NamedNumber, "-", "-", "-", "ratio (Ratio, required); uncertainty (Number)", "-"},

    {"CONDITIONS", "temperature", Number, Plain, "temperature", "-", "-", "-", "-"},
    {"CONDITIONS", "pressure", Number, Plain, "pressure", "-", "-", "-", "-"},
    {"CONDITIONS", "pH", Number, Plain, "dimensionless", "-", "-", "-", "-"},
    {"CONDITIONS", "Eh", Number, Plain, "potential", "-", "-", "-", "-"},
    {"CONDITIONS", "ionic_strength", Number, Plain, "molality", "-", "-", "-", "-"},

    {"PHREEQC", "input_file", Path, Plain, "-", "-", "-", "-", "required; label \"input file\""},
    {"PHREEQC", "database", Path, Plain, "-", "-", "-", "-", "-"},
    {"PHREEQC", "mode", Enum, Plain, "-", "-", "oneshot, series", "-", "default oneshot"},
    {"PHREEQC", "export", String, Plain, "-", "-", "-", "to (Identifier, required)", "-"},

    {"RAYLEIGH", "reservoir", None, Reference, "-", "Reservoir", "-", "-", "required"},
    {"RAYLEIGH", "isotope", Ratio, Plain, "-", "-", "-", "-", "required"},
    {"RAYLEIGH", "reactant", None, Reference, "-", "Species", "-", "-", "required"},
    {"RAYLEIGH", "product", None, Reference, "-", "Species", "-", "-", "required"},
    {"RAYLEIGH", "alpha", Number, Plain, "dimensionless", "-", "-", "-", "group mode"},
    {"RAYLEIGH", "epsilon", Number, Plain, "delta", "-", "-", "-", "group mode"},
    {"RAYLEIGH", "extent", Number, Plain, "dimensionless", "-", "-", "-", "range 0 to 1"},

    {"ADSORPTION", "sorbent", None, Reference, "-", "Species", "-", "-", "required"},
    {"ADSORPTION", "reactant", None, Reference, "-", "Species", "-", "-", "required"},
    {"ADSORPTION", "isotope", Ratio, Plain, "-", "-", "-", "-", "required"},
    {"ADSORPTION", "alpha", Number, Plain, "dimensionless", "-", "-", "-", "group mode"},
    {"ADSORPTION", "epsilon", Number, Plain, "delta", "-", "-", "-", "group mode"},
    {"ADSORPTION", "extent", Number, Plain, "dimensionless", "-", "-", "-", "range 0 to 1"},
    {"ADSORPTION", "regime", Enum, Plain, "-", "-", "equilibrium, kinetic", "-", "-"},

    {"EXCHANGE", "phase_a", None, Reference, "-", "Species", "-", "-", "required"},
    {"EXCHANGE", "phase_b", None, Reference, "-", "Species", "-", "-", "required"},
    {"EXCHANGE", "isotope", Ratio, Plain, "-", "-", "-", "-", "required"},
    {"EXCHANGE", "alpha", Text, Plain, "-", "-", "-", "-", "group mode"},
    {"EXCHANGE", "epsilon", Number, Plain, "delta", "-", "-", "-", "group mode"},
    {"EXCHANGE", "extent", Number, Plain, "dimensionless", "-", "-", "-", "range 0 to 1"},
    {"EXCHANGE", "regime", Enum, Plain, "-", "-", "equilibrium, kinetic", "-", "-"},

    {"SAMPLE", "element", Identifier, Plain, "-", "-", "-", "-", "required"},
    {"SAMPLE", "uncertainty", Number, Plain, "delta", "-", "-", "-", "-"},
    {"SAMPLE", "material", Text, Plain, "-", "-", "-", "-", "-"},
    {"SAMPLE", "note", String, Plain, "-", "-", "-", "-", "-"},
    {"SAMPLE", "series", Number, List, "-", "-", "-", "-", "-"},

    {"IDENTIFY", "source", None, Reference, "-", "Sample", "-", "-", "required"},
    {"IDENTIFY", "product", None, Reference, "-", "Sample", "-", "-", "required"},
    {"IDENTIFY", "mode", Enum, Plain, "-", "-", "single, chain, rayleigh, hybrid", "-", "required"},
    {"IDENTIFY", "candidates", Enum, List, "-", "-",
     "reduction, oxidation, dissolution, precipitation, adsorption, evaporation, exchange, diffusion, mixing, uptake, "
     "ligand_exchange",
     "-", "default all"},
    {"IDENTIFY", "context", Enum, Plain, "-", "-", "pyrometallurgy, hydrometallurgy, natural, biotic", "-", "-"},
    {"IDENTIFY", "regime", Enum, Plain, "-", "-", "equilibrium, kinetic", "-", "-"},
    {"IDENTIFY", "max_chain", Number, Plain, "dimensionless", "-", "-", "-", "-"},
    {"IDENTIFY", "tolerance", Number, Plain, "delta", "-", "-", "-", "-"},
    {"IDENTIFY", "top", Number, Plain, "dimensionless", "-", "-", "-", "-"},
    {"IDENTIFY", "extent", Number, Plain, "dimensionless", "-", "-", "-", "range 0 to 1"},
};

// The type words of the tables, kept apart from the program's own display names.
std::string type_word(PropertyType type) {
  switch (type) {
    case Text: return "Text";
    case String: return "String";
    case Identifier: return "Identifier";
    case Number: return "Number";
    case Date: return "Date";
    case Version: return "Version";
    case Path: return "Path";
    case Ratio: return "Ratio";
    case Enum: return "Enum";
    case Species: return "Species";
    case None: return "-";
  }
  return "?";
}

std::string joined(std::span<const std::string_view> items, std::string_view separator) {
  std::string text;
  for (std::string_view item : items) {
    if (!text.empty()) text += separator;
    text += item;
  }
  return text.empty() ? "-" : text;
}

std::string dimension_column(const PropertySpec& property) {
  if (!property.admissible_dimensions.empty()) {
    return "unit name of " + joined(property.admissible_dimensions, " or ");
  }
  return std::string(property.dimension.value_or("-"));
}

std::string modifier_column(const PropertySpec& property) {
  std::vector<std::string> parts;
  for (const ModifierSpec& modifier : property.modifiers) {
    parts.push_back(std::string(modifier.name) + " (" + type_word(modifier.value_type) +
                    (modifier.required ? ", required)" : ")"));
  }
  std::vector<std::string_view> views(parts.begin(), parts.end());
  return joined(views, "; ");
}

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string other_column(const PropertySpec& property) {
  std::vector<std::string> parts;
  if (property.required) parts.push_back("required");
  if (property.recommended) parts.push_back("recommended");
  if (property.group) parts.push_back("group " + std::string(*property.group));
  if (property.default_value) parts.push_back("default " + std::string(*property.default_value));
  if (property.min || property.max) {
    parts.push_back("range " + (property.min ? number(*property.min) : "-") + " to " +
                    (property.max ? number(*property.max) : "-"));
  }
  if (property.label) parts.push_back("label \"" + std::string(*property.label) + "\"");
  std::vector<std::string_view> views(parts.begin(), parts.end());
  return joined(views, "; ");
}

TEST(PropertyTableTest, EveryKeyOfEveryKindInTableOrder) {
  std::size_t next = 0;
  for (const BlockSpec& kind : block_table) {
    for (const PropertySpec& property : kind.properties) {
      ASSERT_LT(next, expected_properties.size()) << kind.name << " has more keys than expected";
      const PropertyRow& row = expected_properties[next++];
      SCOPED_TRACE(std::string(row.kind) + " " + std::string(row.key));
      EXPECT_EQ(kind.name, row.kind);
      EXPECT_EQ(property.key, row.key);
      EXPECT_EQ(property.value_type, row.type);
      EXPECT_EQ(property.shape, row.shape);
      EXPECT_EQ(dimension_column(property), row.dimension);
      EXPECT_EQ(property.reference_kind.value_or("-"), row.reference);
      EXPECT_EQ(joined(property.admissible_values, ", "), row.values);
      EXPECT_EQ(modifier_column(property), row.modifiers);
      EXPECT_EQ(other_column(property), row.other);
      // A UNITS key names a unit and has no dimension of its own.
      EXPECT_FALSE(property.dimension && !property.admissible_dimensions.empty());
    }
  }
  EXPECT_EQ(next, expected_properties.size());
}

TEST(PropertyTableTest, ExtentBoundsAreZeroAndOneExactly) {
  std::size_t bounded = 0;
  for (const BlockSpec& kind : block_table) {
    for (const PropertySpec& property : kind.properties) {
      if (!property.min && !property.max) continue;
      ++bounded;
      EXPECT_EQ(property.key, "extent") << kind.name;
      EXPECT_EQ(property.min, 0.0);
      EXPECT_EQ(property.max, 1.0);
    }
  }
  EXPECT_EQ(bounded, 5u);  // PROCESS, RAYLEIGH, ADSORPTION, EXCHANGE, IDENTIFY
}

TEST(PropertyTypeTest, DisplayNames) {
  const std::vector<std::pair<PropertyType, std::string_view>> names = {
      {Text, "Text"},   {String, "String"}, {Identifier, "Identifier"}, {Number, "Number"},
      {Date, "Date"},   {Version, "Version"}, {Path, "Path"},           {Ratio, "Ratio"},
      {Enum, "Enum"},   {Species, "Species"},
  };
  for (const auto& [type, name] : names) EXPECT_EQ(as_str(type), name);
  EXPECT_EQ(static_cast<int>(None), 255);
  EXPECT_EQ(static_cast<int>(Species), 9);
  EXPECT_EQ(static_cast<int>(Law), 7);
  EXPECT_EQ(static_cast<int>(List), 4);
}

const BlockSpec& kind(std::string_view name) { return *find_block_spec(name); }

TEST(FindPropertySpecTest, KeysMatchUnderAsciiCaseFolding) {
  struct Case {
    std::string_view kind;
    std::string_view key;
    std::optional<std::string_view> found;
  };
  const std::vector<Case> cases = {
      {"PROCESS", "type", "type"},
      {"PROCESS", "TYPE", "type"},
      {"PROCESS", "Type", "type"},
      {"PROCESS", "typ", std::nullopt},
      {"PROCESS", "types", std::nullopt},
      {"PROCESS", "", std::nullopt},
      {"CONDITIONS", "ph", "pH"},
      {"CONDITIONS", "PH", "pH"},
      {"CONDITIONS", "EH", "Eh"},
      {"CONDITIONS", "eh", "Eh"},
      {"FRACTIONATION", "LAW_FILE", "law_file"},
      {"FRACTIONATION", "law file", std::nullopt},  // the label is not a key
      {"PHREEQC", "input", std::nullopt},
      {"TITLE", "title", std::nullopt},      // kinds without keys find nothing
      {"PARAMETERS", "x", std::nullopt},
      {"REPORT", "format", std::nullopt},
      {"MODEL", "parameter", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.kind) + " " + std::string(c.key));
    const PropertySpec* property = find_property_spec(kind(c.kind), c.key);
    ASSERT_EQ(property != nullptr, c.found.has_value());
    if (property) {
      EXPECT_EQ(property->key, *c.found);
    }
  }
}

TEST(FindPropertySpecTest, ReturnsTheFirstRecordInTableOrder) {
  const BlockSpec& process = kind("PROCESS");
  EXPECT_EQ(find_property_spec(process, "law"), &process.properties[13]);
  const BlockSpec& fractionation = kind("FRACTIONATION");
  EXPECT_EQ(find_property_spec(fractionation, "law"), &fractionation.properties[3]);
}

// Every key of every kind, written in either case, finds the first record of that key; so does a
// kind record that is a copy of the table's.
TEST(FindPropertySpecTest, EveryKeyInEitherCase) {
  auto upper = [](std::string_view text) {
    std::string out(text);
    for (char& c : out) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return out;
  };
  for (const BlockSpec& kind : block_table) {
    BlockSpec copy = kind;
    for (const PropertySpec& property : kind.properties) {
      SCOPED_TRACE(std::string(kind.name) + " " + std::string(property.key));
      const PropertySpec* first = &property;
      for (const PropertySpec* p = kind.properties.data(); p != &property; ++p) {
        if (upper(p->key) == upper(property.key)) {
          first = p;
          break;
        }
      }
      EXPECT_EQ(find_property_spec(kind, property.key), first);
      EXPECT_EQ(find_property_spec(kind, upper(property.key)), first);
      EXPECT_EQ(find_property_spec(copy, upper(property.key)), first);
      EXPECT_EQ(find_property_spec(kind, std::string(property.key) + std::string(80, 'x')), nullptr);
    }
  }
}

TEST(FindPropertyByLabelTest, TwoWordForms) {
  struct Case {
    std::string_view kind;
    std::string_view key;
    std::string_view word;
    std::optional<std::string_view> found;
  };
  const std::vector<Case> cases = {
      {"FRACTIONATION", "law", "file", "law_file"},
      {"FRACTIONATION", "LAW", "File", "law_file"},
      {"PHREEQC", "input", "file", "input_file"},
      {"PHREEQC", "Input", "FILE", "input_file"},
      {"FRACTIONATION", "law", "files", std::nullopt},
      {"FRACTIONATION", "law", "", std::nullopt},
      {"FRACTIONATION", "law_file", "x", std::nullopt},
      {"FRACTIONATION", "", "law file", std::nullopt},
      {"FRACTIONATION", "law f", "ile", std::nullopt},
      {"PHREEQC", "law", "file", std::nullopt},  // labels belong to their kind
      {"PROCESS", "law", "file", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.kind) + " " + std::string(c.key) + "|" + std::string(c.word));
    const PropertySpec* property = find_property_by_label(kind(c.kind), c.key, c.word);
    ASSERT_EQ(property != nullptr, c.found.has_value());
    if (property) {
      EXPECT_EQ(property->key, *c.found);
    }
  }
}

TEST(OfferedNameTest, LabelReplacesTheKey) {
  std::vector<std::string_view> offered;
  for (const PropertySpec& property : kind("FRACTIONATION").properties) offered.push_back(offered_name(property));
  EXPECT_EQ(offered, (std::vector<std::string_view>{"isotope", "alpha", "epsilon", "law", "law file", "phase"}));
  EXPECT_EQ(offered_name(kind("PHREEQC").properties[0]), "input file");
}

}  // namespace
}  // namespace ovm::sema
