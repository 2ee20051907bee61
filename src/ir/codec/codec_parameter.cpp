#include "ir/codec/codec_parameter.hpp"

#include "ir/codec/codec_expr.hpp"
#include "ir/json/json_record.hpp"

namespace ovm::ir {
namespace {

constexpr JsonMember parameter_members[] = {
    {"id"}, {"name"}, {"owner", JsonPresence::Optional}, {"value", JsonPresence::Optional}};
constexpr JsonRecord parameter_record{"struct Parameter", parameter_members};

}  // namespace

void serialize_parameter_id(ParameterId id, JsonWriter& w) { json_unsigned(w, id.index); }

void serialize_parameter_id_list(const std::vector<ParameterId>& ids, JsonWriter& w) {
  json_list(w, ids, [](JsonWriter& out, ParameterId id) { serialize_parameter_id(id, out); });
}

JsonStatus deserialize_parameter_id(JsonInput in, ParameterId& out) { return read_u32(in, out.index); }

JsonStatus deserialize_parameter_id_list(JsonInput in, std::vector<ParameterId>& out) {
  return read_list(in, out, deserialize_parameter_id);
}

void serialize_parameter(const Parameter& parameter, JsonWriter& w) {
  json_begin_object(w);
  json_member_unsigned(w, "id", parameter.id.index);
  json_member_string(w, "name", parameter.name);
  json_member_optional_string(w, "owner", parameter.owner);
  json_key(w, "value");
  serialize_optional_expr(parameter.value, w);
  json_end_object(w);
}

JsonStatus deserialize_parameter(JsonInput in, Parameter& out) {
  out = Parameter{};
  return read_record(in, parameter_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    switch (member) {
      case 0: return deserialize_parameter_id(value, out.id);
      case 1: return read_string(value, out.name);
      case 2: return read_optional(value, out.owner, read_string);
      default: return deserialize_optional_expr(value, out.value);
    }
  });
}

JsonStatus deserialize_parameter_list(JsonInput in, std::vector<Parameter>& out) {
  return read_list(in, out, deserialize_parameter);
}

}  // namespace ovm::ir
