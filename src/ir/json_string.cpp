#include "ir/json_string.hpp"

namespace ovm::ir {

namespace {

bool needs_escape(char c) { return static_cast<unsigned char>(c) < 0x20 || c == '"' || c == '\\'; }

}  // namespace

void append_json_string(std::string& out, std::string_view text) {
  static constexpr char hex[] = "0123456789abcdef";
  out += '"';
  for (std::size_t at = 0; at < text.size();) {
    // The bytes up to the next one that needs an escape go in at once.
    std::size_t plain = at;
    while (plain < text.size() && !needs_escape(text[plain])) ++plain;
    out.append(text.data() + at, plain - at);
    if (plain == text.size()) break;
    char c = text[plain];
    at = plain + 1;
    auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; continue;
      case '\\': out += "\\\\"; continue;
      case '\b': out += "\\b"; continue;
      case '\t': out += "\\t"; continue;
      case '\n': out += "\\n"; continue;
      case '\f': out += "\\f"; continue;
      case '\r': out += "\\r"; continue;
      default: break;
    }
    out += "\\u00";
    out += hex[byte >> 4];
    out += hex[byte & 0xF];
  }
  out += '"';
}

std::string json_string_text(std::string_view text) {
  std::string out;
  append_json_string(out, text);
  return out;
}

}  // namespace ovm::ir
