#pragma once

#include <string>

#include "cli/console.hpp"
#include "diagnostics/text_file.hpp"

namespace ovm::cli {

// Writes a command's output file whole, or reports on the standard error why not: an output
// that is the input itself (the same file however it is spelled or linked) is refused, so
// that a slip of `-o` never destroys what was read. Returns whether the file was written.
bool write_output_file(const std::string& input, const std::string& output, const std::string& text,
                       Console& console);

// The same for a text written piece by piece as it is made. When the pieces fail of
// themselves (not for want of room or rights) nothing is reported: the caller knows why.
bool write_output_file(const std::string& input, const std::string& output, const diagnostics::TextPieces& pieces,
                       Console& console);

}  // namespace ovm::cli
