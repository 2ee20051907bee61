// The run set-up: the simulation, identifications, recorded outputs and exports.
#include <cmath>
#include <type_traits>
#include <variant>

#include "ir/graph/lower_words.hpp"
#include "ir/lower/lower_blocks.hpp"
#include "ir/lower/lower_expr.hpp"
#include "ir/lower/lower_references.hpp"
#include "ir/lower/lower_values.hpp"
#include "sema/property_table.hpp"
#include "sema/unit_registry.hpp"
#include "sema/validate_reading.hpp"

namespace ovm::ir {

using syntax::SyntaxExpr;
using syntax::ValueKind;

namespace {

std::vector<std::string_view> part_texts(std::span<const syntax::Name> path) {
  std::vector<std::string_view> parts;
  for (const syntax::Name& part : path) parts.push_back(part.text);
  return parts;
}

// The dimension an amount subject is measured in: that of the pool it reads, else the one a
// pool line without a unit would take.
std::string_view amount_dimension(const LoweringContext& context, const Subject::Amount& amount) {
  for (const Pool& pool : context.graph.reservoirs[amount.reservoir].pools) {
    if (pool.species != amount.species) continue;
    if (std::holds_alternative<Amount::MassConcentration>(pool.amount.kind)) return "mass_concentration";
    return "molality";
  }
  if (!context.unit_defaults.contains("molality") && context.unit_defaults.contains("mass_concentration")) {
    return "mass_concentration";
  }
  return "molality";
}

std::string_view subject_dimension(const LoweringContext& context, const Subject& subject) {
  return std::visit(
      [&](const auto& quantity) -> std::string_view {
        using Quantity = std::decay_t<decltype(quantity)>;
        if constexpr (std::is_same_v<Quantity, Subject::Time>) return "time";
        if constexpr (std::is_same_v<Quantity, Subject::Amount>) return amount_dimension(context, quantity);
        if constexpr (std::is_same_v<Quantity, Subject::Composition> ||
                      std::is_same_v<Quantity, Subject::PoolComposition>) {
          return "delta";
        }
        return "dimensionless";
      },
      subject.kind);
}

// The stop value in the base unit of the subject: the unit written, else the UNITS default of
// the subject's dimension, else the number as it stands.
double stop_value(const LoweringContext& context, const syntax::ConditionBody& condition, const Subject& subject,
                  double value) {
  std::optional<std::string> unit;
  if (condition.unit) {
    unit = std::string(condition.unit->text());
  } else if (auto preset = context.unit_defaults.find(std::string(subject_dimension(context, subject)));
             preset != context.unit_defaults.end()) {
    unit = preset->second;
  }
  if (!unit) return value;
  std::optional<sema::UnitMatch> match = sema::find_unit(*unit);
  return match ? sema::to_base(match->unit, value) : value;
}

// The stop condition of an `until` statement.
std::optional<StopCondition> stop_condition(const LoweringContext& context, const syntax::Statement& statement) {
  const auto condition = syntax::body_as<syntax::ConditionBody>(statement);
  if (!condition) return std::nullopt;
  std::optional<Subject> subject;
  const SyntaxExpr::Kind lhs = condition->comparison->lhs->kind();
  if (const auto* qualified = std::get_if<SyntaxExpr::Qualified>(&lhs)) {
    subject = resolve_reference(context, part_texts(qualified->path));
  } else if (const auto* ident = std::get_if<SyntaxExpr::Ident>(&lhs); ident && ident->name == "time") {
    subject = Subject{Subject::Time{}};
  }
  if (!subject) return std::nullopt;
  std::optional<double> value = constant_value(lower_expr(context, *condition->comparison->rhs, std::nullopt));
  if (!value) return std::nullopt;
  // CompareOp and Comparison list the operators in the same order.
  return StopCondition{*subject, static_cast<Comparison>(condition->comparison->op),
                       stop_value(context, *condition, *subject, *value)};
}

template <typename Id, typename Record>
std::vector<Id> all_ids(const std::vector<Record>& records) {
  std::vector<Id> ids;
  ids.reserve(records.size());
  for (const Record& record : records) ids.push_back(record.id);
  return ids;
}

}  // namespace

void lower_simulation(LoweringContext& context, const syntax::Block& block) {
  Simulation simulation;
  if (block.name()) simulation.name = std::string(block.name()->text);
  for (const syntax::Statement& statement : block.statements) {
    if (key_is(statement, "step")) {
      simulation.step_seconds = quantity_to_base(context, statement, "time");
    } else if (key_is(statement, "until")) {
      simulation.stop = stop_condition(context, statement);
    } else if (key_is(statement, "progress")) {
      if (value_text(statement) == "extent") simulation.progress = Progress::Extent;
    } else if (key_is(statement, "processes")) {
      const auto list = syntax::body_as<syntax::ListBody>(statement);
      simulation.processes = list ? collect_process_ids(context, list->items) : std::vector<ProcessId>{};
    } else if (key_is(statement, "reservoirs")) {
      const auto list = syntax::body_as<syntax::ListBody>(statement);
      simulation.reservoirs = list ? collect_reservoir_ids(context, list->items) : std::vector<ReservoirId>{};
    }
  }
  if (simulation.reservoirs.empty()) simulation.reservoirs = all_ids<ReservoirId>(context.graph.reservoirs);
  if (simulation.processes.empty()) simulation.processes = all_ids<ProcessId>(context.graph.processes);
  if (!simulation.stop && simulation.progress != Progress::Extent) return;
  context.graph.simulation = std::move(simulation);
}

namespace {

std::optional<SampleId> sample_of_statement(const LoweringContext& context, const syntax::Statement& statement) {
  std::optional<std::string> name = value_text(statement);
  if (!name) return std::nullopt;
  return sample_id_of(context, *name);
}

// The fraction dropped, clamped to the unsigned 32-bit range; NaN gives 0.
std::optional<std::uint32_t> count_of(std::optional<double> number) {
  if (!number) return std::nullopt;
  if (std::isnan(*number) || *number <= 0) return 0;
  if (*number >= 4294967295.0) return 4294967295u;
  return static_cast<std::uint32_t>(*number);
}

}  // namespace

void lower_identify(LoweringContext& context, const syntax::Block& block) {
  if (!block.name()) return;
  Identification identification;
  identification.name = std::string(block.name()->text);
  std::optional<SampleId> source;
  std::optional<SampleId> product;
  std::optional<IdentificationMode> mode;
  for (const syntax::Statement& statement : block.statements) {
    if (key_is(statement, "source")) {
      source = sample_of_statement(context, statement);
    } else if (key_is(statement, "product")) {
      product = sample_of_statement(context, statement);
    } else if (key_is(statement, "mode")) {
      mode = enum_of_word<IdentificationMode>(value_text(statement).value_or(""), sema::property_lists::identify_modes);
    } else if (key_is(statement, "candidates")) {
      if (const auto list = syntax::body_as<syntax::ListBody>(statement)) {
        identification.candidates = collect_value_texts(list->items);
      }
    } else if (key_is(statement, "context")) {
      identification.context = value_text(statement);
    } else if (key_is(statement, "regime")) {
      identification.regime = value_text(statement);
    } else if (key_is(statement, "max_chain")) {
      identification.max_chain = count_of(main_number(context, statement, std::nullopt));
    } else if (key_is(statement, "top")) {
      identification.top = count_of(main_number(context, statement, std::nullopt));
    } else if (key_is(statement, "tolerance")) {
      identification.tolerance_permil = main_number(context, statement, std::nullopt);
    } else if (key_is(statement, "extent")) {
      identification.extent = main_number(context, statement, std::nullopt);
    }
  }
  if (!source || !product || !mode) return;
  identification.source = *source;
  identification.product = *product;
  identification.mode = *mode;
  context.graph.identifications.push_back(std::move(identification));
}

namespace {

std::optional<Output> output_of(const LoweringContext& context, const syntax::Statement& statement) {
  const syntax::Value* first = sema::first_value(statement);
  if (first == nullptr) return std::nullopt;
  if (first->kind == ValueKind::Qualified) {
    std::optional<Subject> subject = resolve_reference(context, first->parts());
    if (!subject) return std::nullopt;
    Variable variable = std::visit([](const auto& quantity) { return Variable{quantity}; }, subject->kind);
    return Output{std::move(variable), value_text(*first).value_or("")};
  }
  if (first->kind != ValueKind::Identifier) return std::nullopt;
  std::string_view word = sema::value_text(*first);
  if (word == "time") return Output{Variable{Variable::Time{}}, std::string(word)};
  std::optional<ParameterId> id = lookup_parameter(context, word, std::nullopt);
  if (!id) return std::nullopt;
  return Output{Variable{Variable::Parameter{*id}}, std::string(word)};
}

}  // namespace

void lower_output(LoweringContext& context, const syntax::Block& block) {
  for (const syntax::Statement& statement : block.statements) {
    if (key_is(statement, "every")) {
      context.graph.sampling_seconds = quantity_to_base(context, statement, "time");
    } else if (key_is(statement, "variable")) {
      if (std::optional<Output> output = output_of(context, statement)) context.graph.outputs.push_back(std::move(*output));
    }
  }
}

void lower_export(LoweringContext& context, const syntax::Block& block) {
  std::optional<std::string> path;
  std::optional<ExportFormat> format;
  for (const syntax::Statement& statement : block.statements) {
    if (key_is(statement, "file")) {
      path = value_text(statement);
    } else if (key_is(statement, "format")) {
      format = enum_of_word<ExportFormat>(value_text(statement).value_or(""), sema::property_lists::export_formats);
    }
  }
  if (!path || !format) return;
  context.graph.exports.push_back(Export{*format, std::move(*path)});
}

}  // namespace ovm::ir
