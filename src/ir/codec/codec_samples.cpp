#include "ir/codec/codec_samples.hpp"

#include "ir/codec/codec_substances.hpp"
#include "ir/json/json_enum.hpp"
#include "ir/json/json_record.hpp"
#include "sema/property_table.hpp"

namespace ovm::ir {
namespace {

// The IDENTIFY block's mode words name the enum's variants in the file too, in the enum's order.
constexpr auto& mode_names = sema::property_lists::identify_modes;

constexpr JsonMember sample_members[] = {
    {"id"},
    {"name"},
    {"element"},
    {"compositions"},
    {"series"},
    {"uncertainty_permil", JsonPresence::Optional},
    {"material", JsonPresence::Optional},
    {"note", JsonPresence::Optional},
};
constexpr JsonRecord sample_record{"struct Sample", sample_members};

constexpr JsonMember identification_members[] = {
    {"name"},
    {"source"},
    {"product"},
    {"mode"},
    {"candidates"},
    {"context", JsonPresence::Optional},
    {"regime", JsonPresence::Optional},
    {"max_chain", JsonPresence::Optional},
    {"tolerance_permil", JsonPresence::Optional},
    {"top", JsonPresence::Optional},
    {"extent", JsonPresence::Optional},
};
constexpr JsonRecord identification_record{"struct Identification", identification_members};

}  // namespace

void serialize_sample(const Sample& sample, JsonWriter& w) {
  json_begin_object(w);
  json_member_unsigned(w, "id", sample.id);
  json_member_string(w, "name", sample.name);
  json_member_string(w, "element", sample.element);
  json_member_list(w, "compositions", sample.compositions,
                   [](JsonWriter& out, const Composition& c) { serialize_composition(c, out); });
  json_member_list(w, "series", sample.series, [](JsonWriter& out, double value) { json_double(out, value); });
  json_member_optional_double(w, "uncertainty_permil", sample.uncertainty_permil);
  json_member_optional_string(w, "material", sample.material);
  json_member_optional_string(w, "note", sample.note);
  json_end_object(w);
}

void serialize_identification(const Identification& identification, JsonWriter& w) {
  json_begin_object(w);
  json_member_string(w, "name", identification.name);
  json_member_unsigned(w, "source", identification.source);
  json_member_unsigned(w, "product", identification.product);
  json_key(w, "mode");
  serialize_identification_mode(identification.mode, w);
  json_member_list(w, "candidates", identification.candidates,
                   [](JsonWriter& out, const std::string& text) { json_string(out, text); });
  json_member_optional_string(w, "context", identification.context);
  json_member_optional_string(w, "regime", identification.regime);
  json_member_optional_unsigned(w, "max_chain", identification.max_chain);
  json_member_optional_double(w, "tolerance_permil", identification.tolerance_permil);
  json_member_optional_unsigned(w, "top", identification.top);
  json_member_optional_double(w, "extent", identification.extent);
  json_end_object(w);
}

void serialize_identification_mode(IdentificationMode mode, JsonWriter& w) {
  json_unit_variant(w, mode_names[static_cast<std::size_t>(mode)]);
}

JsonStatus deserialize_sample(JsonInput in, Sample& out) {
  out = Sample{};
  return read_record(in, sample_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    switch (member) {
      case 0: return read_u32(value, out.id);
      case 1: return read_string(value, out.name);
      case 2: return read_string(value, out.element);
      case 3: return deserialize_composition_list(value, out.compositions);
      case 4: return read_list(value, out.series, read_f64);
      case 5: return read_optional(value, out.uncertainty_permil, read_f64);
      case 6: return read_optional(value, out.material, read_string);
      default: return read_optional(value, out.note, read_string);
    }
  });
}

JsonStatus deserialize_sample_list(JsonInput in, std::vector<Sample>& out) {
  return read_list(in, out, deserialize_sample);
}

JsonStatus deserialize_identification(JsonInput in, Identification& out) {
  out = Identification{};
  return read_record(in, identification_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    switch (member) {
      case 0: return read_string(value, out.name);
      case 1: return read_u32(value, out.source);
      case 2: return read_u32(value, out.product);
      case 3: return deserialize_identification_mode(value, out.mode);
      case 4: return read_list(value, out.candidates, read_string);
      case 5: return read_optional(value, out.context, read_string);
      case 6: return read_optional(value, out.regime, read_string);
      case 7: return read_optional(value, out.max_chain, read_u32);
      case 8: return read_optional(value, out.tolerance_permil, read_f64);
      case 9: return read_optional(value, out.top, read_u32);
      default: return read_optional(value, out.extent, read_f64);
    }
  });
}

JsonStatus deserialize_identification_list(JsonInput in, std::vector<Identification>& out) {
  return read_list(in, out, deserialize_identification);
}

JsonStatus deserialize_identification_mode(JsonInput in, IdentificationMode& out) {
  return read_enum(in, mode_names, out);
}

}  // namespace ovm::ir
