#include "engine/ovdb/ovdb_toml_strings.hpp"

namespace ovm::engine {

bool is_multi_line_basic(std::string_view text, std::size_t at) { return text.substr(at, 3) == "\"\"\""; }

std::size_t toml_string_end(std::string_view text, std::size_t at) {
  char quote = text[at];
  bool basic = quote == '"';
  bool multi = text.substr(at, 3) == std::string_view(basic ? "\"\"\"" : "'''");
  std::size_t i = at + (multi ? 3 : 1);
  while (i < text.size()) {
    char c = text[i];
    if (basic && c == '\\') {
      i += 2;
      continue;
    }
    if (c == quote) {
      if (!multi) return i + 1;
      std::size_t run = 0;
      while (i + run < text.size() && text[i + run] == quote) ++run;
      // A closing delimiter may be preceded by up to two quotes of the content.
      if (run >= 3) return i + run;
      i += run;
      continue;
    }
    if (!multi && c == '\n') return i;
    ++i;
  }
  return text.size();
}

}  // namespace ovm::engine
