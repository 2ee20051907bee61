#include "ir/json/json_text.hpp"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace ovm::ir {
namespace {

JsonError error_after(std::string_view text, std::size_t count, std::string message) {
  JsonError error{std::move(message), 1, 0};
  for (std::size_t i = 0; i < count; ++i) {
    if (text[i] == '\n') {
      ++error.line;
      error.column = 0;
    } else {
      ++error.column;
    }
  }
  return error;
}

bool at_end(const JsonReader& r) { return r.pos >= r.text.size(); }

char byte_at(const JsonReader& r) { return r.text[r.pos]; }

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The bytes of eight, in the order of the text, as one word: the first byte with a bit set in
// a mask is found from the mask's low end on a little-endian machine.
int first_marked_byte(std::uint64_t mask) {
  return (std::endian::native == std::endian::little ? std::countr_zero(mask) : std::countl_zero(mask)) / 8;
}

// The first byte from `at` on that is not a blank, eight bytes a step, as the indent of a
// written file has many: the first of eight that is not a blank is found in one step.
const char* skip_blanks(const char* at, const char* end) {
  constexpr std::uint64_t eight_blanks = 0x2020202020202020;
  while (end - at >= 8) {
    std::uint64_t eight = 0;
    std::memcpy(&eight, at, 8);
    std::uint64_t other = eight ^ eight_blanks;  // zero in the bytes that are blanks
    if (other != 0) return at + first_marked_byte(other);
    at += 8;
  }
  while (at != end && *at == ' ') ++at;
  return at;
}

bool plain_string_byte(char c) { return c != '"' && c != '\\' && static_cast<unsigned char>(c) >= 0x20; }

// Where the run of bytes from `at` on that a string holds as they are ends: eight bytes a
// step, each marked when it is a quote, a backslash or below U+0020 (exact for the first).
std::size_t plain_run_end(std::string_view text, std::size_t at) {
  constexpr std::uint64_t ones = 0x0101010101010101;
  constexpr std::uint64_t highs = 0x8080808080808080;
  auto zero_bytes = [](std::uint64_t x) { return (x - ones) & ~x & highs; };
  while (text.size() - at >= 8) {
    std::uint64_t eight = 0;
    std::memcpy(&eight, text.data() + at, 8);
    std::uint64_t marked = zero_bytes(eight ^ (ones * '"')) | zero_bytes(eight ^ (ones * '\\')) |
                           ((eight - ones * 0x20) & ~eight & highs);
    if (marked != 0) return at + static_cast<std::size_t>(first_marked_byte(marked));
    at += 8;
  }
  while (at < text.size() && plain_string_byte(text[at])) ++at;
  return at;
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void append_utf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Four hexadecimal digits after "\u".
JsonStatus scan_hex4(JsonReader& r, std::uint32_t& unit) {
  unit = 0;
  for (int i = 0; i < 4; ++i) {
    if (at_end(r)) return error_at_next(r, "EOF while parsing a string");
    int digit = hex_value(byte_at(r));
    if (digit < 0) return error_at_next(r, "invalid \\u escape");
    unit = unit * 16 + static_cast<std::uint32_t>(digit);
    ++r.pos;
  }
  return std::nullopt;
}

// The code point of a \u escape whose "\u" is read, a surrogate pair joined.
JsonStatus scan_unicode_escape(JsonReader& r, std::uint32_t& code) {
  if (auto error = scan_hex4(r, code)) return error;
  if (code >= 0xDC00 && code <= 0xDFFF) return error_here(r, "unpaired surrogate in \\u escape");
  if (code < 0xD800 || code > 0xDBFF) return std::nullopt;
  for (char expected : {'\\', 'u'}) {
    if (at_end(r)) return error_at_next(r, "EOF while parsing a string");
    if (byte_at(r) != expected) return error_at_next(r, "unpaired surrogate in \\u escape");
    ++r.pos;
  }
  std::uint32_t low = 0;
  if (auto error = scan_hex4(r, low)) return error;
  if (low < 0xDC00 || low > 0xDFFF) return error_here(r, "unpaired surrogate in \\u escape");
  code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
  return std::nullopt;
}

// The rest of a string whose opening quote is read, unescaped and appended to `out`.
JsonStatus scan_escaped(JsonReader& r, std::string& out) {
  while (true) {
    // The bytes up to the next quote, backslash or control character go in as one run.
    std::size_t run = plain_run_end(r.text, r.pos);
    out.append(r.text.data() + r.pos, run - r.pos);
    r.pos = run;
    if (at_end(r)) return error_at_next(r, "EOF while parsing a string");
    char c = byte_at(r);
    if (c == '"') {
      ++r.pos;
      return std::nullopt;
    }
    if (static_cast<unsigned char>(c) < 0x20) return error_at_next(r, "control character in string");
    ++r.pos;
    if (at_end(r)) return error_at_next(r, "EOF while parsing a string");
    char escape = byte_at(r);
    switch (escape) {
      case '"': out += '"'; break;
      case '\\': out += '\\'; break;
      case '/': out += '/'; break;
      case 'b': out += '\b'; break;
      case 'f': out += '\f'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case 'u': {
        ++r.pos;
        std::uint32_t code = 0;
        if (auto error = scan_unicode_escape(r, code)) return error;
        append_utf8(out, code);
        continue;
      }
      default: return error_at_next(r, "invalid escape");
    }
    ++r.pos;
  }
}

// A string whose opening quote is at the reader's position, unescaped into `out`.
JsonStatus scan_string(JsonReader& r, std::string& out) {
  out.clear();
  ++r.pos;
  return scan_escaped(r, out);
}

// A string whose opening quote is at the reader's position, as a view of the text when it has
// no escapes (as keys have), else unescaped into `unescaped`.
JsonStatus scan_string_view(JsonReader& r, std::string& unescaped, std::string_view& out) {
  std::size_t start = r.pos + 1;
  std::size_t run = plain_run_end(r.text, start);
  if (run < r.text.size() && r.text[run] == '"') {
    out = r.text.substr(start, run - start);
    r.pos = run + 1;
    return std::nullopt;
  }
  if (auto error = scan_string(r, unescaped)) return error;
  out = unescaped;
  return std::nullopt;
}

// Whether a number that does not convert to a double lies beyond the largest one rather than
// below the smallest: the decimal exponent of its first significant digit is positive.
bool beyond_largest_double(std::string_view number) {
  std::size_t i = number.front() == '-' ? 1 : 0;
  long long digit_exponent = 0;
  std::size_t integer_digits = 0;
  while (i < number.size() && is_digit(number[i])) ++i, ++integer_digits;
  std::size_t start = number.front() == '-' ? 1 : 0;
  bool found = false;
  for (std::size_t k = 0; k < integer_digits; ++k) {
    if (number[start + k] != '0') {
      digit_exponent = static_cast<long long>(integer_digits - 1 - k);
      found = true;
      break;
    }
  }
  if (i < number.size() && number[i] == '.') {
    ++i;
    for (long long k = 1; i < number.size() && is_digit(number[i]); ++i, ++k) {
      if (!found && number[i] != '0') {
        digit_exponent = -k;
        found = true;
      }
    }
  }
  long long exponent = 0;
  if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
    ++i;
    bool negative = number[i] == '-';
    if (number[i] == '-' || number[i] == '+') ++i;
    for (; i < number.size(); ++i) {
      if (exponent < 1'000'000'000'000LL) exponent = exponent * 10 + (number[i] - '0');
    }
    if (negative) exponent = -exponent;
  }
  return digit_exponent + exponent > 0;
}

// The doubles of the powers of ten up to 1e22, each exact.
constexpr double exact_powers_of_ten[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                          1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// A number starting at the reader's position (a minus sign or a digit), by the RFC grammar,
// with its kind: Unsigned, Negative, or Float when it has a fraction or an exponent. Its text
// goes into `out` only `with_text`. The digits are gathered into an integer as they are read,
// for the two common forms that need no more: an integer of up to 19 digits fits in 64 bits,
// and "digits.digits" whose digits make an integer of up to 53 bits, at most 19 digits and at
// most 22 after the point, is that integer, a double as it is, divided by an exact power of
// ten, which one division rounds to the nearest double, as a parse does.
JsonStatus scan_number(JsonReader& r, JsonNumber& out, JsonKind& kind, bool with_text) {
  const char* begin = r.text.data();
  const char* end = begin + r.text.size();
  const char* at = begin + r.pos;
  std::size_t start = r.pos;
  auto fail = [&](const char* message) {
    r.pos = static_cast<std::size_t>(at - begin);
    return error_at_next(r, message);
  };
  bool negative = *at == '-';
  if (negative) ++at;
  if (at == end) return fail("EOF while parsing a value");
  std::uint64_t digits = 0;
  const char* integer_begin = at;
  if (*at == '0') {
    ++at;
    if (at != end && is_digit(*at)) return fail("invalid number");
  } else {
    for (; at != end && is_digit(*at); ++at) digits = digits * 10 + static_cast<std::uint64_t>(*at - '0');
    if (at == integer_begin) return fail("invalid number");
  }
  std::size_t integer_digits = static_cast<std::size_t>(at - integer_begin);
  std::size_t fraction_digits = 0;
  bool fraction = at != end && *at == '.';
  if (fraction) {
    const char* fraction_begin = ++at;
    for (; at != end && is_digit(*at); ++at) digits = digits * 10 + static_cast<std::uint64_t>(*at - '0');
    if (at == fraction_begin) return fail("invalid number");
    fraction_digits = static_cast<std::size_t>(at - fraction_begin);
  }
  bool exponent = at != end && (*at == 'e' || *at == 'E');
  if (exponent) {
    ++at;
    if (at != end && (*at == '+' || *at == '-')) ++at;
    const char* exponent_begin = at;
    while (at != end && is_digit(*at)) ++at;
    if (at == exponent_begin) return fail("invalid number");
  }
  r.pos = static_cast<std::size_t>(at - begin);

  std::string_view text = r.text.substr(start, r.pos - start);
  if (with_text) out.text.assign(text);
  out.value = 0;
  out.magnitude = 0;
  out.fits = false;
  bool fractional = fraction || exponent;
  kind = fractional ? JsonKind::Float : negative ? JsonKind::Negative : JsonKind::Unsigned;
  // Up to 19 digits no integer overflows 64 bits.
  bool few_digits = integer_digits + fraction_digits <= 19;
  constexpr std::uint64_t exact = std::uint64_t{1} << 53;
  if (!fractional) {
    if (few_digits) {
      out.magnitude = digits;
      out.fits = true;
    } else {
      auto integer = std::from_chars(integer_begin, integer_begin + integer_digits, out.magnitude);
      out.fits = integer.ec == std::errc();
    }
    // An integer of up to 53 bits is a double as it is, which is the one the text names.
    if (out.fits && out.magnitude <= exact) {
      out.value = negative ? -static_cast<double>(out.magnitude) : static_cast<double>(out.magnitude);
      return std::nullopt;
    }
  }
  if (fraction && !exponent && few_digits && fraction_digits < std::size(exact_powers_of_ten) && digits <= exact) {
    out.value = static_cast<double>(digits) / exact_powers_of_ten[fraction_digits];
    if (negative) out.value = -out.value;
    return std::nullopt;
  }
  auto converted = std::from_chars(text.data(), text.data() + text.size(), out.value);
  if (converted.ec == std::errc::result_out_of_range) {
    if (beyond_largest_double(text)) return error_here(r, "number out of range");
    out.value = negative ? -0.0 : 0.0;
  }
  return std::nullopt;
}

JsonStatus scan_literal(JsonReader& r, std::string_view word) {
  for (char expected : word) {
    if (at_end(r)) return error_at_next(r, "EOF while parsing a value");
    if (byte_at(r) != expected) return error_at_next(r, "invalid literal");
    ++r.pos;
  }
  return std::nullopt;
}

// Steps past the comma before the next entry of an open array or object, to the entry's first
// byte; at the container's end reads its closing bracket and gives the budget back instead.
JsonStatus next_entry(JsonReader& r, bool& first, char closer, bool& more) {
  more = false;
  const char* end_message = closer == '}' ? "EOF while parsing an object" : "EOF while parsing a list";
  std::optional<char> c = next_byte(r);
  if (!c) return error_at_next(r, end_message);
  if (*c == closer) {
    close_container(r);
    return std::nullopt;
  }
  if (!first) {
    if (*c != ',') return error_at_next(r, closer == '}' ? "expected `,` or `}`" : "expected `,` or `]`");
    ++r.pos;
    c = next_byte(r);
    if (!c) return error_at_next(r, "EOF while parsing a value");
    if (*c == closer) return error_at_next(r, "trailing comma");
  }
  first = false;
  more = true;
  return std::nullopt;
}

}  // namespace

JsonError error_here(const JsonReader& r, std::string message) {
  return error_after(r.text, r.pos, std::move(message));
}

JsonError error_at_next(const JsonReader& r, std::string message) {
  std::size_t count = r.pos < r.text.size() ? r.pos + 1 : r.text.size();
  return error_after(r.text, count, std::move(message));
}

JsonError place_error(const JsonReader& r, JsonError error) {
  if (error.placed()) return error;
  return error_here(r, std::move(error.message));
}

JsonError place_error_at_close(JsonReader& r, JsonError error, char closer) {
  if (error.placed()) return error;
  if (next_byte(r) == closer) ++r.pos;
  return error_here(r, std::move(error.message));
}

std::optional<char> next_byte_after_white_space(JsonReader& r) {
  const char* begin = r.text.data();
  const char* end = begin + r.text.size();
  for (const char* at = begin + r.pos; at < end; ++at) {
    char c = *at;
    if (c == ' ') {
      at = skip_blanks(at, end);
      if (at == end) break;
      c = *at;
    }
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') {
      r.pos = static_cast<std::size_t>(at - begin);
      return c;
    }
  }
  r.pos = r.text.size();
  return std::nullopt;
}

