#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ovm::engine {

// The lines of a text PHREEQC wrote: split at line feeds, a carriage return right before a
// line feed dropped with it, a last line without a line feed kept. Views into `text`.
std::vector<std::string_view> text_lines(std::string_view text);

// True when nothing but Unicode white space is left after trimming both ends.
bool is_blank_line(std::string_view line);

// The maximal runs of characters that are not Unicode white space.
std::vector<std::string_view> line_fields(std::string_view line);

// The cells of a tab-separated line, each trimmed of white space at both ends, so that a cell
// holding blanks stays one cell and an empty one keeps every later cell in its place. The tab
// PHREEQC writes after the last cell ends it and starts no further cell.
std::vector<std::string_view> tab_fields(std::string_view line);

// The last `count` non-blank lines, in text order, each without its line ending but otherwise
// as written.
std::vector<std::string> last_nonempty_lines(std::string_view text, std::size_t count);

// The first `count` lines that begin with "ERROR" after their leading white space, each with
// the white space at both ends removed. Only the upper-case word counts.
std::vector<std::string> error_lines(std::string_view text, std::size_t count);

// The texts joined with " / ", as several lines are shown in one message.
std::string join_lines(const std::vector<std::string>& lines);

}  // namespace ovm::engine
