#include "syntax/format.hpp"

#include <cstdint>
#include <vector>

namespace ovm::syntax {
namespace {

// Length of the Unicode white-space character that starts at `at`, or 0.
std::size_t white_space_at(std::string_view s, std::size_t at) {
  auto byte = [&](std::size_t k) { return at + k < s.size() ? static_cast<std::uint8_t>(s[at + k]) : 0; };
  std::uint8_t b0 = byte(0);
  if (b0 == ' ' || (b0 >= 0x09 && b0 <= 0x0D)) return 1;
  if (b0 == 0xC2 && (byte(1) == 0x85 || byte(1) == 0xA0)) return 2;
  if (b0 == 0xE1 && byte(1) == 0x9A && byte(2) == 0x80) return 3;
  if (b0 == 0xE2 && byte(1) == 0x80 && ((byte(2) >= 0x80 && byte(2) <= 0x8A) || byte(2) == 0xA8 || byte(2) == 0xA9 || byte(2) == 0xAF)) {
    return 3;
  }
  if (b0 == 0xE2 && byte(1) == 0x81 && byte(2) == 0x9F) return 3;
  if (b0 == 0xE3 && byte(1) == 0x80 && byte(2) == 0x80) return 3;
  return 0;
}

// Length of the white-space character that ends just before `end`, or 0.
std::size_t white_space_before(std::string_view s, std::size_t begin, std::size_t end) {
  for (std::size_t length = 1; length <= 3 && length <= end - begin; ++length) {
    if (white_space_at(s, end - length) == length) return length;
  }
  return 0;
}

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
    for (std::size_t n; begin < line_end && (n = white_space_at(text, begin)) != 0 && begin + n <= line_end;) begin += n;
    std::size_t end = line_end;
    for (std::size_t n; end > begin && (n = white_space_before(text, begin, end)) != 0;) end -= n;

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
