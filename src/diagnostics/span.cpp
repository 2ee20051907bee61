#include "diagnostics/span.hpp"

#include <algorithm>
#include <cstring>

#include "diagnostics/internal_error.hpp"

namespace ovm::diagnostics {

SourceFile::SourceFile(std::string name_, std::uint32_t id_, std::string text_)
    : name(std::move(name_)), text(std::move(text_)), id(id_) {}

const std::vector<std::uint32_t>& SourceFile::line_starts() const {
  if (!line_starts_.empty()) return line_starts_;
  line_starts_.push_back(0);
  const char* begin = text.data();
  const char* end = begin + text.size();
  for (const char* at = begin; (at = static_cast<const char*>(std::memchr(at, '\n', end - at))) != nullptr;) {
    ++at;
    line_starts_.push_back(static_cast<std::uint32_t>(at - begin));
  }
  return line_starts_;
}

LineColumn SourceFile::line_column(std::uint32_t offset) const {
  // The last line start not after the offset; line_starts[0] == 0 guarantees one exists.
  const std::vector<std::uint32_t>& starts = line_starts();
  auto after = std::upper_bound(starts.begin(), starts.end(), offset);
  auto index = static_cast<std::uint32_t>(after - starts.begin()) - 1;
  return LineColumn{index + 1, offset - starts[index] + 1};
}

std::string_view SourceFile::line_text(std::uint32_t line) const {
  if (line == 0 || line > line_count()) internal_error("line number outside the source file");
  const std::vector<std::uint32_t>& starts = line_starts();
  std::size_t begin = starts[line - 1];
  std::size_t end = line < line_count() ? starts[line] : text.size();
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