JsonStatus take_scalar(JsonReader& r, KeptValue& out) {
  std::optional<char> c = next_byte(r);
  if (!c) return error_at_next(r, "EOF while parsing a value");
  switch (*c) {
    case '"': out.kind = JsonKind::String; return scan_string(r, out.text);
    case 'n': out.kind = JsonKind::Null; return scan_literal(r, "null");
    case 't': out.kind = JsonKind::Boolean; out.boolean = true; return scan_literal(r, "true");
    case 'f': out.kind = JsonKind::Boolean; out.boolean = false; return scan_literal(r, "false");
    case '[': out.kind = JsonKind::Array; return std::nullopt;
    case '{': out.kind = JsonKind::Object; return std::nullopt;
    default: break;
  }
  if (!starts_number(*c)) return error_at_next(r, "expected value");
  return take_number_at(r, out.number, out.kind);
}

JsonStatus take_string_at(JsonReader& r, std::string& out) { return scan_string(r, out); }

JsonStatus take_null_at(JsonReader& r) { return scan_literal(r, "null"); }

JsonStatus take_string_view_at(JsonReader& r, std::string& unescaped, std::string_view& out) {
  return scan_string_view(r, unescaped, out);
}

JsonStatus take_number_at(JsonReader& r, JsonNumber& out, JsonKind& kind) { return scan_number(r, out, kind, true); }

