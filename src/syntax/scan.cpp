#include "syntax/scan.hpp"

#include "syntax/ascii.hpp"

namespace ovm::syntax {
namespace {

char at(std::string_view text, std::size_t i) { return i < text.size() ? text[i] : '\0'; }

std::size_t skip_digits(std::string_view text, std::size_t i, std::size_t most) {
  std::size_t start = i;
  while (i < text.size() && i - start < most && is_digit(text[i])) ++i;
  return i;
}

// One to three digits, an upper-case letter and an optional lower-case one; the end, or
// `start` when the text there is no isotope.
std::size_t match_isotope(std::string_view text, std::size_t start) {
  std::size_t i = skip_digits(text, start, 3);
  if (i == start || !is_upper(at(text, i))) return start;
  ++i;
  if (is_lower(at(text, i))) ++i;
  return i;
}

// `delta`, one to three digits, an upper-case letter and at most one lower-case letter.
bool is_delta_symbol(std::string_view run) {
  constexpr std::string_view prefix = "delta";
  if (run.substr(0, prefix.size()) != prefix) return false;
  std::size_t digits_end = skip_digits(run, prefix.size(), 3);
  if (digits_end == prefix.size() || digits_end >= run.size() || is_digit(run[digits_end])) return false;
  if (!is_upper(run[digits_end])) return false;
  std::size_t rest = run.size() - digits_end - 1;
  return rest == 0 || (rest == 1 && is_lower(run.back()));
}

std::size_t match_ratio(std::string_view text, std::size_t start) {
  std::size_t numerator = match_isotope(text, start);
  if (numerator == start || at(text, numerator) != '/') return start;
  std::size_t denominator = match_isotope(text, numerator + 1);
  if (denominator == numerator + 1 || is_word(at(text, denominator))) return start;
  return denominator;
}

std::size_t match_date(std::string_view text, std::size_t start) {
  constexpr std::string_view shape = "dddd-dd-dd";
  if (text.size() - start < shape.size()) return start;
  for (std::size_t i = 0; i < shape.size(); ++i) {
    char c = text[start + i];
    if (shape[i] == 'd' ? !is_digit(c) : c != '-') return start;
  }
  char next = at(text, start + shape.size());
  if (is_word(next) || next == '-') return start;
  return start + shape.size();
}

std::size_t digits_end(std::string_view text, std::size_t i) {
  while (i < text.size() && is_digit(text[i])) ++i;
  return i;
}

// A number whose leading digits end at `i`: an optional fraction and exponent.
std::size_t number_end(std::string_view text, std::size_t i) {
  if (at(text, i) == '.' && is_digit(at(text, i + 1))) i = digits_end(text, i + 1);
  if (at(text, i) == 'e' || at(text, i) == 'E') {
    std::size_t exponent = i + 1;
    if (at(text, exponent) == '+' || at(text, exponent) == '-') ++exponent;
    if (is_digit(at(text, exponent))) i = digits_end(text, exponent);
  }
  return i;
}

}  // namespace

Scanned scan_name(std::string_view text, std::size_t start) {
  std::size_t run_end = word_end(text, start + 1);
  if (is_upper(text[start])) {
    // Groups, signs and further name bytes extend an upper-case name into a species.
    std::size_t i = run_end;
    bool extended = false;
    for (;;) {
      char c = at(text, i);
      if (c == '+' || c == '-') {
        ++i;
      } else if (c == '(') {
        std::size_t inner = word_end(text, i + 1);
        if (at(text, inner) != ')') break;
        i = inner + 1;
      } else if (is_word(c)) {
        i = word_end(text, i);
        continue;
      } else {
        break;
      }
      extended = true;
    }
    if (extended) return Scanned{i, TokenKind::Species};
  }
  if (text[start] == 'd' && is_delta_symbol(text.substr(start, run_end - start))) return Scanned{run_end, TokenKind::Delta};
  return Scanned{run_end, TokenKind::Identifier};
}

Scanned scan_digits(std::string_view text, std::size_t start) {
  // The digit run alone rules out the longer shapes for most numbers: a ratio starts with one
  // to three digits and an upper-case letter, a date with four digits and `-`.
  std::size_t leading_end = digits_end(text, start);
  std::size_t digits = leading_end - start;
  char after = at(text, leading_end);
  if (digits <= 3 && is_upper(after)) {
    if (std::size_t end = match_ratio(text, start); end != start) return Scanned{end, TokenKind::Ratio};
  }
  if (digits == 4 && after == '-') {
    if (std::size_t end = match_date(text, start); end != start) return Scanned{end, TokenKind::Date};
  }
  return Scanned{number_end(text, leading_end), TokenKind::Number};
}

std::size_t utf8_length(std::string_view text, std::size_t start) {
  auto lead = static_cast<unsigned char>(text[start]);
  std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  // Only continuation bytes belong to the character, so a broken sequence never swallows
  // the byte after it.
  std::size_t i = 1;
  while (i < length && start + i < text.size() && (static_cast<unsigned char>(text[start + i]) & 0xC0) == 0x80) ++i;
  return i;
}

}  // namespace ovm::syntax
