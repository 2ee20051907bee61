#include "diagnostics/span.hpp"

#include <algorithm>

#include "diagnostics/internal_error.hpp"

namespace ovm::diagnostics {

Span Span::join(Span a, Span b) { return Span{a.file, std::min(a.start, b.start), std::max(a.end, b.end)}; }

SourceFile::SourceFile(std::string name_, std::uint32_t id_, std::string text_)
    : name(std::move(name_)), text(std::move(text_)), id(id_) {
  line_starts.push_back(0);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') line_starts.push_back(static_cast<std::uint32_t>(i + 1));
  }
}

LineColumn SourceFile::line_column(std::uint32_t offset) const {
  // The last line start not after the offset; line_starts[0] == 0 guarantees one exists.
  auto after = std::upper_bound(line_starts.begin(), line_starts.end(), offset);
  auto index = static_cast<std::uint32_t>(after - line_starts.begin()) - 1;
  return LineColumn{index + 1, offset - line_starts[index] + 1};
}

std::string_view SourceFile::line_text(std::uint32_t line) const {
  if (line == 0 || line > line_count()) internal_error("line number outside the source file");
  std::size_t begin = line_starts[line - 1];
  std::size_t end = line < line_count() ? line_starts[line] : text.size();
  while (end > begin && (text[end - 1] == '\n' || text[end - 1] == '\r')) --end;
  return std::string_view(text).substr(begin, end - begin);
}

std::uint32_t SourceMap::add(std::string_view name, std::string text) {
  auto id = static_cast<std::uint32_t>(files_.size());
  files_.emplace_back(std::string(name), id, std::move(text));
  return id;
}

const SourceFile& SourceMap::file(std::uint32_t id) const {
  if (id >= files_.size()) internal_error("span names a file outside the source map");
  return files_[id];
}

}  // namespace ovm::diagnostics
