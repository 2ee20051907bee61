#include "engine/phreeqc/phreeqc_exit_status.hpp"

#include <array>
#include <cstdint>

namespace ovm::engine {

std::string exit_status_text(const ExitStatus& status) {
  if (!status.code) return "signal: " + std::to_string(status.signal);
  auto code = static_cast<std::uint32_t>(*status.code);
  if ((code & 0x80000000u) == 0) return "exit code: " + std::to_string(code);
  // Codes with the highest bit set are status words, read best in hexadecimal.
  std::array<char, 4> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((code >> (24 - 8 * i)) & 0xFF);
  std::string text = "exit code: 0x";
  append_hex_digits(std::string_view(bytes.data(), bytes.size()), text);
  return text;
}

}  // namespace ovm::engine
