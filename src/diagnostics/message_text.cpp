#include "diagnostics/message_text.hpp"

namespace ovm::diagnostics {

std::string fill_message(std::string_view pattern, std::initializer_list<std::string_view> arguments) {
  std::string text;
  const std::string_view* next = arguments.begin();
  std::size_t at = 0;
  while (at < pattern.size()) {
    std::size_t hole = pattern.find("{}", at);
    if (hole == std::string_view::npos || next == arguments.end()) break;
    text.append(pattern.substr(at, hole - at));
    text.append(*next++);
    at = hole + 2;
  }
  text.append(pattern.substr(at));
  return text;
}

}  // namespace ovm::diagnostics
