#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "ir/json/json_callback.hpp"
#include "ir/json/json_error.hpp"
#include "ir/json/json_input.hpp"

namespace ovm::ir {

// What the file must say about one member of a record.
enum class JsonPresence : std::uint8_t {
  Required,   // object form: "missing field" without it; array form: its element must be there
  Optional,   // object form: absent without it; array form: its element must be there (null)
  Defaulted,  // left out in either form, it keeps the value the reader started with
};

struct JsonMember {
  std::string_view key;
  JsonPresence presence = JsonPresence::Required;
};

// A record as the reader sees it: its expecting text ("struct Provenance", "struct variant
// Subject::Amount") and its members in declaration order.
struct JsonRecord {
  std::string_view expecting;
  std::span<const JsonMember> members;
  bool rejects_unknown = false;  // "unknown field" instead of skipping a key it does not list
  bool has_array_form = true;    // false for the content of an adjacently tagged struct variant
};

// Reads the value of member `member` (its index in the record) from `value`; it must read
// exactly that one value.
using JsonMemberReader = JsonCallback<JsonStatus(std::size_t member, JsonInput value)>;

// Reads a record in its object form (keys in any order, each member at most once) or its array
// form (the members in declaration order). Members left out keep what the caller put in them,
// so the caller starts from the record's default, or from absent and empty values. A record
// reader is then a table and a switch:
//
//   constexpr JsonMember members[] = {{"path"}, {"resolved", JsonPresence::Defaulted},
//                                     {"sha256", JsonPresence::Optional}};
//   constexpr JsonRecord record{"struct DatabaseRef", members};
//   return read_record(in, record, [&](std::size_t member, JsonInput value) -> JsonStatus {
//     if (member == 0) return read_string(value, out.path);
//     if (member == 1) return read_optional(value, out.resolved, read_string);
//     return read_optional(value, out.sha256, read_string);
//   });
[[nodiscard]] JsonStatus read_record(JsonInput in, const JsonRecord& record, const JsonMemberReader& read_member);

}  // namespace ovm::ir
