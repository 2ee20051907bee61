#include "syntax/format.hpp"

#include <vector>

#include "syntax/scan.hpp"
#include "syntax/whitespace.hpp"

namespace ovm::syntax {
namespace {

struct Indentation {
  std::size_t width;
  std::size_t level;
};

}  // namespace

std::string format_source(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  std::vector<Indentation> stack;
  bool written = false;
  bool skipped_blank = false;

  std::size_t next = 0;
  while (next < text.size()) {
    std::size_t line_start = next;
    std::size_t line_end = text.find('\n', line_start);
    if (line_end == std::string_view::npos) line_end = text.size();
    next = line_end + 1;

    std::size_t begin = line_start;
    for (std::size_t n; begin < line_end && (n = white_space_length(text, begin)) != 0;) begin += n;
    // The text ends after its last character that is no white space.
    std::size_t end = begin;
    for (std::size_t at = begin, n; at < line_end; at += n) {
      n = white_space_length(text, at);
      if (n == 0) {
        n = utf8_length(text, at);
        end = at + n;
      }
    }

    if (begin == end) {
      skipped_blank = true;
      continue;
    }
    std::string_view content = text.substr(begin, end - begin);
    std::size_t width = begin - line_start;

    // Comments never change the stack: they are levelled like a statement at their width,
    // but the statements after them keep the owner their own indentation gives them.
    bool comment = content[0] == '#';
    bool header = width == 0 && !comment;
    std::size_t level = 1;
    if (header) {
      level = 0;
      stack.clear();
    } else if (width > 0) {
      std::size_t keep = stack.size();
      while (keep > 0 && stack[keep - 1].width >= width) --keep;
      level = keep == 0 ? 1 : stack[keep - 1].level + 1;
      if (!comment) {
        stack.resize(keep);
        stack.push_back(Indentation{width, level});
      }
    }

    if (written && (skipped_blank || header)) out += '\n';
    out.append(4 * level, ' ');
    out += content;
    out += '\n';
    written = true;
    skipped_blank = false;
  }
  return out;
}

}  // namespace ovm::syntax
