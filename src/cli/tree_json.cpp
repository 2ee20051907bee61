#include "cli/tree_json.hpp"

#include <cmath>
#include <variant>

#include "diagnostics/number_text.hpp"

namespace ovm::cli {
namespace {

using syntax::SyntaxExpr;

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

std::string_view key_kind(syntax::StatementKey::Kind kind) {
  switch (kind) {
    case syntax::StatementKey::Kind::Word: return "word";
    case syntax::StatementKey::Kind::Species: return "species";
    case syntax::StatementKey::Kind::Delta: return "delta";
  }
  return "word";
}

std::string_view atom_kind(syntax::ValueKind kind) {
  switch (kind) {
    case syntax::ValueKind::Identifier: return "ident";
    case syntax::ValueKind::Species: return "species";
    case syntax::ValueKind::Delta: return "delta";
    case syntax::ValueKind::Ratio: return "ratio";
    case syntax::ValueKind::Number: return "number";
    case syntax::ValueKind::String: return "string";
    case syntax::ValueKind::Date: return "date";
    case syntax::ValueKind::Qualified: return "qualified";
    case syntax::ValueKind::Unreadable: return "raw";
  }
  return "raw";
}

std::string value_text(const syntax::Value& value) {
  if (value.kind == syntax::ValueKind::Number) return tree_json_number_text(value.number());
  if (value.kind != syntax::ValueKind::Qualified) return std::string(value.text());
  std::string joined;
  for (std::string_view part : value.parts()) {
    if (!joined.empty()) joined += '.';
    joined += part;
  }
  return joined;
}

void append_span(std::string& out, diagnostics::Span span) {
  out += '[';
  out += std::to_string(span.start);
  out += ", ";
  out += std::to_string(span.end);
  out += ']';
}

void append_unit(std::string& out, const syntax::UnitExpr* unit) {
  out += ", \"unit\": ";
  out += unit ? json_string(unit->text()) : "null";
}

void body_to_json(std::string& out, const syntax::StatementBody& body, std::string_view source, std::size_t n) {
  std::visit(Overloaded{
                 [&](const syntax::ValuesBody& b) {
                   out += "{\"kind\": \"values\", \"values\": ";
                   atoms_to_json(out, b.values);
                   append_unit(out, b.unit);
                   out += '}';
                 },
                 [&](const syntax::AssignmentBody& b) {
                   out += "{\"kind\": \"assignment\", \"target\": ";
                   out += b.target ? json_string(b.target->text) : "null";
                   out += ", \"expr\": ";
                   expr_to_json(out, *b.expr);
                   append_unit(out, b.unit);
                   out += '}';
                 },
                 [&](const syntax::ListBody& b) {
                   out += "{\"kind\": \"list\", \"items\": ";
                   atoms_to_json(out, b.items);
                   out += '}';
                 },
                 [&](const syntax::ConditionBody& b) {
                   out += "{\"kind\": \"condition\", \"lhs\": ";
                   expr_to_json(out, *b.comparison->lhs);
                   out += ", \"op\": ";
                   out += json_string(as_str(b.comparison->op));
                   out += ", \"rhs\": ";
                   expr_to_json(out, *b.comparison->rhs);
                   append_unit(out, b.unit);
                   out += '}';
                 },
                 [&](const syntax::NestedBody& b) {
                   out += "{\"kind\": \"nested\", \"statements\": [";
                   std::string indent(n + 4, ' ');
                   bool first = true;
                   for (const syntax::Statement& inner : b.statements) {
                     if (!first) out += ',';
                     first = false;
                     out += '\n';
                     out += indent;
                     statement_to_json(out, inner, source, n + 4);
                   }
                   out += "]}";
                 },
             },
             body);
}

void block_to_json(std::string& out, const syntax::Block& block, std::string_view source) {
  out += "{\n      \"keyword\": ";
  out += json_string(block.keyword());
  out += ",\n      \"name\": ";
  out += block.name() ? json_string(block.name()->text) : "null";
  out += ",\n      \"span\": ";
  append_span(out, block.span());
  out += ",\n      \"statements\": [";
  bool first = true;
  for (const syntax::Statement& statement : block.statements) {
    if (!first) out += ',';
    first = false;
    out += "\n        ";
    statement_to_json(out, statement, source, 8);
  }
  if (!block.statements.empty()) out += "\n      ";
  out += "]\n    }";
}

}  // namespace

std::string json_string(std::string_view text) {
  static constexpr char hex[] = "0123456789abcdef";
  std::string out = "\"";
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\t': out += "\\t"; continue;
      case '\n': out += "\\n"; continue;
      case '"': out += "\\\""; continue;
      case '\\': out += "\\\\"; continue;
      case '\r': continue;
      default: break;
    }
    if (byte < 0x20) {
      out += "\\u00";
      out += hex[byte >> 4];
      out += hex[byte & 0xF];
      continue;
    }
    out += c;
  }
  out += '"';
  return out;
}

