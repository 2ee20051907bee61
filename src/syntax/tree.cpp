#include "syntax/tree.hpp"

#include <array>
#include <string_view>

namespace ovm::syntax {
namespace {

constexpr std::array<std::string_view, 3> key_kind_names = {"Word", "Species", "Delta"};

void append_debug_char(std::string& out, char c) {
  constexpr std::string_view hex = "0123456789abcdef";
  switch (c) {
    case '"': out += "\\\""; return;
    case '\\': out += "\\\\"; return;
    case '\t': out += "\\t"; return;
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\0': out += "\\0"; return;
    default: break;
  }
  auto byte = static_cast<unsigned char>(c);
  if (byte >= 0x20 && byte != 0x7F) {
    out += c;
    return;
  }
  out += "\\u{";
  if (byte >= 0x10) out += hex[byte >> 4];
  out += hex[byte & 0xF];
  out += '}';
}

constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

std::uint32_t count_of(std::size_t size) { return static_cast<std::uint32_t>(size); }

}  // namespace

Statement::Statement(StatementKey key, const StatementBody& body, diagnostics::Span span, Arena& arena)
    : span(span), key_size_(count_of(key.text().size())), key_text_(key.text().data()), key_kind_(key.kind) {
  auto held = [&](Form form, const void* first, std::size_t count) {
    form_ = form;
    storage_.held = Held{first, count_of(count)};
  };
  auto placed = [&](Form form, const auto& view) {
    form_ = form;
    storage_.held = Held{arena.make(view), 0};
  };
  std::visit(Overloaded{
                 [&](const ValuesBody& b) { *this = Statement(key, b.values, b.unit, span, arena); },
                 [&](const AssignmentBody& b) { placed(Form::Assignment, b); },
                 [&](const ListBody& b) { held(Form::List, arena.copy(b.items).data(), b.items.size()); },
                 [&](const ConditionBody& b) { placed(Form::Condition, b); },
                 [&](const NestedBody& b) { held(Form::Nested, b.statements.data(), b.statements.size()); },
             },
             body);
}

std::uint32_t key_column(const Statement& statement, std::string_view source) {
  std::size_t start = statement.span.start;
  std::size_t line_end = source.rfind('\n', start == 0 ? 0 : start - 1);
  std::size_t line_start = line_end != std::string_view::npos && line_end < start ? line_end + 1 : 0;
  // The lexer counts the first line's columns after a byte order mark.
  if (line_start == 0 && source.substr(0, byte_order_mark.size()) == byte_order_mark) line_start = byte_order_mark.size();
  return count_of(start - line_start);
}

std::string StatementKey::debug_text() const {
  std::string out;
  out.reserve(key_kind_names[static_cast<std::size_t>(kind)].size() + text_size + 4);
  out += key_kind_names[static_cast<std::size_t>(kind)];
  out += "(\"";
  for (char c : text()) append_debug_char(out, c);
  out += "\")";
  return out;
}

}  // namespace ovm::syntax
