#include "ir/json/json_record.hpp"

#include <optional>
#include <string>
#include <vector>

#include "ir/json/json_keys.hpp"

namespace ovm::ir {
namespace {

constexpr std::size_t no_member = static_cast<std::size_t>(-1);

// Which members were given: a bit each, in one word for records of up to 64 members (every
// record of the files), so that reading a record allocates nothing for it.
class SeenMembers {
 public:
  explicit SeenMembers(std::size_t count) : uses_many_(count > 64) {
    if (uses_many_) many_.assign(count, false);
  }

  bool operator[](std::size_t i) const { return uses_many_ ? many_[i] : ((few_ >> i) & 1) != 0; }
  // Whether each of the first `count` members was given, as the writer gives them all.
  bool all(std::size_t count) const {
    return !uses_many_ && few_ == (count == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1);
  }
  void set(std::size_t i) {
    if (uses_many_) {
      many_[i] = true;
      return;
    }
    few_ |= std::uint64_t{1} << i;
  }

 private:
  std::uint64_t few_ = 0;
  bool uses_many_;  // a flag of its own, which is cheaper to ask than whether the vector is empty
  std::vector<bool> many_;
};

// The member named `key`, looked for first where `expected` says, the member after the one
// before: the writer puts the members in their order.
std::size_t find_member(const JsonRecord& record, std::string_view key, std::size_t expected = 0) {
  if (expected < record.members.size() && same_name(record.members[expected].key, key)) return expected;
  for (std::size_t i = 0; i < record.members.size(); ++i) {
    if (same_name(record.members[i].key, key)) return i;
  }
  return no_member;
}

std::string unknown_field(const JsonRecord& record, std::string_view key) {
  std::vector<std::string_view> names;
  for (const JsonMember& member : record.members) names.push_back(member.key);
  return unknown_field_message(key, names);
}

// The first member in declaration order that was not given and has to be.
std::optional<std::string> missing_member(const JsonRecord& record, const SeenMembers& seen) {
  if (seen.all(record.members.size())) return std::nullopt;
  for (std::size_t i = 0; i < record.members.size(); ++i) {
    if (!seen[i] && record.members[i].presence == JsonPresence::Required) {
      return missing_field_message(record.members[i].key);
    }
  }
  return std::nullopt;
}

std::string too_short(const JsonRecord& record, std::size_t index) {
  return invalid_length_message(index, with_elements_text(record.expecting, record.members.size()));
}

// The members of an object from its opening brace, or the rest of one whose first member, a
// tag, is read (`rest`): a tag again is then a duplicate, as it is where the rest is kept.
JsonStatus read_text_object(JsonReader& r, const JsonRecord& record, const JsonMemberReader& read_member, bool rest) {
  if (!rest) {
    if (auto error = open_container(r)) return error;
  }
  SeenMembers seen(record.members.size());
  bool first = !rest;
  JsonKey key;
  std::size_t expected = 0;
  while (true) {
    std::string_view likely = expected < record.members.size() ? record.members[expected].key : std::string_view();
    if (auto error = next_member(r, first, key, likely)) return error;
    if (!key.text) break;
    if (rest && same_name(*key.text, json_tag_key)) return error_here(r, duplicate_field_message(json_tag_key));
    std::size_t index = find_member(record, *key.text, expected);
    if (index == no_member && record.rejects_unknown) return error_here(r, unknown_field(record, *key.text));
    if (index != no_member && seen[index]) return error_here(r, duplicate_field_message(*key.text));
    if (auto error = member_colon(r)) return error;
    if (index == no_member) {
      if (auto error = keep_value(r, nullptr)) return error;
      continue;
    }
    seen.set(index);
    expected = index + 1;
    if (auto error = read_member(index, text_input(r))) return place_error_at_close(r, *error, '}');
  }
  if (auto missing = missing_member(record, seen)) return error_here(r, *missing);
  return std::nullopt;
}

JsonStatus read_text_array(JsonReader& r, const JsonRecord& record, const JsonMemberReader& read_member) {
  if (auto error = open_container(r)) return error;
  bool first = true;
  bool ended = false;
  for (std::size_t i = 0; i < record.members.size(); ++i) {
    if (!ended) {
      bool more = false;
      if (auto error = next_element(r, first, more)) return error;
      ended = !more;
    }
    if (ended) {
      if (record.members[i].presence == JsonPresence::Defaulted) continue;
      return error_here(r, too_short(record, i));
    }
    if (auto error = read_member(i, text_input(r))) return place_error_at_close(r, *error, ']');
  }
  if (ended) return std::nullopt;
  bool more = false;
  if (auto error = next_element(r, first, more)) return error;
  if (more) return error_at_next(r, "trailing characters");
  return std::nullopt;
}

JsonStatus read_kept_object(const KeptValue& value, const JsonRecord& record, const JsonMemberReader& read_member) {
  SeenMembers seen(record.members.size());
  for (const KeptMember& member : value.members) {
    std::size_t index = find_member(record, member.key);
    if (index == no_member) {
      if (record.rejects_unknown) return JsonError{unknown_field(record, member.key)};
      continue;
    }
    if (seen[index]) return JsonError{duplicate_field_message(member.key)};
    seen.set(index);
    if (auto error = read_member(index, kept_input(member.value))) return error;
  }
  if (auto missing = missing_member(record, seen)) return JsonError{*missing};
  return std::nullopt;
}

// Unlike the text, a kept array that runs on past the members says how long it was.
JsonStatus read_kept_array(const KeptValue& value, const JsonRecord& record, const JsonMemberReader& read_member) {
  std::size_t count = record.members.size();
  for (std::size_t i = 0; i < count; ++i) {
    if (i < value.elements.size()) {
      if (auto error = read_member(i, kept_input(value.elements[i]))) return error;
    } else if (record.members[i].presence != JsonPresence::Defaulted) {
      return JsonError{too_short(record, i)};
    }
  }
  if (value.elements.size() > count) {
    return JsonError{invalid_length_message(value.elements.size(), elements_in_sequence_text(count))};
  }
  return std::nullopt;
}

}  // namespace

JsonStatus read_record(JsonInput in, const JsonRecord& record, const JsonMemberReader& read_member) {
  if (in.reader != nullptr && in.reader->object_rest) {
    in.reader->object_rest = false;
    return read_text_object(*in.reader, record, read_member, true);
  }
  // In the text an object or array is known by its bracket; any other value takes the way
  // below, to its message.
  if (in.reader != nullptr) {
    std::optional<char> c = next_byte(*in.reader);
    if (c == '{') return read_text_object(*in.reader, record, read_member, false);
    if (c == '[' && record.has_array_form) return read_text_array(*in.reader, record, read_member);
  }
  KeptValue scratch;
  const KeptValue* head = nullptr;
  if (auto error = take_value(in, scratch, head)) return error;
  bool array = head->kind == JsonKind::Array && record.has_array_form;
  if (head->kind != JsonKind::Object && !array) {
    return value_error(in, invalid_type_message(json_found_text(*head), record.expecting));
  }
  if (in.kept != nullptr) {
    return array ? read_kept_array(*in.kept, record, read_member) : read_kept_object(*in.kept, record, read_member);
  }
  return array ? read_text_array(*in.reader, record, read_member) : read_text_object(*in.reader, record, read_member, false);
}

}  // namespace ovm::ir
