#include "ir/codec/codec_expr.hpp"

#include <string_view>
#include <vector>

#include "ir/json/json_enum.hpp"
#include "ir/json/json_record.hpp"
#include "ir/json/json_tagged.hpp"

namespace ovm::ir {
namespace {

constexpr JsonVariant expr_variants[] = {
    {"constant", "Constant"}, {"parameter", "Parameter"}, {"temperature", "Temperature", false},
    {"time", "Time", false},  {"unary", "Unary"},         {"binary", "Binary"},
    {"call", "Call"},
};
constexpr JsonEnum expr_enum{"Expr", expr_variants};

constexpr std::string_view unary_names[] = {"negate"};
constexpr std::string_view binary_names[] = {"add", "subtract", "multiply", "divide", "power"};
constexpr std::string_view function_names[] = {"exp", "ln", "log10", "sqrt", "abs", "pow", "min", "max"};

// The content of a struct variant is an object only: it has no array form.
constexpr JsonMember unary_members[] = {{"op"}, {"operand"}};
constexpr JsonRecord unary_record{"struct variant Expr::Unary", unary_members, false, false};
constexpr JsonMember binary_members[] = {{"op"}, {"lhs"}, {"rhs"}};
constexpr JsonRecord binary_record{"struct variant Expr::Binary", binary_members, false, false};
constexpr JsonMember call_members[] = {{"function"}, {"args"}};
constexpr JsonRecord call_record{"struct variant Expr::Call", call_members, false, false};

JsonStatus read_child(JsonInput in, std::unique_ptr<Expr>& out) {
  out = std::make_unique<Expr>();
  return deserialize_expr(in, *out);
}

// A node read is set as the expression's kind straight away: it is no operand of `out`, so
// Expr's own assignment, which goes through a temporary for that case, is not needed.
JsonStatus read_unary(JsonInput in, Expr& out) {
  Expr::Unary node;
  auto status = read_record(in, unary_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    if (member == 0) return read_enum(value, unary_names, node.op);
    return read_child(value, node.operand);
  });
  if (status) return status;
  out.kind = std::move(node);
  return std::nullopt;
}

JsonStatus read_binary(JsonInput in, Expr& out) {
  Expr::Binary node;
  auto status = read_record(in, binary_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    if (member == 0) return read_enum(value, binary_names, node.op);
    return read_child(value, member == 1 ? node.lhs : node.rhs);
  });
  if (status) return status;
  out.kind = std::move(node);
  return std::nullopt;
}

JsonStatus read_call(JsonInput in, Expr& out) {
  Expr::Call node;
  auto status = read_record(in, call_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    if (member == 0) return read_enum(value, function_names, node.function);
    return read_list(value, node.args, deserialize_expr);
  });
  if (status) return status;
  out.kind = std::move(node);
  return std::nullopt;
}

JsonStatus read_content(std::size_t variant, JsonInput in, Expr& out) {
  switch (variant) {
    case 0: {
      double value = 0;
      if (auto error = read_f64(in, value)) return error;
      out.kind = Expr::Constant{value};
      return std::nullopt;
    }
    case 1: {
      ParameterId id;
      if (auto error = read_u32(in, id.index)) return error;
      out.kind = Expr::Parameter{id};
      return std::nullopt;
    }
    case 4: return read_unary(in, out);
    case 5: return read_binary(in, out);
    default: return read_call(in, out);
  }
}

// ---- writing ----------------------------------------------------------------------------

// One step of the writer's walk: a node to write, a key to start, a list element to start,
// or a bracket to close.
struct WriteStep {
  enum class What : std::uint8_t { Node, Key, Item, EndObject, EndList };

  WriteStep(What what_, const Expr* expr_ = nullptr, std::string_view key_ = {})
      : what(what_), expr(expr_), key(key_) {}

  What what;
  const Expr* expr;
  std::string_view key;
};

// Writes the node's head and pushes what follows it, the last to be written first.
void write_node(const Expr& expr, JsonWriter& w, std::vector<WriteStep>& steps) {
  using What = WriteStep::What;
  json_begin_tagged(w, expr_variants[expr.kind.index()].name);
  if (const auto* constant = std::get_if<Expr::Constant>(&expr.kind)) {
    json_content(w);
    json_double(w, constant->value);
    return json_end_object(w);
  }
  if (const auto* parameter = std::get_if<Expr::Parameter>(&expr.kind)) {
    json_content(w);
    json_unsigned(w, parameter->id.index);
    return json_end_object(w);
  }
  if (std::holds_alternative<Expr::Temperature>(expr.kind) || std::holds_alternative<Expr::Time>(expr.kind)) {
    return json_end_object(w);
  }
  json_content(w);
  json_begin_object(w);
  steps.push_back({What::EndObject});
  steps.push_back({What::EndObject});
  if (const auto* unary = std::get_if<Expr::Unary>(&expr.kind)) {
    json_key(w, "op");
    json_unit_variant(w, unary_names[static_cast<std::size_t>(unary->op)]);
    json_key(w, "operand");
    steps.push_back({What::Node, unary->operand.get()});
    return;
  }
  if (const auto* binary = std::get_if<Expr::Binary>(&expr.kind)) {
    json_key(w, "op");
    json_unit_variant(w, binary_names[static_cast<std::size_t>(binary->op)]);
    json_key(w, "lhs");
    steps.push_back({What::Node, binary->rhs.get()});
    steps.push_back({What::Key, nullptr, "rhs"});
    steps.push_back({What::Node, binary->lhs.get()});
    return;
  }
  const auto& call = std::get<Expr::Call>(expr.kind);
  json_key(w, "function");
  json_unit_variant(w, function_names[static_cast<std::size_t>(call.function)]);
  json_key(w, "args");
  json_begin_list(w);
  steps.push_back({What::EndList});
  for (auto arg = call.args.rbegin(); arg != call.args.rend(); ++arg) {
    steps.push_back({What::Node, &*arg});
    steps.push_back({What::Item});
  }
}

}  // namespace

void serialize_expr(const Expr& expr, JsonWriter& w) {
  using What = WriteStep::What;
  std::vector<WriteStep> steps{{What::Node, &expr}};
  while (!steps.empty()) {
    WriteStep step = steps.back();
    steps.pop_back();
    switch (step.what) {
      case What::Node: write_node(*step.expr, w, steps); break;
      case What::Key: json_key(w, step.key); break;
      case What::Item: json_item(w); break;
      case What::EndObject: json_end_object(w); break;
      case What::EndList: json_end_list(w); break;
    }
  }
}

void serialize_optional_expr(const std::optional<Expr>& expr, JsonWriter& w) {
  if (!expr) return json_null(w);
  serialize_expr(*expr, w);
}

JsonStatus deserialize_expr(JsonInput in, Expr& out) {
  std::size_t variant = 0;
  auto status = read_adjacently_tagged(in, expr_enum, variant, [&](std::size_t chosen, JsonInput content) {
    return read_content(chosen, content, out);
  });
  if (status) return status;
  if (variant == 2) out.kind = Expr::Temperature{};
  if (variant == 3) out.kind = Expr::Time{};
  return std::nullopt;
}

JsonStatus deserialize_optional_expr(JsonInput in, std::optional<Expr>& out) {
  return read_optional(in, out, deserialize_expr);
}

JsonStatus deserialize_expr_buffered(const KeptValue& kept, Expr& out) { return deserialize_expr(kept_input(kept), out); }

}  // namespace ovm::ir
