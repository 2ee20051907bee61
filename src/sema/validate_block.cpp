#include "sema/validate_block.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "diagnostics/message_text.hpp"
#include "sema/block_table.hpp"
#include "sema/suggest.hpp"
#include "sema/unit_registry.hpp"
#include "sema/validate_block_rules.hpp"
#include "sema/validate_block_state.hpp"
#include "sema/validate_isotopes.hpp"
#include "sema/validate_law.hpp"
#include "sema/validate_named_numbers.hpp"
#include "sema/validate_reading.hpp"
#include "sema/validate_units.hpp"
#include "sema/validate_until.hpp"
#include "sema/validate_values.hpp"

namespace ovm::sema {
namespace {

using diagnostics::Diagnostic;
using diagnostics::DiagnosticCode;
using syntax::StatementKey;
using syntax::ValueKind;

// What a species line's amount and a delta line's composition may be measured in.
constexpr auto species_line_dimensions = std::to_array<std::string_view>({"molality", "mass_concentration"});
constexpr auto delta_line_dimensions = std::to_array<std::string_view>({"delta"});

// A kind's found properties are one bit each of BlockState::present_properties.
static_assert(std::all_of(block_table.begin(), block_table.end(), [](const BlockSpec& kind) { return kind.properties.size() <= 64; }));

// The distinct exclusive groups of a kind fit BlockState's room for them.
constexpr std::size_t group_count(const BlockSpec& kind) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < kind.properties.size(); ++i) {
    const auto& group = kind.properties[i].group;
    bool earlier = false;
    for (std::size_t j = 0; j < i; ++j) earlier = earlier || (group && kind.properties[j].group == group);
    if (group && !earlier) ++count;
  }
  return count;
}
static_assert(std::all_of(block_table.begin(), block_table.end(),
                          [](const BlockSpec& kind) { return group_count(kind) <= BlockState::group_room; }));

void report(ValidationContext& context, DiagnosticCode code, diagnostics::Span span, std::string label) {
  push_diagnostic(context.diagnostics, Diagnostic(code, span).with_label(label));
}

// The process type or rate law the discriminating statement names, when it names one.
const VariantSpec* find_variant(ValidationContext& context, const syntax::Block& block, const BlockSpec& kind) {
  if (!kind.discriminator || block.statements.empty()) return nullptr;
  std::string_view key = *kind.discriminator;
  auto statement = std::find_if(block.statements.begin(), block.statements.end(),
                                [&](const syntax::Statement& s) { return key_is(s, key); });
  if (statement == block.statements.end()) return nullptr;
  // Lowering reads the last of them and these checks the first: both must read the same one.
  auto again = std::find_if(std::next(statement), block.statements.end(),
                            [&](const syntax::Statement& s) { return key_is(s, key); });
  if (again != block.statements.end()) {
    push_diagnostic(context.diagnostics, Diagnostic(DiagnosticCode::OV213, key_span(*again))
                                             .with_label(diagnostics::fill_message("`{}` is already set above", {key}))
                                             .with_note(key_span(*statement), "already set here"));
  }
  const syntax::Value* value = first_value(*statement);
  if (!is_kind(value, ValueKind::Identifier)) return nullptr;
  std::string_view text = value_text(*value);
  const VariantSpec* variant = kind.name == "PROCESS" ? process_type_spec(text) : rate_law_spec(text);
  if (variant != nullptr) return variant;
  const PropertySpec* property = find_property_spec(kind, key);
  std::span<const std::string_view> candidates;
  if (property != nullptr) candidates = property->admissible_values;
  push_diagnostic(context.diagnostics, Diagnostic(DiagnosticCode::OV202, value->span)
                                           .with_label(diagnostics::fill_message("`{}` is not an admissible {}", {text, key}))
                                           .with_help(unknown_name_help(text, candidates)));
  return nullptr;
}

// The values of a species or delta line; none when the kind takes no such line (reported
// with `refusal`) or when the line has another body.
std::optional<syntax::ValuesBody> line_values(ValidationContext& context, const BlockSpec& kind,
                                              const syntax::Statement& statement, bool accepted, std::string_view refusal) {
  if (!accepted) {
    report(context, DiagnosticCode::OV210, key_span(statement), diagnostics::fill_message(refusal, {kind.name}));
    return std::nullopt;
  }
  return values_body(statement);
}

// A line's number written as a name; a leading unit word is no name.
const syntax::Value* line_number_name(const syntax::ValuesBody& body) {
  if (body.values.empty() || body.values.front().kind != ValueKind::Identifier) return nullptr;
  if (unit_lookup(value_text(body.values.front()))) return nullptr;
  return &body.values.front();
}

void check_species_line(ValidationContext& context, const BlockState& state, const BlockSpec& kind,
                        const syntax::Statement& statement) {
  const std::optional<syntax::ValuesBody> body =
      line_values(context, kind, statement, kind.species_lines, "`{}` does not take species lines");
  if (!body) return;
  if (const syntax::Value* name = line_number_name(*body)) {
    check_named_number(context, state.scope, *name, statement, body->unit, species_line_dimensions);
    return;
  }
  check_unit(context, body->unit, species_line_dimensions, statement.span);
  const syntax::Value* first = first_value(statement);
  std::optional<double> amount = first != nullptr ? value_number(*first) : std::nullopt;
  if (amount && *amount < 0) report(context, DiagnosticCode::OV201, first->span, "a concentration cannot be negative");
}

