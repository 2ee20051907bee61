#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "diagnostics/text_file.hpp"

namespace ovm::engine {

// SHA-256 of the bytes as 64 lower-case hexadecimal digits.
std::string sha256_hex(std::string_view bytes);

// SHA-256 of a file's bytes (any bytes, not only UTF-8), or why it could not be read.
std::variant<std::string, diagnostics::FileError> sha256_file_hex(const std::string& path);

}  // namespace ovm::engine
