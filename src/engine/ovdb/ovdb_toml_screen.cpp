#include "engine/ovdb/ovdb_toml_screen.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "diagnostics/utf8.hpp"
#include "engine/ovdb/ovdb_toml_strings.hpp"
#include "syntax/scan.hpp"

namespace ovm::engine {
namespace {

constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";

bool is_ascii(char c) { return static_cast<unsigned char>(c) < 0x80; }

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// What ends a value written without quotes, as the parser has it.
bool ends_bare_value(char c) {
  return is_blank(c) || (c >= '\n' && c <= '\r') || c == ']' || c == '}' || c == ',' || c == '#';
}

bool is_continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// "... saw 'c' at line {}, column {}" for the character at `at`; lines count line feeds and
// columns characters, from 1.
TomlTextError error_at(std::string_view text, std::size_t at, std::string_view what) {
  std::size_t line = 1;
  std::size_t line_start = 0;
  for (std::size_t i = 0; i < at; ++i) {
    if (text[i] == '\n') {
      ++line;
      line_start = i + 1;
    }
  }
  std::size_t column = 1;
  for (std::size_t i = line_start; i < at; ++i) column += is_continuation(text[i]) ? 0 : 1;
  std::string character = diagnostics::display_text(text.substr(at, syntax::utf8_length(text, at)));
  return TomlTextError{"Error while parsing " + std::string(what) + ", saw '" + character + "' at line " +
                       std::to_string(line) + ", column " + std::to_string(column)};
}

// The scalar value of the well-formed UTF-8 character at `at`, or nothing.
std::optional<std::uint32_t> scalar_at(std::string_view text, std::size_t at) {
  std::size_t length = syntax::utf8_length(text, at);
  std::string_view bytes = text.substr(at, length);
  if (length < 2 || !diagnostics::is_valid_utf8(bytes)) return std::nullopt;
  std::uint32_t value = static_cast<unsigned char>(bytes[0]) & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) value = (value << 6) | (static_cast<unsigned char>(bytes[i]) & 0x3F);
  return value;
}

std::string unicode_escape(std::uint32_t value) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::size_t digits = value > 0xFFFF ? 8 : 4;
  std::string escape = digits == 8 ? "\\U" : "\\u";
  for (std::size_t i = digits; i-- > 0;) escape += hex[(value >> (4 * i)) & 0xF];
  return escape;
}

// Walks the backslashes of the multi-line basic string in [begin, end), appending the text
// up to `end` to `out` with the characters that follow a line-ending backslash escaped.
std::optional<TomlTextError> screen_multi_line_basic(std::string_view text, std::size_t begin, std::size_t end,
                                                     std::string& out) {
  std::size_t copied = begin;
  for (std::size_t i = begin; i < end; ++i) {
    if (text[i] != '\\') continue;
    std::size_t at = i + 1;
    while (at < end && is_blank(text[at])) ++at;
    bool line_ends = at < end && (text[at] == '\n' || (text[at] == '\r' && at + 1 < end && text[at + 1] == '\n'));
    if (!line_ends) {
      if (at < end && !is_ascii(text[at])) {
        return error_at(text, at, "string: expected an escape sequence or a line ending after a backslash");
      }
      ++i;  // the escaped character, which may be a backslash itself
      continue;
    }
    while (at < end && (is_blank(text[at]) || text[at] == '\r' || text[at] == '\n')) ++at;
    if (at < end && !is_ascii(text[at])) {
      std::optional<std::uint32_t> value = scalar_at(text, at);
      if (!value) return error_at(text, at, "string: expected a UTF-8 character");
      out.append(text, copied, at - copied);
      out += unicode_escape(*value);
      copied = at + syntax::utf8_length(text, at);
    }
    i = at - 1;
  }
  out.append(text, copied, end - copied);
  return std::nullopt;
}

}  // namespace

std::variant<std::string, TomlTextError> screen_toml_text(std::string_view text) {
  constexpr std::string_view outside = "document: expected ASCII outside strings and comments";
  std::string out;
  out.reserve(text.size());
  std::size_t i = text.starts_with(byte_order_mark) ? byte_order_mark.size() : 0;
  out.append(text, 0, i);
  std::vector<char> open;  // the arrays ('[') and inline tables ('{') of values being read
  bool value = false;      // a value comes next or is being read, not a key
  bool bare_value = false;  // inside a number, date or other value without quotes
  while (i < text.size()) {
    char c = text[i];
    if (bare_value && !ends_bare_value(c)) {
      // The parser reads a bare value up to its end before it looks at what it holds, so a
      // quote inside one opens no string.
      if (!is_ascii(c)) return error_at(text, i, outside);
      out += c;
      ++i;
      continue;
    }
    bare_value = false;
    if (c == '"' || c == '\'') {
      std::size_t end = toml_string_end(text, i);
      if (is_multi_line_basic(text, i)) {
        if (auto error = screen_multi_line_basic(text, i, end, out)) return std::move(*error);
      } else {
        out.append(text, i, end - i);
      }
      i = end;
      continue;
    }
    if (c == '#') {
      std::size_t end = text.find('\n', i);
      if (end == std::string_view::npos) end = text.size();
      out.append(text, i, end - i);
      i = end;
      continue;
    }
    if (!is_ascii(c)) return error_at(text, i, outside);
    switch (c) {
      case '=': value = true; break;
      case '[':
        if (value) open.push_back('[');  // else a table header, whose names are keys
        break;
      case '{':
        if (value) open.push_back('{');
        value = false;
        break;
      case ']':
      case '}':
        if (!open.empty() && open.back() == (c == ']' ? '[' : '{')) {
          open.pop_back();
          value = true;  // the container was a value of what holds it
        }
        break;
      case ',': value = open.empty() || open.back() == '['; break;
      case '\n':
        if (open.empty()) value = false;
        break;
      default:
        bare_value = value && !ends_bare_value(c);
    }
    out += c;
    ++i;
  }
  return out;
}

}  // namespace ovm::engine
