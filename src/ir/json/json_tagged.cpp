#include "ir/json/json_tagged.hpp"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ir/json/json_enum.hpp"

namespace ovm::ir {
namespace {

// The variants' names as the unit enum readers take them, kept beside the reader without an
// allocation when there are few, as there are in every enum of the files. Only the names an
// enum has are made: the room for the others is left as it is, not cleared on every read.
class VariantNames {
 public:
  explicit VariantNames(const JsonEnum& type) {
    std::size_t count = type.variants.size();
    if (count > std::size(few_.names)) {
      for (const JsonVariant& variant : type.variants) many_.push_back(variant.name);
      view_ = many_;
      return;
    }
    for (std::size_t i = 0; i < count; ++i) std::construct_at(&few_.names[i], type.variants[i].name);
    view_ = std::span<const std::string_view>(few_.names, count);
  }
  VariantNames(const VariantNames&) = delete;
  VariantNames& operator=(const VariantNames&) = delete;

  operator std::span<const std::string_view>() const { return view_; }

 private:
  union Few {
    Few() {}  // leaves the names unmade
    std::string_view names[8];
  } few_;
  std::vector<std::string_view> many_;
  std::span<const std::string_view> view_;
};

// ---- internally tagged -------------------------------------------------------------------

// What stands beside the tag: the members of a kept object, or the elements after the tag.
struct TaggedParts {
  std::optional<std::size_t> variant;
  KeptValue rest;
};

JsonStatus keep_text_parts(JsonReader& r, JsonKind kind, std::span<const std::string_view> names,
                           TaggedParts& parts) {
  parts.rest.kind = kind;
  if (auto error = open_container(r)) return error;
  bool first = true;
  if (kind == JsonKind::Array) {
    bool more = false;
    if (auto error = next_element(r, first, more)) return error;
    if (!more) return error_here(r, missing_field_message(json_tag_key));
    std::size_t variant = 0;
    if (auto error = read_variant_identifier(text_input(r), names, variant)) return error;
    parts.variant = variant;
    return read_array_rest(r, false, [&]() { return keep_value(r, &parts.rest.elements.emplace_back()); });
  }
  JsonKey key;
  while (true) {
    if (auto error = next_member(r, first, key)) return error;
    if (!key.text) break;
    bool tag = same_name(*key.text, json_tag_key);
    if (tag && parts.variant) return error_here(r, duplicate_field_message(json_tag_key));
    if (auto error = member_colon(r)) return error;
    if (!tag) {
      KeptMember& member = parts.rest.members.emplace_back(KeptMember{std::string(*key.text), {}});
      if (auto error = keep_value(r, &member.value)) return error;
      continue;
    }
    std::size_t variant = 0;
    if (auto error = read_variant_identifier(text_input(r), names, variant)) return error;
    parts.variant = variant;
  }
  if (!parts.variant) return error_here(r, missing_field_message(json_tag_key));
  return std::nullopt;
}

JsonStatus split_kept_parts(const KeptValue& value, std::span<const std::string_view> names, TaggedParts& parts) {
  parts.rest.kind = value.kind;
  if (value.kind == JsonKind::Array) {
    if (value.elements.empty()) return JsonError{missing_field_message(json_tag_key)};
    std::size_t variant = 0;
    if (auto error = read_variant_identifier(kept_input(value.elements.front()), names, variant)) return error;
    parts.variant = variant;
    parts.rest.elements.assign(value.elements.begin() + 1, value.elements.end());
    return std::nullopt;
  }
  for (const KeptMember& member : value.members) {
    if (member.key != json_tag_key) {
      parts.rest.members.push_back(member);
      continue;
    }
    if (parts.variant) return JsonError{duplicate_field_message(json_tag_key)};
    std::size_t variant = 0;
    if (auto error = read_variant_identifier(kept_input(member.value), names, variant)) return error;
    parts.variant = variant;
  }
  if (!parts.variant) return JsonError{missing_field_message(json_tag_key)};
  return std::nullopt;
}

// An object whose first member is the tag, as the writer puts it: the members beside the tag
// are read straight from the text, with no kept rest between. True when the object reads
// without an error; on any error the caller reads it again the general way, which gives the
// error and its place as they always are.
bool read_tag_first(JsonReader& r, const JsonEnum& type, std::span<const std::string_view> names,
                    std::size_t& variant, const JsonContentReader& read_members) {
  if (open_container(r)) return false;
  bool first = true;
  JsonKey key;
  if (next_member(r, first, key, json_tag_key) || !key.text || !same_name(*key.text, json_tag_key) || member_colon(r)) {
    return false;
  }
  if (read_variant_identifier(text_input(r), names, variant)) return false;
  if (type.variants[variant].has_content) return !read_members(variant, object_rest_input(r));
  // A variant without data: the members beside the tag need only be there, and no tag again.
  while (true) {
    if (next_member(r, first, key)) return false;
    if (!key.text) return true;
    if (same_name(*key.text, json_tag_key) || member_colon(r) || keep_value(r, nullptr)) return false;
  }
}

// A variant without data: an object's other members do not matter, an array must end at the tag.
JsonStatus check_no_members(const KeptValue& rest) {
  if (rest.kind != JsonKind::Array || rest.elements.empty()) return std::nullopt;
  return JsonError{invalid_length_message(rest.elements.size(), elements_in_sequence_text(0))};
}

// ---- adjacently tagged -------------------------------------------------------------------

struct AdjacentReader {
  const JsonEnum& type;
  const JsonContentReader& read_content;

