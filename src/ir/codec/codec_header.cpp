#include "ir/codec/codec_header.hpp"

#include "ir/json/json_record.hpp"

namespace ovm::ir {
namespace {

// Meta and Conditions have a record default: whatever the file leaves out stays absent.
constexpr JsonMember meta_members[] = {
    {"title", JsonPresence::Defaulted},       {"author", JsonPresence::Defaulted},
    {"date", JsonPresence::Defaulted},        {"version", JsonPresence::Defaulted},
    {"language", JsonPresence::Defaulted},    {"description", JsonPresence::Defaulted},
    {"license", JsonPresence::Defaulted},     {"reference", JsonPresence::Defaulted},
};
constexpr JsonRecord meta_record{"struct Meta", meta_members, true};

constexpr JsonMember conditions_members[] = {
    {"temperature_k", JsonPresence::Defaulted}, {"pressure_bar", JsonPresence::Defaulted},
    {"ph", JsonPresence::Defaulted},            {"eh_mv", JsonPresence::Defaulted},
    {"ionic_strength", JsonPresence::Defaulted},
};
constexpr JsonRecord conditions_record{"struct Conditions", conditions_members, true};

constexpr JsonMember provenance_members[] = {
    {"source_path", JsonPresence::Optional}, {"source_sha256", JsonPresence::Optional},
    {"databases"},                           {"generator", JsonPresence::Optional},
    {"ir_version"},
};
constexpr JsonRecord provenance_record{"struct Provenance", provenance_members};

constexpr JsonMember database_members[] = {
    {"path"}, {"resolved", JsonPresence::Defaulted}, {"sha256", JsonPresence::Optional}};
constexpr JsonRecord database_record{"struct DatabaseRef", database_members};

JsonStatus read_optional_string(JsonInput in, std::optional<std::string>& out) {
  return read_optional(in, out, read_string);
}

JsonStatus read_optional_f64(JsonInput in, std::optional<double>& out) { return read_optional(in, out, read_f64); }

}  // namespace

void serialize_meta(const Meta& meta, JsonWriter& w) {
  json_begin_object(w);
  json_member_optional_string(w, "title", meta.title);
  json_member_optional_string(w, "author", meta.author);
  json_member_optional_string(w, "date", meta.date);
  json_member_optional_string(w, "version", meta.version);
  json_member_optional_string(w, "language", meta.language);
  json_member_optional_string(w, "description", meta.description);
  json_member_optional_string(w, "license", meta.license);
  json_member_optional_string(w, "reference", meta.reference);
  json_end_object(w);
}

void serialize_provenance(const Provenance& provenance, JsonWriter& w) {
  json_begin_object(w);
  json_member_optional_string(w, "source_path", provenance.source_path);
  json_member_optional_string(w, "source_sha256", provenance.source_sha256);
  json_member_list(w, "databases", provenance.databases,
                   [](JsonWriter& out, const DatabaseRef& database) { serialize_database_ref(database, out); });
  json_member_optional_string(w, "generator", provenance.generator);
  json_member_string(w, "ir_version", provenance.ir_version);
  json_end_object(w);
}

void serialize_database_ref(const DatabaseRef& database, JsonWriter& w) {
  json_begin_object(w);
  json_member_string(w, "path", database.path);
  // The one member of the file whose key is left out when absent.
  if (database.resolved) json_member_string(w, "resolved", *database.resolved);
  json_member_optional_string(w, "sha256", database.sha256);
  json_end_object(w);
}

void serialize_conditions(const Conditions& conditions, JsonWriter& w) {
  json_begin_object(w);
  json_member_optional_double(w, "temperature_k", conditions.temperature_k);
  json_member_optional_double(w, "pressure_bar", conditions.pressure_bar);
  json_member_optional_double(w, "ph", conditions.ph);
  json_member_optional_double(w, "eh_mv", conditions.eh_mv);
  json_member_optional_double(w, "ionic_strength", conditions.ionic_strength);
  json_end_object(w);
}

JsonStatus deserialize_meta(JsonInput in, Meta& out) {
  out = Meta{};
  std::optional<std::string>* members[] = {&out.title,       &out.author,  &out.date,    &out.version,
                                           &out.language,    &out.description, &out.license, &out.reference};
  return read_record(in, meta_record,
                     [&](std::size_t member, JsonInput value) { return read_optional_string(value, *members[member]); });
}

JsonStatus deserialize_provenance(JsonInput in, Provenance& out) {
  out = Provenance{};
  return read_record(in, provenance_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    switch (member) {
      case 0: return read_optional_string(value, out.source_path);
      case 1: return read_optional_string(value, out.source_sha256);
      case 2: return read_list(value, out.databases, deserialize_database_ref);
      case 3: return read_optional_string(value, out.generator);
      default: return read_string(value, out.ir_version);
    }
  });
}

JsonStatus deserialize_database_ref(JsonInput in, DatabaseRef& out) {
  out = DatabaseRef{};
  return read_record(in, database_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    if (member == 0) return read_string(value, out.path);
    if (member == 1) return read_optional_string(value, out.resolved);
    return read_optional_string(value, out.sha256);
  });
}

JsonStatus deserialize_conditions(JsonInput in, Conditions& out) {
  out = Conditions{};
  std::optional<double>* members[] = {&out.temperature_k, &out.pressure_bar, &out.ph, &out.eh_mv,
                                      &out.ionic_strength};
  return read_record(in, conditions_record,
                     [&](std::size_t member, JsonInput value) { return read_optional_f64(value, *members[member]); });
}

}  // namespace ovm::ir
