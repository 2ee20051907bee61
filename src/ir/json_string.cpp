#include "ir/json_string.hpp"

namespace ovm::ir {

void append_json_string(std::string& out, std::string_view text) {
  static constexpr char hex[] = "0123456789abcdef";
  out += '"';
  for (char c : text) {
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
    if (byte < 0x20) {
      out += "\\u00";
      out += hex[byte >> 4];
      out += hex[byte & 0xF];
      continue;
    }
    out += c;
  }
  out += '"';
}

std::string json_string_text(std::string_view text) {
  std::string out;
  append_json_string(out, text);
  return out;
}

}  // namespace ovm::ir
