#include "engine/ovdb/ovdb_key_depth.hpp"

#include <cstddef>

#include "engine/ovdb/ovdb_toml_strings.hpp"

namespace ovm::engine {
namespace {

bool is_token_end(char c) {
  switch (c) {
    case ' ': case '\t': case '\r': case '\n':
    case '[': case ']': case '{': case '}': case '=': case ',': case '#':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::optional<std::string> excessive_key_depth(std::string_view text) {
  int dots = 0;          // key dots of the current statement
  int nesting = 0;       // open brackets and braces
  int token_dots = 0;    // dots of the current token
  bool in_token = false;
  bool number_token = false;  // a number or date keeps one decimal point of its own
  std::size_t line = 1;
  std::size_t line_start = 0;

  auto end_token = [&] {
    if (in_token) dots += token_dots - (number_token && token_dots > 0 ? 1 : 0);
    in_token = false;
    token_dots = 0;
  };

  std::size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == '"' || c == '\'') {
      if (!in_token) {
        in_token = true;
        number_token = false;
      }
      std::size_t end = toml_string_end(text, i);
      for (std::size_t k = i; k < end; ++k) {
        if (text[k] == '\n') {
          ++line;
          line_start = k + 1;
        }
      }
      i = end;
      continue;
    }
    if (c == '#') {
      end_token();
      while (i < text.size() && text[i] != '\n') ++i;
      continue;
    }
    if (is_token_end(c)) {
      end_token();
      if (c == '[' || c == '{') ++nesting;
      if ((c == ']' || c == '}') && nesting > 0) --nesting;
      if (c == '\n') {
        ++line;
        line_start = i + 1;
        if (nesting == 0) dots = 0;
      }
    } else {
      if (!in_token) {
        in_token = true;
        number_token = (c >= '0' && c <= '9') || c == '+' || c == '-';
      }
      if (c == '.') {
        ++token_dots;
        int counted = dots + token_dots - (number_token ? 1 : 0);
        if (counted > max_key_dots_per_statement) {
          return "key nested deeper than " + std::to_string(max_key_dots_per_statement + 1) + " parts at line " +
                 std::to_string(line) + ", column " + std::to_string(i - line_start + 1);
        }
      }
    }
    ++i;
  }
  return std::nullopt;
}

}  // namespace ovm::engine