JsonStatus take_number_value_at(JsonReader& r, JsonNumber& out, JsonKind& kind) {
  return scan_number(r, out, kind, false);
}

JsonStatus open_container(JsonReader& r) {
  --r.budget;
  if (r.budget <= 0) return error_at_next(r, "recursion limit exceeded");
  ++r.pos;
  return std::nullopt;
}

void close_container(JsonReader& r) {
  ++r.pos;
  ++r.budget;
}

namespace {

// The step to the next member as the writer lays it out, in one pass over the text: the comma
// unless it is the first, a newline and the indent or nothing, then the key in quotes without
// escapes, or the closing brace. False, with the reader as it was, for any other text, which
// the general step then reads to the same end or to its error.
bool writers_member_step(JsonReader& r, bool& first, JsonKey& key, std::string_view expected) {
  const char* begin = r.text.data();
  const char* end = begin + r.text.size();
  const char* at = begin + r.pos;
  bool comma = !first && at != end && *at == ',';
  if (comma) ++at;
  if (at != end && *at == '\n') at = skip_blanks(at + 1, end);
  if (at == end) return false;
  if (*at == '}' && !comma) {
    r.pos = static_cast<std::size_t>(at - begin);
    close_container(r);
    return true;
  }
  if (*at != '"' || comma == first) return false;
  const char* start = at + 1;
  // The expected key, a name without escapes, followed by its quote: the key is that name.
  std::size_t n = expected.size();
  const char* quote = start + n;
  bool as_expected = n != 0 && end - start > static_cast<std::ptrdiff_t>(n) && *quote == '"' &&
                     same_name(std::string_view(start, n), expected);
  if (!as_expected) quote = begin + plain_run_end(r.text, static_cast<std::size_t>(start - begin));
  if (quote == end || *quote != '"') return false;
  key.text.emplace(start, static_cast<std::size_t>(quote - start));
  r.pos = static_cast<std::size_t>(quote + 1 - begin);
  first = false;
  return true;
}

}  // namespace