std::string tree_json_number_text(double value) { return diagnostics::plain_decimal(value); }

void atoms_to_json(std::string& out, std::span<const syntax::Value> values) {
  out += '[';
  bool first = true;
  for (const syntax::Value& value : values) {
    if (!first) out += ", ";
    first = false;
    out += "{\"kind\": \"";
    out += atom_kind(value.kind);
    out += "\", \"text\": ";
    out += json_string(value_text(value));
    out += ", \"span\": ";
    append_span(out, value.span);
    out += '}';
  }
  out += ']';
}

void expr_to_json(std::string& out, const SyntaxExpr& expr) {
  std::visit(Overloaded{
                 [&](const SyntaxExpr::Number& e) {
                   out += "{\"kind\": \"number\", \"value\": ";
                   // A value without a JSON number form is written null so the document stays JSON.
                   out += std::isfinite(e.value) ? tree_json_number_text(e.value) : "null";
                   out += '}';
                 },
                 [&](const SyntaxExpr::Literal& e) {
                   out += "{\"kind\": \"literal\", \"of\": ";
                   out += json_string(syntax::display_name(e.of->kind));
                   out += '}';
                 },
                 [&](const SyntaxExpr::Ident& e) {
                   out += "{\"kind\": \"ident\", \"name\": ";
                   out += json_string(e.name);
                   out += '}';
                 },
                 [&](const SyntaxExpr::Qualified& e) {
                   out += "{\"kind\": \"qualified\", \"path\": [";
                   for (std::size_t i = 0; i < e.path.size(); ++i) {
                     if (i > 0) out += ", ";
                     out += json_string(e.path[i].text);
                   }
                   out += "]}";
                 },
                 [&](const SyntaxExpr::Call& e) {
                   out += "{\"kind\": \"call\", \"name\": ";
                   out += json_string(e.name);
                   out += ", \"args\": [";
                   for (std::size_t i = 0; i < e.args.size(); ++i) {
                     if (i > 0) out += ", ";
                     expr_to_json(out, e.args[i]);
                   }
                   out += "]}";
                 },
                 [&](const SyntaxExpr::Unary& e) {
                   out += "{\"kind\": \"unary\", \"op\": \"-\", \"operand\": ";
                   expr_to_json(out, *e.operand);
                   out += '}';
                 },
                 [&](const SyntaxExpr::Binary& e) {
                   out += "{\"kind\": \"binary\", \"op\": ";
                   out += json_string(as_str(e.op));
                   out += ", \"lhs\": ";
                   expr_to_json(out, *e.lhs);
                   out += ", \"rhs\": ";
                   expr_to_json(out, *e.rhs);
                   out += '}';
                 },
                 [&](const SyntaxExpr::Error&) { out += "{\"kind\": \"error\"}"; },
             },
             expr.kind());
}

void statement_to_json(std::string& out, const syntax::Statement& statement, std::string_view source, std::size_t n) {
  std::string inner(n + 2, ' ');
  out += "{\n";
  out += inner;
  out += "\"key\": {\"kind\": \"";
  out += key_kind(statement.key().kind);
  out += "\", \"text\": ";
  out += json_string(statement.key().text());
  out += "},\n";
  out += inner;
  out += "\"indent\": ";
  out += std::to_string(syntax::key_column(statement, source));
  out += ",\n";
  out += inner;
  out += "\"span\": ";
  append_span(out, statement.span);
  out += ",\n";
  out += inner;
  out += "\"raw\": ";
  std::size_t start = std::min<std::size_t>(statement.span.start, source.size());
  std::size_t end = std::min<std::size_t>(std::max(statement.span.end, statement.span.start), source.size());
  out += json_string(source.substr(start, end - start));
  out += ",\n";
  out += inner;
  out += "\"body\": ";
  body_to_json(out, statement.body(), source, n);
  out += '\n';
  out.append(n, ' ');
  out += '}';
}

std::string tree_to_json(const std::vector<syntax::Block>& blocks, std::string_view source) {
  std::string out = "{\n  \"blocks\": [";
  bool first = true;
  for (const syntax::Block& block : blocks) {
    if (!first) out += ',';
    first = false;
    out += "\n    ";
    block_to_json(out, block, source);
  }
  if (!blocks.empty()) out += "\n  ";
  out += "]\n}\n";
  return out;
}

}  // namespace ovm::cli
