#include "syntax/tree.hpp"

#include <array>

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

}  // namespace

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
