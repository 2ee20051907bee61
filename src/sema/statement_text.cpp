#include "sema/statement_text.hpp"

#include "diagnostics/text_match.hpp"
#include "sema/validate_reading.hpp"
#include "syntax/parser.hpp"
#include "syntax/scan.hpp"

namespace ovm::sema {

std::string_view trim_white_space(std::string_view text) {
  // A character is white space exactly when stripping white space leaves nothing of it.
  std::size_t first = text.size();
  std::size_t last = 0;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = syntax::utf8_length(text, i);
    if (!syntax::strip_whitespace(text.substr(i, length)).empty()) {
      if (first == text.size()) first = i;
      last = i + length;
    }
    i += length;
  }
  if (first == text.size()) return {};
  return text.substr(first, last - first);
}

std::optional<std::size_t> modifier_position(std::span<const syntax::Value> values, std::string_view word) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (values[i].kind != syntax::ValueKind::Identifier) continue;
    if (diagnostics::equals_ascii_folded(sema::value_text(values[i]), word)) return i;
  }
  return std::nullopt;
}

}  // namespace ovm::sema
