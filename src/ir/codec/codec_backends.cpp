#include "ir/codec/codec_backends.hpp"

#include <string_view>

#include "ir/codec/codec_parameter.hpp"
#include "ir/json/json_enum.hpp"
#include "ir/json/json_record.hpp"
#include "sema/property_table.hpp"

namespace ovm::ir {
namespace {

// The variant names of `BackendKind`, in its order.
constexpr std::string_view kind_names[] = {"phreeqc"};
// The PHREEQC block's mode words name the enum's variants in the file too, in the enum's order.
constexpr auto& mode_names = sema::property_lists::backend_modes;

constexpr JsonMember backend_members[] = {
    {"name"}, {"kind"}, {"input_path"}, {"database", JsonPresence::Optional}, {"mode"}, {"exports"},
};
constexpr JsonRecord backend_record{"struct Backend", backend_members};

constexpr JsonMember export_members[] = {{"column"}, {"parameter"}};
constexpr JsonRecord export_record{"struct BackendExport", export_members};

}  // namespace

void serialize_backend(const Backend& backend, JsonWriter& w) {
  json_begin_object(w);
  json_member_string(w, "name", backend.name);
  json_key(w, "kind");
  serialize_backend_kind(backend.kind, w);
  json_member_string(w, "input_path", backend.input_path);
  json_member_optional_string(w, "database", backend.database);
  json_key(w, "mode");
  serialize_backend_mode(backend.mode, w);
  json_member_list(w, "exports", backend.exports,
                   [](JsonWriter& out, const BackendExport& e) { serialize_backend_export(e, out); });
  json_end_object(w);
}

void serialize_backend_export(const BackendExport& backend_export, JsonWriter& w) {
  json_begin_object(w);
  json_member_string(w, "column", backend_export.column);
  json_key(w, "parameter");
  serialize_parameter_id(backend_export.parameter, w);
  json_end_object(w);
}

void serialize_backend_kind(BackendKind kind, JsonWriter& w) {
  json_unit_variant(w, kind_names[static_cast<std::size_t>(kind)]);
}

void serialize_backend_mode(BackendMode mode, JsonWriter& w) {
  json_unit_variant(w, mode_names[static_cast<std::size_t>(mode)]);
}

JsonStatus deserialize_backend(JsonInput in, Backend& out) {
  out = Backend{};
  return read_record(in, backend_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    switch (member) {
      case 0: return read_string(value, out.name);
      case 1: return deserialize_backend_kind(value, out.kind);
      case 2: return read_string(value, out.input_path);
      case 3: return read_optional(value, out.database, read_string);
      case 4: return deserialize_backend_mode(value, out.mode);
      default: return deserialize_backend_export_list(value, out.exports);
    }
  });
}

JsonStatus deserialize_backend_list(JsonInput in, std::vector<Backend>& out) {
  return read_list(in, out, deserialize_backend);
}

JsonStatus deserialize_backend_export(JsonInput in, BackendExport& out) {
  out = BackendExport{};
  return read_record(in, export_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    if (member == 0) return read_string(value, out.column);
    return deserialize_parameter_id(value, out.parameter);
  });
}

JsonStatus deserialize_backend_export_list(JsonInput in, std::vector<BackendExport>& out) {
  return read_list(in, out, deserialize_backend_export);
}

JsonStatus deserialize_backend_kind(JsonInput in, BackendKind& out) { return read_enum(in, kind_names, out); }

JsonStatus deserialize_backend_mode(JsonInput in, BackendMode& out) { return read_enum(in, mode_names, out); }

}  // namespace ovm::ir
