// What the model is made of: parameters, species, isotope systems, reservoirs and samples.
#include <utility>
#include <variant>

#include "ir/lower/lower_blocks.hpp"
#include "ir/lower/lower_declared.hpp"
#include "ir/lower/lower_references.hpp"
#include "ir/lower/lower_values.hpp"
#include "sema/isotope.hpp"
#include "sema/statement_text.hpp"
#include "sema/unit_registry.hpp"
#include "sema/validate_reading.hpp"

namespace ovm::ir {

using syntax::StatementKey;
using syntax::ValueKind;

namespace {

std::optional<std::string> block_name(const syntax::Block& block) {
  if (!block.name()) return std::nullopt;
  return std::string(block.name()->text);
}

}  // namespace

void lower_parameters(LoweringContext& context, const syntax::Block& block) { define_model_parameters(context, block); }

void lower_species(LoweringContext& context, const syntax::Block& block) {
  for (const syntax::Statement& statement : block.statements) {
    if (std::optional<std::string> formula = value_text(statement)) species_for_formula(context, *formula);
  }
}

namespace {

bool is_relative_block(const syntax::Block& block) {
  for (const syntax::Statement& statement : block.statements) {
    if (key_is(statement, "mode") && value_text(statement) == "relative") return true;
  }
  return false;
}

// The standard named after the first `standard` word; in a relative block the unit standard
// stands in for a missing one.
std::optional<Standard> ratio_standard(const LoweringContext& context, std::span<const syntax::Value> values,
                                       bool relative) {
  std::optional<std::size_t> word = sema::modifier_position(values, "standard");
  if (word && *word + 1 < values.size()) {
    if (std::optional<std::string> name = value_text(values[*word + 1])) {
      auto found = context.standards_by_name.find(*name);
      if (found != context.standards_by_name.end()) return found->second;
    }
  }
  if (relative) return Standard{"relative", 1.0, std::nullopt};
  return std::nullopt;
}

}  // namespace

void lower_isotopes(LoweringContext& context, const syntax::Block& block) {
  bool relative = is_relative_block(block);
  for (const syntax::Statement& statement : block.statements) {
    const syntax::Value* first = sema::first_value(statement);
    if (!sema::is_kind(first, ValueKind::Ratio)) continue;
    std::string_view notation = sema::value_text(*first);
    sema::RatioParse parsed = sema::parse_ratio(notation);
    const auto* ratio = std::get_if<sema::IsotopeRatio>(&parsed);
    if (ratio == nullptr) continue;
    auto id = static_cast<IsotopeId>(context.graph.isotopes.size());
    context.graph.isotopes.push_back(IsotopeSystem{id, std::string(notation), ratio->element, ratio->numerator,
                                                   ratio->denominator,
                                                   ratio_standard(context, sema::values_body(statement)->values, relative),
                                                   relative});
    context.isotopes_by_notation[std::string(notation)] = id;
  }
}

namespace {

// The amount in the base unit of `dimension`, molality or mass concentration.
std::optional<Amount> amount_of(std::string_view dimension, double value) {
  if (dimension == "molality") return Amount{Amount::Molality{value}};
  if (dimension == "mass_concentration") return Amount{Amount::MassConcentration{value}};
  return std::nullopt;
}

// A pool line: the first number (or the constant parameter a leading name gives) in the unit
// written, a leading unit word or the default of molality, then of mass concentration. A
// parameter written with a unit of its own is that amount already.
std::optional<Amount> pool_amount(const LoweringContext& context, const syntax::Statement& statement,
                                  const std::string& owner) {
  const std::optional<syntax::ValuesBody> body = sema::values_body(statement);
  if (!body || body->values.empty()) return std::nullopt;
  std::optional<NamedNumber> named = named_number(context, body->values.front(), owner);
  if (named && named->dimension) return body->unit ? std::nullopt : amount_of(*named->dimension, named->value);
  std::optional<double> number = named ? std::optional<double>(named->value) : first_number(statement);
  if (!number) return std::nullopt;
  std::optional<std::string> unit;
  if (body->unit) {
    unit = std::string(body->unit->text());
  } else if (!named && body->values.front().kind == ValueKind::Identifier) {
    unit = std::string(sema::value_text(body->values.front()));
  } else if (auto molality = context.unit_defaults.find("molality"); molality != context.unit_defaults.end()) {
    unit = molality->second;
  } else if (auto mass = context.unit_defaults.find("mass_concentration"); mass != context.unit_defaults.end()) {
    unit = mass->second;
  }
  if (!unit) return std::nullopt;
  std::optional<sema::UnitMatch> match = sema::find_unit(*unit);
  if (!match) return std::nullopt;
  return amount_of(match->dimension.name, sema::to_base(match->unit, *number));
}

// Each delta line applies to every pool whose formula holds its isotope system's element: as
// a ratio when the model gives the system a standard, else as the delta written, which the
// run measures against the standard a database gives.
void distribute_compositions(const LoweringContext& context, Reservoir& reservoir,
                             const std::vector<WrittenDelta>& deltas) {
  for (Pool& pool : reservoir.pools) {
    const std::string& formula = context.graph.species[pool.species].formula;
    for (const WrittenDelta& delta : deltas) {
      if (!formula_has_element(formula, context.graph.isotopes[delta.isotope].element)) continue;
      if (std::optional<double> ratio = delta_as_ratio(context, delta)) {
        pool.compositions.push_back(Composition{delta.isotope, *ratio});
      } else {
        pool.deltas.push_back(PoolDelta{delta.isotope, delta.delta_permil});
      }
    }
  }
}

void lower_reservoir_word(LoweringContext& context, const syntax::Statement& statement, Reservoir& reservoir) {
  if (key_is(statement, "mass")) {
    std::optional<double> kilograms = quantity_to_base(context, statement, "mass", reservoir.name);
    reservoir.extent = kilograms ? std::optional<Extent>(Extent{Extent::Mass{*kilograms}}) : std::nullopt;
  } else if (key_is(statement, "volume")) {
    std::optional<double> litres = quantity_to_base(context, statement, "volume", reservoir.name);
    reservoir.extent = litres ? std::optional<Extent>(Extent{Extent::Volume{*litres}}) : std::nullopt;
  } else if (key_is(statement, "temperature")) {
    reservoir.temperature_k = quantity_to_base(context, statement, "temperature", reservoir.name);
  } else if (key_is(statement, "parameter")) {
    // `parameter k = expression [unit]`: a parameter owned by the block.
    if (const syntax::AssignmentBody* assignment = local_assignment(statement)) {
      reservoir.parameters.push_back(
          define_parameter(context, statement, *assignment, reservoir.name, std::string(assignment->target->text)));
    }
  }
}

}  // namespace

void lower_reservoir(LoweringContext& context, const syntax::Block& block) {
  std::optional<std::string> name = block_name(block);
  if (!name) return;
  Reservoir reservoir;
  reservoir.id = static_cast<ReservoirId>(context.graph.reservoirs.size());
  reservoir.name = *name;
  declare_local_parameters(context, block, *name);
  std::vector<WrittenDelta> deltas;
  for (const syntax::Statement& statement : block.statements) {
    switch (statement.key().kind) {
      case StatementKey::Kind::Species: {
        SpeciesId species = species_for_formula(context, statement.key().text());
        if (std::optional<Amount> amount = pool_amount(context, statement, reservoir.name)) {
          reservoir.pools.push_back(Pool{species, *amount, {}, {}});
        }
        break;
      }
      case StatementKey::Kind::Delta:
        if (auto delta = written_delta(context, statement, statement.key().text(), reservoir.name)) deltas.push_back(*delta);
        break;
      case StatementKey::Kind::Word:
        lower_reservoir_word(context, statement, reservoir);
        break;
    }
  }
  distribute_compositions(context, reservoir, deltas);
  // Found by name once whole: nothing in the block looks up a reservoir.
  context.graph.reservoirs.push_back(std::move(reservoir));
  index_last_reservoir(context);
}

void lower_sample(LoweringContext& context, const syntax::Block& block) {
  std::optional<std::string> name = block_name(block);
  if (!name) return;
  Sample sample;
  sample.id = static_cast<SampleId>(context.graph.samples.size());
  sample.name = *name;
  for (const syntax::Statement& statement : block.statements) {
    if (statement.key().kind == StatementKey::Kind::Delta) {
      std::optional<WrittenDelta> delta = written_delta(context, statement, statement.key().text(), std::nullopt);
      std::optional<double> ratio = delta ? delta_as_ratio(context, *delta) : std::nullopt;
      if (ratio) sample.compositions.push_back(Composition{delta->isotope, *ratio});
      continue;
    }
    if (statement.key().kind != StatementKey::Kind::Word) continue;
    if (key_is(statement, "note")) {
      sample.note = value_text(statement);
    } else if (key_is(statement, "material")) {
      sample.material = value_text(statement);
    } else if (key_is(statement, "element")) {
      sample.element = value_text(statement).value_or("");
    } else if (key_is(statement, "series")) {
      if (const auto list = syntax::body_as<syntax::ListBody>(statement)) sample.series = collect_numbers(list->items);
    } else if (key_is(statement, "uncertainty")) {
      sample.uncertainty_permil = main_number(context, statement, std::nullopt);
    }
  }
  context.graph.samples.push_back(std::move(sample));
  index_last_sample(context);
}

}  // namespace ovm::ir
