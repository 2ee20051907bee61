#include "engine/phreeqc/phreeqc_lines.hpp"

#include "sema/statement_text.hpp"
#include "syntax/scan.hpp"
#include "syntax/whitespace.hpp"

namespace ovm::engine {

std::vector<std::string_view> text_lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t feed = text.find('\n', start);
    if (feed == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    std::size_t end = feed > start && text[feed - 1] == '\r' ? feed - 1 : feed;
    lines.push_back(text.substr(start, end - start));
    start = feed + 1;
  }
  return lines;
}

bool is_blank_line(std::string_view line) { return sema::trim_white_space(line).empty(); }

std::vector<std::string_view> line_fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t field_start = std::string_view::npos;
  for (std::size_t i = 0; i < line.size();) {
    std::size_t white = syntax::white_space_length(line, i);
    if (white != 0) {
      if (field_start != std::string_view::npos) fields.push_back(line.substr(field_start, i - field_start));
      field_start = std::string_view::npos;
      i += white;
      continue;
    }
    if (field_start == std::string_view::npos) field_start = i;
    i += syntax::utf8_length(line, i);
  }
  if (field_start != std::string_view::npos) fields.push_back(line.substr(field_start));
  return fields;
}

std::vector<std::string_view> tab_fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (start < line.size()) {
    std::size_t tab = line.find('\t', start);
    if (tab == std::string_view::npos) tab = line.size();
    fields.push_back(sema::trim_white_space(line.substr(start, tab - start)));
    start = tab + 1;
  }
  return fields;
}

std::vector<std::string> last_nonempty_lines(std::string_view text, std::size_t count) {
  std::vector<std::string_view> lines = text_lines(text);
  std::vector<std::string> picked;
  for (auto it = lines.rbegin(); it != lines.rend() && picked.size() < count; ++it) {
    if (!is_blank_line(*it)) picked.emplace(picked.begin(), *it);
  }
  return picked;
}

std::vector<std::string> error_lines(std::string_view text, std::size_t count) {
  std::vector<std::string> picked;
  for (std::string_view line : text_lines(text)) {
    if (picked.size() >= count) break;
    std::string_view trimmed = sema::trim_white_space(line);
    if (trimmed.starts_with("ERROR")) picked.emplace_back(trimmed);
  }
  return picked;
}

std::string join_lines(const std::vector<std::string>& lines) {
  std::string joined;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) joined += " / ";
    joined += lines[i];
  }
  return joined;
}

}  // namespace ovm::engine