  std::string expecting() const { return "adjacently tagged enum " + std::string(type.type_name); }

  // The content of `variant`; a variant without data takes `null` alone.
  JsonStatus content(std::size_t variant, JsonInput in) const {
    const JsonVariant& chosen = type.variants[variant];
    if (chosen.has_content) return read_content(variant, in);
    KeptValue scratch;
    const KeptValue* value = nullptr;
    if (auto error = take_value(in, scratch, value)) return error;
    if (value->kind == JsonKind::Null) return std::nullopt;
    std::string expected = "unit variant " + std::string(type.type_name) + "::" + std::string(chosen.type_name);
    return value_error(in, invalid_type_message(json_found_text(*value), expected));
  }

  // After the object: the tag must have come, and the content unless the variant has none.
  std::optional<std::string> missing(const std::optional<std::size_t>& variant, bool content_read) const {
    if (!variant) return missing_field_message(json_tag_key);
    if (!content_read && type.variants[*variant].has_content) return missing_field_message(json_content_key);
    return std::nullopt;
  }

  JsonStatus text_object(JsonReader& r, std::optional<std::size_t>& variant) const {
    VariantNames names(type);
    if (auto error = open_container(r)) return error;
    bool first = true;
    bool content_seen = false;
    bool content_read = false;
    std::unique_ptr<KeptValue> kept;  // an "of" before "kind", which the writer does not put there
    JsonKey key;
    while (true) {
      if (auto error = next_member(r, first, key, variant ? json_content_key : json_tag_key)) return error;
      if (!key.text) break;
      bool tag = same_name(*key.text, json_tag_key);
      bool of = same_name(*key.text, json_content_key);
      if (tag && variant) return error_here(r, duplicate_field_message(json_tag_key));
      if (of && content_seen) return error_here(r, duplicate_field_message(json_content_key));
      if (auto error = member_colon(r)) return error;
      if (!tag && !of) {
        if (auto error = keep_value(r, nullptr)) return error;
        continue;
      }
      if (tag) {
        std::size_t found = 0;
        if (auto error = read_unit_enum(text_input(r), names, found)) return error;
        variant = found;
        if (!content_seen) continue;
        if (auto error = content(found, kept_input(*kept))) return place_error_at_close(r, *error, '}');
        content_read = true;
        continue;
      }
      content_seen = true;
      if (!variant) {
        if (auto error = keep_value(r, (kept = std::make_unique<KeptValue>()).get())) return error;
        continue;
      }
      if (auto error = content(*variant, text_input(r))) return place_error_at_close(r, *error, '}');
      content_read = true;
    }
    if (auto message = missing(variant, content_read)) return error_here(r, *message);
    return std::nullopt;
  }

  JsonStatus text_array(JsonReader& r, std::optional<std::size_t>& variant) const {
    if (auto error = open_container(r)) return error;
    bool first = true;
    bool more = false;
    if (auto error = next_element(r, first, more)) return error;
    if (!more) return error_here(r, invalid_length_message(0, expecting()));
    std::size_t found = 0;
    if (auto error = read_variant_identifier(text_input(r), VariantNames(type), found)) return error;
    variant = found;
    if (auto error = next_element(r, first, more)) return error;
    if (!more) return error_here(r, invalid_length_message(1, expecting()));
    if (auto error = content(found, text_input(r))) return place_error_at_close(r, *error, ']');
    if (auto error = next_element(r, first, more)) return error;
    if (more) return error_at_next(r, "trailing characters");
    return std::nullopt;
  }

