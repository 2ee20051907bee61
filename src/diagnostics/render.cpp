#include "diagnostics/render.hpp"

#include <algorithm>
#include <cstdint>

namespace ovm::diagnostics {
namespace {

std::size_t decimal_digits(std::uint32_t n) {
  std::size_t digits = 1;
  while (n >= 10) {
    n /= 10;
    ++digits;
  }
  return digits;
}

// Characters, not bytes: every byte that is not a UTF-8 continuation byte starts one.
std::size_t character_count(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

void append_position(std::string& out, const SourceFile& file, std::uint32_t offset) {
  LineColumn at = file.line_column(offset);
  out += file.name;
  out += ':';
  out += std::to_string(at.line);
  out += ':';
  out += std::to_string(at.column);
}

}  // namespace

std::string render_diagnostic(const SourceMap& sources, const Diagnostic& diagnostic) {
  const SourceFile& file = sources.file(diagnostic.span.file);
  LineColumn at = file.line_column(diagnostic.span.start);
  std::string_view line = file.line_text(at.line);

  std::size_t width = std::max<std::size_t>(2, decimal_digits(at.line));
  std::string gutter(width, ' ');

  std::string out;
  out += as_str(diagnostic.code.severity());
  out += '[';
  out += diagnostic.code.as_str();
  out += "]: ";
  out += diagnostic.code.title();
  out += "\n  --> ";
  append_position(out, file, diagnostic.span.start);
  out += '\n';

  out += gutter + " |\n";

  std::string number = std::to_string(at.line);
  out.append(width - number.size(), ' ');
  out += number;
  out += " | ";
  out += line;
  out += '\n';

  // The caret count mixes units on purpose: the column is in bytes, the cap in characters.
  std::size_t column_offset = at.column - 1;
  std::size_t line_chars = character_count(line);
  std::size_t to_line_end = line_chars > column_offset ? line_chars - column_offset : 0;
  std::size_t length = diagnostic.span.end > diagnostic.span.start ? diagnostic.span.end - diagnostic.span.start : 0;
  std::size_t carets = std::min(std::max<std::size_t>(1, to_line_end), std::max<std::size_t>(1, length));
  out += gutter + " | ";
  out.append(column_offset, ' ');
  out.append(carets, '^');
  if (diagnostic.label) {
    out += ' ';
    out += *diagnostic.label;
  }
  out += '\n';

  for (const Note& note : diagnostic.notes) {
    out += gutter + " = note: ";
    if (note.message) out += *note.message;
    out += " (";
    append_position(out, sources.file(note.span.file), note.span.start);
    out += ")\n";
  }

  if (diagnostic.help) {
    out += gutter + " |\n";
    out += gutter + " = help: ";
    out += *diagnostic.help;
    out += '\n';
  }
  return out;
}

}  // namespace ovm::diagnostics