void check_delta_line(ValidationContext& context, const BlockState& state, const BlockSpec& kind,
                      const syntax::Statement& statement) {
  const std::optional<syntax::ValuesBody> body =
      line_values(context, kind, statement, kind.delta_lines, "`{}` does not take delta lines");
  if (!body) return;
  if (const syntax::Value* name = line_number_name(*body)) {
    check_named_number(context, state.scope, *name, statement, body->unit, delta_line_dimensions);
  } else {
    check_unit(context, body->unit, delta_line_dimensions, statement.span);
  }
  check_delta_composition(context, statement);
}

// PARAMETERS binds names to expressions and holds nothing else.
void check_expression_statement(ValidationContext& context, const syntax::Statement& statement) {
  const syntax::AssignmentBody* assignment = statement.assignment();
  if (assignment == nullptr) {
    report(context, DiagnosticCode::OV007, statement.span, "this block takes `name = expression` only");
    return;
  }
  check_literal_assignment(context, *assignment);
}

// A two-word form (law file, input file) is tried before the key alone.
const PropertySpec* statement_property(const BlockSpec& kind, const syntax::Statement& statement) {
  const syntax::Value* first = first_value(statement);
  if (is_kind(first, ValueKind::Identifier)) {
    if (const PropertySpec* labelled = find_property_by_label(kind, statement.key().text(), value_text(*first))) {
      return labelled;
    }
  }
  return find_property_spec(kind, statement.key().text());
}

void report_unknown_property(ValidationContext& context, const BlockSpec& kind, const syntax::Statement& statement) {
  std::vector<std::string_view> offered;
  for (const PropertySpec& property : kind.properties) offered.push_back(offered_name(property));
  push_diagnostic(context.diagnostics,
                  Diagnostic(DiagnosticCode::OV210, key_span(statement))
                      .with_label(diagnostics::fill_message("`{}` is not a property of `{}`", {statement.key().text(), kind.name}))
                      .with_help(unknown_name_help(statement.key().text(), offered)));
}

void check_group(ValidationContext& context, BlockState& state, std::string_view group,
                 const syntax::Statement& statement) {
  auto begin = state.groups.begin();
  auto end = begin + static_cast<std::ptrdiff_t>(state.group_count);
  auto entry = std::find_if(begin, end, [&](const BlockState::GroupSpan& met) { return met.group == group; });
  if (entry == end) {
    state.groups[state.group_count++] = BlockState::GroupSpan{group, key_span(statement)};
    return;
  }
  push_diagnostic(context.diagnostics,
                  Diagnostic(DiagnosticCode::OV213, key_span(statement))
                      .with_label(diagnostics::fill_message("`{}` cannot be combined with the property above", {statement.key().text()}))
                      .with_note(entry->first_key, "already set here"));
}

void check_word_statement(ValidationContext& context, BlockState& state, const BlockSpec& kind,
                          const syntax::Statement& statement) {
  if (kind.expressions_only) {
    check_expression_statement(context, statement);
    return;
  }
  // Local bindings are name resolution's business.
  if (kind.local_parameters && key_is(statement, "parameter")) return;
  const PropertySpec* property = statement_property(kind, statement);
  if (property == nullptr) {
    report_unknown_property(context, kind, statement);
    return;
  }
  state.present_properties |= std::uint64_t{1} << (property - kind.properties.data());
  if (property->group) check_group(context, state, *property->group, statement);
  if (const auto values = syntax::body_as<syntax::ValuesBody>(statement)) {
    check_values(context, *property, statement, *values, state.scope);
    if (kind.name == "FRACTIONATION" && property->key == "isotope") check_fractionation_isotope(context, statement);
  } else if (const syntax::AssignmentBody* assignment = statement.assignment()) {
    check_literal_assignment(context, *assignment);
  } else if (const auto list = syntax::body_as<syntax::ListBody>(statement)) {
    check_list(context, *property, *list);
  } else if (const auto law = syntax::body_as<syntax::NestedBody>(statement)) {
    check_inline_law(context, *law);
  } else if (const auto condition = syntax::body_as<syntax::ConditionBody>(statement)) {
    check_until(context, *condition);
  }
}

void check_statement(ValidationContext& context, BlockState& state, const BlockSpec& kind,
                     const syntax::Statement& statement) {
  switch (statement.key().kind) {
    case StatementKey::Kind::Species: check_species_line(context, state, kind, statement); return;
    case StatementKey::Kind::Delta: check_delta_line(context, state, kind, statement); return;
    case StatementKey::Kind::Word: check_word_statement(context, state, kind, statement); return;
  }
}

}  // namespace

void validate_block(ValidationContext& context, const syntax::Block& block, const BlockSpec& kind) {
  if (!kind.implemented || kind.content_line || kind.law_body) return;
  BlockState state;
  if (std::optional<syntax::Name> name = block.name()) state.scope = name->text;
  state.variant = find_variant(context, block, kind);
  for (const syntax::Statement& statement : block.statements) check_statement(context, state, kind, statement);
  check_block_rules(context, state, block, kind);
}

}  // namespace ovm::sema