  JsonStatus kept_object(const KeptValue& value, std::optional<std::size_t>& variant) const {
    VariantNames names(type);
    const KeptValue* kept = nullptr;
    bool content_read = false;
    for (const KeptMember& member : value.members) {
      bool tag = member.key == json_tag_key;
      bool of = member.key == json_content_key;
      if (tag && variant) return JsonError{duplicate_field_message(json_tag_key)};
      if (of && (kept != nullptr || content_read)) return JsonError{duplicate_field_message(json_content_key)};
      if (tag) {
        std::size_t found = 0;
        if (auto error = read_unit_enum(kept_input(member.value), names, found)) return error;
        variant = found;
        if (kept == nullptr) continue;
        if (auto error = content(found, kept_input(*kept))) return error;
        content_read = true;
      } else if (of && !variant) {
        kept = &member.value;
      } else if (of) {
        if (auto error = content(*variant, kept_input(member.value))) return error;
        content_read = true;
      }
    }
    if (auto message = missing(variant, content_read)) return JsonError{*message};
    return std::nullopt;
  }

  // Unlike the text, a kept array that runs on past the content says how long it was.
  JsonStatus kept_array(const KeptValue& value, std::optional<std::size_t>& variant) const {
    if (value.elements.empty()) return JsonError{invalid_length_message(0, expecting())};
    std::size_t found = 0;
    if (auto error = read_variant_identifier(kept_input(value.elements[0]), VariantNames(type), found)) {
      return error;
    }
    variant = found;
    if (value.elements.size() < 2) return JsonError{invalid_length_message(1, expecting())};
    if (auto error = content(found, kept_input(value.elements[1]))) return error;
    if (value.elements.size() > 2) {
      return JsonError{invalid_length_message(value.elements.size(), elements_in_sequence_text(2))};
    }
    return std::nullopt;
  }
};

}  // namespace

JsonStatus read_internally_tagged(JsonInput in, const JsonEnum& type, std::size_t& variant,
                                  const JsonContentReader& read_members) {
  if (in.reader != nullptr && next_byte(*in.reader) == '{') {
    const JsonReader start = *in.reader;
    if (read_tag_first(*in.reader, type, VariantNames(type), variant, read_members)) return std::nullopt;
    *in.reader = start;
  }
  KeptValue scratch;
  const KeptValue* head = nullptr;
  if (auto error = take_value(in, scratch, head)) return error;
  if (head->kind != JsonKind::Object && head->kind != JsonKind::Array) {
    std::string expected = "internally tagged enum " + std::string(type.type_name);
    return value_error(in, invalid_type_message(json_found_text(*head), expected));
  }
  VariantNames names(type);
  TaggedParts parts;
  JsonStatus split = in.kept != nullptr ? split_kept_parts(*in.kept, names, parts)
                                        : keep_text_parts(*in.reader, head->kind, names, parts);
  if (split) return split;
  variant = *parts.variant;
  if (!type.variants[variant].has_content) return check_no_members(parts.rest);
  return read_members(variant, kept_input(parts.rest));
}

JsonStatus read_adjacently_tagged(JsonInput in, const JsonEnum& type, std::size_t& variant,
                                  const JsonContentReader& read_content) {
  AdjacentReader reader{type, read_content};
  if (in.reader != nullptr && next_byte(*in.reader) == '{') {  // the writer's form, known by its brace
    std::optional<std::size_t> found;
    if (auto error = reader.text_object(*in.reader, found)) return error;
    variant = *found;
    return std::nullopt;
  }
  KeptValue scratch;
  const KeptValue* head = nullptr;
  if (auto error = take_value(in, scratch, head)) return error;
  if (head->kind != JsonKind::Object && head->kind != JsonKind::Array) {
    return value_error(in, invalid_type_message(json_found_text(*head), reader.expecting()));
  }
  std::optional<std::size_t> found;
  JsonStatus status;
  if (in.kept != nullptr) {
    status = head->kind == JsonKind::Array ? reader.kept_array(*in.kept, found) : reader.kept_object(*in.kept, found);
  } else {
    status = head->kind == JsonKind::Array ? reader.text_array(*in.reader, found) : reader.text_object(*in.reader, found);
  }
  if (status) return status;
  variant = *found;
  return std::nullopt;
}

}  // namespace ovm::ir
