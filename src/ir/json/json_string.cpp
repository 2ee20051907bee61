#include "ir/json/json_string.hpp"

#include <cstring>

namespace ovm::ir {

namespace {

bool needs_escape(char c) { return static_cast<unsigned char>(c) < 0x20 || c == '"' || c == '\\'; }

}  // namespace

char* write_json_string(char* out, std::string_view text) {
  static constexpr char hex[] = "0123456789abcdef";
  *out++ = '"';
  for (std::size_t at = 0; at < text.size();) {
    // The bytes up to the next one that needs an escape, copied as they are checked: most
    // strings are short names.
    std::size_t plain = at;
    while (plain < text.size() && !needs_escape(text[plain])) *out++ = text[plain++];
    if (plain == text.size()) break;
    auto byte = static_cast<unsigned char>(text[plain]);
    at = plain + 1;
    *out++ = '\\';
    switch (byte) {
      case '"': *out++ = '"'; continue;
      case '\\': *out++ = '\\'; continue;
      case '\b': *out++ = 'b'; continue;
      case '\t': *out++ = 't'; continue;
      case '\n': *out++ = 'n'; continue;
      case '\f': *out++ = 'f'; continue;
      case '\r': *out++ = 'r'; continue;
      default: break;
    }
    std::memcpy(out, "u00", 3);
    out[3] = hex[byte >> 4];
    out[4] = hex[byte & 0xF];
    out += 5;
  }
  *out++ = '"';
  return out;
}

void append_json_string(std::string& out, std::string_view text) {
  std::size_t start = out.size();
  out.resize(start + json_string_bound(text.size()));
  out.resize(static_cast<std::size_t>(write_json_string(out.data() + start, text) - out.data()));
}

std::string json_string_text(std::string_view text) {
  std::string out;
  append_json_string(out, text);
  return out;
}

}  // namespace ovm::ir
