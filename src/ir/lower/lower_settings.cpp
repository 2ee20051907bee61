// The settings blocks: unit defaults, descriptive data, databases, conditions, standards and
// backends.
#include <array>
#include <variant>
#include <vector>

#include "diagnostics/text_match.hpp"
#include "ir/lower/lower_blocks.hpp"
#include "ir/lower/lower_values.hpp"
#include "sema/block_table.hpp"
#include "sema/statement_text.hpp"
#include "sema/unit_registry.hpp"
#include "sema/validate_reading.hpp"
#include "syntax/lexer.hpp"

namespace ovm::ir {

namespace {

std::optional<std::string> units_statement_unit(const syntax::Statement& statement) {
  if (const auto values = syntax::body_as<syntax::ValuesBody>(statement)) {
    if (values->unit) return std::string(values->unit->text());
    if (!values->values.empty() && values->values.front().kind == syntax::ValueKind::Identifier) {
      return std::string(sema::value_text(values->values.front()));
    }
    return std::nullopt;
  }
  if (const auto condition = syntax::body_as<syntax::ConditionBody>(statement)) {
    if (condition->unit) return std::string(condition->unit->text());
  }
  return std::nullopt;
}

}  // namespace

void lower_units(LoweringContext& context, const syntax::Block& block, const sema::BlockSpec& kind) {
  for (const syntax::Statement& statement : block.statements) {
    const sema::PropertySpec* property = sema::find_property_spec(kind, statement.key().text());
    if (property == nullptr) continue;
    std::optional<std::string> unit = units_statement_unit(statement);
    if (!unit) continue;
    std::optional<sema::UnitMatch> match = sema::find_unit(*unit);
    if (!match) continue;
    if (!diagnostics::contains_str(match->dimension.name, property->admissible_dimensions)) continue;
    context.unit_defaults[std::string(match->dimension.name)] = *unit;
  }
}

namespace {

// The statement's text up to its last token before a comment: `#` starts one wherever a token
// may start, also in the middle of a title line.
std::string_view text_before_comment(std::string_view line) {
  syntax::LineLexer lexer = syntax::start_lexing(line, 0);
  std::vector<syntax::Token> tokens;
  syntax::lex_line(lexer, tokens, true);
  std::size_t end = 0;
  for (const syntax::Token& token : tokens) {
    if (token.kind == syntax::TokenKind::Comment || token.kind == syntax::TokenKind::EndOfLine ||
        token.kind == syntax::TokenKind::EndOfFile) {
      break;
    }
    end = token.end;
  }
  return line.substr(0, end);
}

}  // namespace

void lower_title(LoweringContext& context, const syntax::Block& block) {
  if (block.statements.empty()) return;
  const diagnostics::Span& span = block.statements.front().span;
  if (span.start > span.end || span.end > context.source.size()) return;
  std::string_view line = context.source.substr(span.start, span.end - span.start);
  std::string_view title = sema::trim_white_space(text_before_comment(line));
  if (!title.empty()) context.graph.meta.title = std::string(title);
}

namespace {

struct MetaField {
  std::string_view key;
  std::optional<std::string> Meta::*field;
};

constexpr auto meta_fields = std::to_array<MetaField>({
    {"author", &Meta::author},
    {"date", &Meta::date},
    {"version", &Meta::version},
    {"language", &Meta::language},
    {"description", &Meta::description},
    {"license", &Meta::license},
    {"reference", &Meta::reference},
});

// A value as written: a number keeps its digits (`version 1.10` stays 1.10), other kinds give
// their text as every statement does.
std::optional<std::string> meta_text(const LoweringContext& context, const syntax::Statement& statement) {
  const syntax::Value* first = sema::first_value(statement);
  if (first == nullptr || first->kind != syntax::ValueKind::Number) return value_text(statement);
  const diagnostics::Span& span = first->span;
  if (span.start > span.end || span.end > context.source.size()) return value_text(statement);
  return std::string(context.source.substr(span.start, span.end - span.start));
}

}  // namespace

void lower_meta(LoweringContext& context, const syntax::Block& block) {
  for (const syntax::Statement& statement : block.statements) {
    for (const MetaField& entry : meta_fields) {
      if (key_is(statement, entry.key)) context.graph.meta.*entry.field = meta_text(context, statement);
    }
  }
}

void lower_database(LoweringContext& context, const syntax::Block& block) {
  for (const syntax::Statement& statement : block.statements) {
    std::optional<std::string> path = value_text(statement);
    if (path) context.graph.provenance.databases.push_back(DatabaseRef{std::move(*path), std::nullopt, std::nullopt});
  }
}

void lower_conditions(LoweringContext& context, const syntax::Block& block) {
  Conditions& conditions = context.graph.conditions;
  for (const syntax::Statement& statement : block.statements) {
    if (key_is(statement, "temperature")) {
      conditions.temperature_k = quantity_to_base(context, statement, "temperature");
    } else if (key_is(statement, "pressure")) {
      conditions.pressure_bar = quantity_to_base(context, statement, "pressure");
    } else if (key_is(statement, "pH")) {
      conditions.ph = main_number(context, statement, std::nullopt);
    } else if (key_is(statement, "Eh")) {
      conditions.eh_mv = quantity_to_base(context, statement, "potential");
    } else if (key_is(statement, "ionic_strength")) {
      conditions.ionic_strength = quantity_to_base(context, statement, "molality");
    }
  }
}

void lower_standard(LoweringContext& context, const syntax::Block& block) {
  for (const syntax::Statement& statement : block.statements) {
    const std::optional<syntax::ValuesBody> body = sema::values_body(statement);
    if (!body || body->values.size() < 2) continue;
    std::optional<std::string> name = value_text(body->values[0]);
    if (!name) continue;
    std::optional<double> ratio = number_or_name(context, body->values[1], std::nullopt);
    if (!ratio) continue;
    std::optional<std::size_t> word = sema::modifier_position(body->values, "uncertainty");
    std::optional<double> uncertainty;
    if (word && *word + 1 < body->values.size()) {
      uncertainty = number_or_name(context, body->values[*word + 1], std::nullopt);
    }
    context.standards_by_name[*name] = Standard{*name, *ratio, uncertainty};
  }
}

namespace {

// One export: the column, then the target the last value names, as a parameter a run fills.
void lower_backend_export(LoweringContext& context, const syntax::Statement& statement, Backend& backend) {
  const std::optional<syntax::ValuesBody> body = sema::values_body(statement);
  if (!body || body->values.empty()) return;
  std::optional<std::string> column = value_text(body->values.front());
  if (!column) return;
  const syntax::Value& target = body->values.back();
  if (target.kind != syntax::ValueKind::Identifier) return;
  ParameterId id = add_parameter(context, std::nullopt, std::string(sema::value_text(target)), std::nullopt);
  backend.exports.push_back(BackendExport{std::move(*column), id});
}

}  // namespace

void lower_phreeqc(LoweringContext& context, const syntax::Block& block) {
  if (!block.name()) return;
  Backend backend;
  backend.name = std::string(block.name()->text);
  std::optional<std::string> input;
  for (const syntax::Statement& statement : block.statements) {
    // `input file <path>` is the two-word form; the one-word key passes the checks as well and
    // must not lose the backend.
    if (key_is(statement, "input") || key_is(statement, "input_file")) {
      input = last_value_text(statement);
    } else if (key_is(statement, "database")) {
      backend.database = value_text(statement);
    } else if (key_is(statement, "mode")) {
      backend.mode = value_text(statement) == "series" ? BackendMode::Series : BackendMode::Oneshot;
    } else if (key_is(statement, "export")) {
      lower_backend_export(context, statement, backend);
    }
  }
  if (!input) return;
  backend.input_path = std::move(*input);
  context.graph.backends.push_back(std::move(backend));
}

}  // namespace ovm::ir
