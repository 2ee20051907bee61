#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ir/lower_context.hpp"
#include "syntax/tree.hpp"
#include "syntax/value.hpp"

namespace ovm::ir {

// Statement keys are matched under ASCII case folding, as the semantic checks match them: a
// key the checks accept in any case is read in any case. Names, values and units stay exact.
bool key_is(const syntax::Statement& statement, std::string_view key);

// A value as text: its own text for words, strings and dates; a number in the debug number
// form (2.0); a qualified name's parts joined with "."; nothing for an unreadable value.
std::optional<std::string> value_text(const syntax::Value& value);

// The text of the first (last) value of a values body; nothing for another body or no value.
std::optional<std::string> value_text(const syntax::Statement& statement);
std::optional<std::string> last_value_text(const syntax::Statement& statement);

// The first value of kind number of a values body.
std::optional<double> first_number(const syntax::Statement& statement);

// The first number in the base unit of `dimension`: the unit written, else a leading
// identifier, else the UNITS default, else the dimension's only unit.
std::optional<double> quantity_to_base(const LoweringContext& context, const syntax::Statement& statement,
                                       std::string_view dimension);

// A constant lowered from an expression, converted with the unit written after it when the
// registry knows that unit; any other expression is returned as it is.
Expr with_written_unit(Expr expr, const syntax::UnitExpr* unit);

// Value texts of a list, dropping values without text or, for the id lists, without a match.
std::vector<std::string> collect_value_texts(std::span<const syntax::Value> values);
std::vector<ReservoirId> collect_reservoir_ids(const LoweringContext& context, std::span<const syntax::Value> values);
std::vector<ProcessId> collect_process_ids(const LoweringContext& context, std::span<const syntax::Value> values);
std::vector<double> collect_numbers(std::span<const syntax::Value> values);

}  // namespace ovm::ir
