#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ovm::diagnostics {

// A byte range [start, end) in the text of one source file.
struct Span {
  std::uint32_t file = 0;
  std::uint32_t start = 0;
  std::uint32_t end = 0;

  // The smallest range covering both; the file is taken from `a`. Inline: the parser joins
  // spans for most nodes.
  static Span join(Span a, Span b) { return Span{a.file, std::min(a.start, b.start), std::max(a.end, b.end)}; }

  friend bool operator==(const Span&, const Span&) = default;
};

struct LineColumn {
  std::uint32_t line = 1;    // 1-based
  std::uint32_t column = 1;  // 1-based, in bytes

  friend bool operator==(const LineColumn&, const LineColumn&) = default;
};

struct SourceFile {
  std::string name;
  std::string text;
  std::uint32_t id = 0;

  SourceFile(std::string name, std::uint32_t id, std::string text);

  // 0, then one past every LF. Found on first use: only a diagnostic needs them, and a clean
  // file of many lines is spared the table.
  const std::vector<std::uint32_t>& line_starts() const;
  std::uint32_t line_count() const { return static_cast<std::uint32_t>(line_starts().size()); }

  // Any offset has a position: past the end it falls on the last line.
  LineColumn line_column(std::uint32_t offset) const;

  // The 1-based line without its trailing CR and LF characters; a slice of `text`.
  std::string_view line_text(std::uint32_t line) const;

 private:
  mutable std::vector<std::uint32_t> line_starts_;  // empty until first asked for
};

// The files of one command, indexed by id. Files are only appended, so ids stay valid.
class SourceMap {
 public:
  std::uint32_t add(std::string_view name, std::string text);
  const SourceFile& file(std::uint32_t id) const;
  std::size_t size() const { return files_.size(); }

 private:
  std::vector<SourceFile> files_;
};

}  // namespace ovm::diagnostics
