#include "tree_text.hpp"

#include <charconv>
#include <ostream>
#include <variant>

namespace ovm::syntax::testing {
namespace {

std::string number_text(double x) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, x);
  return std::string(buffer, result.ptr);
}

std::string joined(const std::vector<std::string>& parts, std::string_view separator) {
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += separator;
    out += parts[i];
  }
  return out;
}

std::string kind_tag(ValueKind kind) {
  switch (kind) {
    case ValueKind::Identifier: return "ident";
    case ValueKind::Species: return "species";
    case ValueKind::Delta: return "delta";
    case ValueKind::Ratio: return "ratio";
    case ValueKind::Number: return "number";
    case ValueKind::String: return "string";
    case ValueKind::Date: return "date";
    case ValueKind::Qualified: return "qualified";
    case ValueKind::Unreadable: return "raw";
  }
  return "?";
}

std::string unit_suffix(const UnitExpr* unit) { return unit ? " unit " + std::string(unit->text()) : ""; }

struct ExprPrinter {
  std::string operator()(const SyntaxExpr::Number& n) const { return number_text(n.value); }
  std::string operator()(const SyntaxExpr::Literal& l) const { return "lit:" + value_text(*l.of); }
  std::string operator()(const SyntaxExpr::Ident& i) const { return std::string(i.name); }
  std::string operator()(const SyntaxExpr::Qualified& q) const {
    std::vector<std::string> parts;
    for (const Name& part : q.path) parts.emplace_back(part.text);
    return joined(parts, ".");
  }
  std::string operator()(const SyntaxExpr::Call& c) const {
    std::vector<std::string> args;
    for (const SyntaxExpr& arg : c.args) args.push_back(expr_text(arg));
    return std::string(c.name) + "(" + joined(args, ", ") + ")";
  }
  std::string operator()(const SyntaxExpr::Unary& u) const { return "(neg " + expr_text(*u.operand) + ")"; }
  std::string operator()(const SyntaxExpr::Binary& b) const {
    return "(" + std::string(as_str(b.op)) + " " + expr_text(*b.lhs) + " " + expr_text(*b.rhs) + ")";
  }
  std::string operator()(const SyntaxExpr::Error&) const { return "<error>"; }
};

struct BodyPrinter {
  std::string operator()(const ValuesBody& b) const { return "values[" + values_text(b.values) + "]" + unit_suffix(b.unit); }
  std::string operator()(const AssignmentBody& b) const {
    std::string target = b.target ? std::string(b.target->text) + " " : "";
    return "assign " + target + "= " + expr_text(*b.expr) + unit_suffix(b.unit);
  }
  std::string operator()(const ListBody& b) const { return "list[" + values_text(b.items) + "]"; }
  std::string operator()(const ConditionBody& b) const {
    const Comparison& c = *b.comparison;
    return "cond " + expr_text(*c.lhs) + " " + std::string(as_str(c.op)) + " " + expr_text(*c.rhs) + unit_suffix(b.unit);
  }
  std::string operator()(const NestedBody& b) const {
    std::vector<std::string> inner;
    for (const Statement& s : b.statements) inner.push_back(statement_text(s));
    return "nested{" + joined(inner, "; ") + "}";
  }
};

}  // namespace

std::string value_text(const Value& value) {
  std::string payload;
  if (value.has_text()) payload = value.text();
  if (value.kind == ValueKind::Number) payload = number_text(value.number());
  if (value.kind == ValueKind::Qualified) {
    payload = joined(std::vector<std::string>(value.parts().begin(), value.parts().end()), ".");
  }
  return kind_tag(value.kind) + ":" + payload;
}

std::string values_text(std::span<const Value> values) {
  std::vector<std::string> texts;
  for (const Value& v : values) texts.push_back(value_text(v));
  return joined(texts, ", ");
}

std::string expr_text(const SyntaxExpr& expr) { return std::visit(ExprPrinter{}, expr.kind()); }

std::string body_text(const StatementBody& body) { return std::visit(BodyPrinter{}, body); }

std::string statement_text(const Statement& statement) {
  return statement.key().debug_text() + ": " + body_text(statement.body());
}

std::vector<Reported> reported(const diagnostics::Diagnostics& list) {
  std::vector<Reported> out;
  for (const diagnostics::Diagnostic& d : list) {
    out.push_back(Reported{std::string(d.code.as_str()), d.span.start, d.span.end, d.label.value_or("")});
  }
  return out;
}

void PrintTo(const Reported& r, std::ostream* os) {
  *os << r.code << " [" << r.start << ", " << r.end << ") \"" << r.label << "\"";
}

}  // namespace ovm::syntax::testing
