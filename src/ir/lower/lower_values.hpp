#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ir/lower/lower_context.hpp"
#include "sema/block_schema.hpp"
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

// Fills the context's parameter definitions from every block, before any pass lowers.
void gather_parameter_definitions(LoweringContext& context, const std::vector<syntax::Block>& blocks,
                                  std::span<const sema::BlockSpec* const> kinds);

// A number written as the name of a parameter the owner can see (its own, else a model-wide
// one) set to a constant or a negated one, whatever pass lowers the statement. When a unit was written after that value, `dimension` is what it
// measures and the value is in that dimension's base unit already.
struct NamedNumber {
  double value = 0;
  std::optional<std::string_view> dimension;
};
std::optional<NamedNumber> named_number(const LoweringContext& context, const syntax::Value& value,
                                        const std::optional<std::string>& owner);

// A number as written, or the value of the constant parameter the value names.
std::optional<double> number_or_name(const LoweringContext& context, const syntax::Value& value,
                                     const std::optional<std::string>& owner);

// The statement's number: its first value when that names a constant parameter, else its
// first value of kind number.
std::optional<double> main_number(const LoweringContext& context, const syntax::Statement& statement,
                                  const std::optional<std::string>& owner);

// The statement's number in the base unit of `dimension`: the unit written, else a leading
// identifier, else the UNITS default, else the dimension's only unit. A leading name of a
// constant parameter stands for its number, converted the same way; when the parameter was
// written with a unit of its own its value is taken as it is, and a second unit gives nothing.
std::optional<double> quantity_to_base(const LoweringContext& context, const syntax::Statement& statement,
                                       std::string_view dimension, const std::optional<std::string>& owner = std::nullopt);

// The value of a constant or of a negation of one (-5 is the constant 5 negated); nothing for
// any other expression.
std::optional<double> constant_value(const Expr& expr);

// A constant (or negated constant) lowered from an expression, converted with the unit written after it when the
// registry knows that unit; any other expression is returned as it is.
Expr with_written_unit(Expr expr, const syntax::UnitExpr* unit);

// Value texts of a list, dropping values without text or, for the id lists, without a match.
std::vector<std::string> collect_value_texts(std::span<const syntax::Value> values);
std::vector<ReservoirId> collect_reservoir_ids(const LoweringContext& context, std::span<const syntax::Value> values);
std::vector<ProcessId> collect_process_ids(const LoweringContext& context, std::span<const syntax::Value> values);
std::vector<double> collect_numbers(std::span<const syntax::Value> values);

}  // namespace ovm::ir