JsonStatus next_member(JsonReader& r, bool& first, JsonKey& key, std::string_view expected) {
  key.text.reset();
  if (writers_member_step(r, first, key, expected)) return std::nullopt;
  bool more = false;
  if (auto error = next_entry(r, first, '}', more)) return error;
  if (!more) return std::nullopt;
  if (byte_at(r) != '"') return error_at_next(r, "key must be a string");
  return scan_string_view(r, key.unescaped, key.text.emplace());
}

JsonStatus member_colon_after_white_space(JsonReader& r) {
  std::optional<char> c = next_byte(r);
  if (!c) return error_at_next(r, "EOF while parsing an object");
  if (*c != ':') return error_at_next(r, "expected `:`");
  ++r.pos;
  return std::nullopt;
}

JsonStatus next_element(JsonReader& r, bool& first, bool& more) { return next_entry(r, first, ']', more); }

JsonStatus read_array_rest(JsonReader& r, bool first, const JsonCallback<JsonStatus()>& read_element) {
  bool more = false;
  while (true) {
    if (auto error = next_entry(r, first, ']', more)) return error;
    if (!more) return std::nullopt;
    if (auto error = read_element()) return error;
  }
}

JsonStatus keep_value(JsonReader& r, KeptValue* out) {
  KeptValue scratch;
  KeptValue& value = out != nullptr ? *out : scratch;
  if (auto error = take_scalar(r, value)) return error;
  if (value.kind == JsonKind::Array) {
    if (auto error = open_container(r)) return error;
    return read_array_rest(r, true, [&]() { return keep_value(r, out != nullptr ? &value.elements.emplace_back() : nullptr); });
  }
  if (value.kind == JsonKind::Object) {
    if (auto error = open_container(r)) return error;
    bool first = true;
    JsonKey key;
    while (true) {
      if (auto error = next_member(r, first, key)) return error;
      if (!key.text) return std::nullopt;
      if (auto error = member_colon(r)) return error;
      KeptValue* member = nullptr;
      if (out != nullptr) member = &value.members.emplace_back(KeptMember{std::string(*key.text), {}}).value;
      if (auto error = keep_value(r, member)) return error;
    }
  }
  return std::nullopt;
}

}  // namespace ovm::ir
