#include "ir/codec/codec_substances.hpp"

#include "ir/codec/codec_parameter.hpp"
#include "ir/json/json_record.hpp"
#include "ir/json/json_tagged.hpp"

namespace ovm::ir {
namespace {

constexpr JsonMember species_members[] = {{"id"}, {"formula"}, {"element", JsonPresence::Optional}};
constexpr JsonRecord species_record{"struct Species", species_members};

constexpr JsonMember isotope_members[] = {{"id"},         {"notation"},   {"element"},
                                          {"heavy_mass"}, {"light_mass"}, {"standard", JsonPresence::Optional},
                                          {"relative"}};
constexpr JsonRecord isotope_record{"struct IsotopeSystem", isotope_members};

constexpr JsonMember standard_members[] = {{"name"}, {"ratio"}, {"uncertainty", JsonPresence::Optional}};
constexpr JsonRecord standard_record{"struct Standard", standard_members};

constexpr JsonMember reservoir_members[] = {{"id"},    {"name"},      {"extent", JsonPresence::Optional},
                                            {"temperature_k", JsonPresence::Optional},
                                            {"pools"}, {"parameters"}};
constexpr JsonRecord reservoir_record{"struct Reservoir", reservoir_members};

constexpr JsonMember pool_members[] = {{"species"}, {"amount"}, {"compositions"}, {"deltas", JsonPresence::Optional}};
constexpr JsonRecord pool_record{"struct Pool", pool_members};

constexpr JsonMember composition_members[] = {{"isotope"}, {"ratio"}};
constexpr JsonRecord composition_record{"struct Composition", composition_members};

constexpr JsonMember pool_delta_members[] = {{"isotope"}, {"delta_permil"}};
constexpr JsonRecord pool_delta_record{"struct PoolDelta", pool_delta_members};

constexpr JsonVariant extent_variants[] = {{"volume", "Volume"}, {"mass", "Mass"}};
constexpr JsonEnum extent_enum{"Extent", extent_variants};
constexpr JsonMember volume_members[] = {{"litres"}};
constexpr JsonMember mass_members[] = {{"kilograms"}};
constexpr JsonRecord extent_records[] = {
    {"struct variant Extent::Volume", volume_members},
    {"struct variant Extent::Mass", mass_members},
};

constexpr JsonVariant amount_variants[] = {{"molality", "Molality"}, {"mass_concentration", "MassConcentration"}};
constexpr JsonEnum amount_enum{"Amount", amount_variants};

JsonStatus read_optional_f64(JsonInput in, std::optional<double>& out) { return read_optional(in, out, read_f64); }

}  // namespace

void serialize_species(const Species& species, JsonWriter& w) {
  json_begin_object(w);
  json_member_unsigned(w, "id", species.id);
  json_member_string(w, "formula", species.formula);
  json_member_optional_string(w, "element", species.element);
  json_end_object(w);
}

void serialize_isotope_system(const IsotopeSystem& system, JsonWriter& w) {
  json_begin_object(w);
  json_member_unsigned(w, "id", system.id);
  json_member_string(w, "notation", system.notation);
  json_member_string(w, "element", system.element);
  json_member_unsigned(w, "heavy_mass", system.heavy_mass);
  json_member_unsigned(w, "light_mass", system.light_mass);
  json_key(w, "standard");
  json_optional(w, system.standard, [](JsonWriter& out, const Standard& s) { serialize_standard(s, out); });
  json_member_bool(w, "relative", system.relative);
  json_end_object(w);
}

void serialize_standard(const Standard& standard, JsonWriter& w) {
  json_begin_object(w);
  json_member_string(w, "name", standard.name);
  json_member_double(w, "ratio", standard.ratio);
  json_member_optional_double(w, "uncertainty", standard.uncertainty);
  json_end_object(w);
}

void serialize_reservoir(const Reservoir& reservoir, JsonWriter& w) {
  json_begin_object(w);
  json_member_unsigned(w, "id", reservoir.id);
  json_member_string(w, "name", reservoir.name);
  json_key(w, "extent");
  json_optional(w, reservoir.extent, [](JsonWriter& out, const Extent& e) { serialize_extent(e, out); });
  json_member_optional_double(w, "temperature_k", reservoir.temperature_k);
  json_member_list(w, "pools", reservoir.pools, [](JsonWriter& out, const Pool& p) { serialize_pool(p, out); });
  json_key(w, "parameters");
  serialize_parameter_id_list(reservoir.parameters, w);
  json_end_object(w);
}

void serialize_extent(const Extent& extent, JsonWriter& w) {
  json_begin_tagged(w, extent_variants[extent.kind.index()].name);
  if (const auto* volume = std::get_if<Extent::Volume>(&extent.kind)) {
    json_member_double(w, "litres", volume->litres);
  } else {
    json_member_double(w, "kilograms", std::get<Extent::Mass>(extent.kind).kilograms);
  }
  json_end_object(w);
}

void serialize_pool(const Pool& pool, JsonWriter& w) {
  json_begin_object(w);
  json_member_unsigned(w, "species", pool.species);
  json_key(w, "amount");
  serialize_amount(pool.amount, w);
  json_member_list(w, "compositions", pool.compositions,
                   [](JsonWriter& out, const Composition& c) { serialize_composition(c, out); });
  // Written only when there are some, so that files of models without them stay as they were.
  if (!pool.deltas.empty()) {
    json_member_list(w, "deltas", pool.deltas, [](JsonWriter& out, const PoolDelta& delta) {
      json_begin_object(out);
      json_member_unsigned(out, "isotope", delta.isotope);
      json_member_double(out, "delta_permil", delta.delta_permil);
      json_end_object(out);
    });
  }
  json_end_object(w);
}

void serialize_amount(const Amount& amount, JsonWriter& w) {
  json_begin_tagged(w, amount_variants[amount.kind.index()].name);
  json_content(w);
  if (const auto* molality = std::get_if<Amount::Molality>(&amount.kind)) {
    json_double(w, molality->mol_per_kgw);
  } else {
    json_double(w, std::get<Amount::MassConcentration>(amount.kind).mg_per_l);
  }
  json_end_object(w);
}

void serialize_composition(const Composition& composition, JsonWriter& w) {
  json_begin_object(w);
  json_member_unsigned(w, "isotope", composition.isotope);
  json_member_double(w, "ratio", composition.ratio);
  json_end_object(w);
}

JsonStatus deserialize_species(JsonInput in, Species& out) {
  out = Species{};
  return read_record(in, species_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    if (member == 0) return read_u32(value, out.id);
    if (member == 1) return read_string(value, out.formula);
    return read_optional(value, out.element, read_string);
  });
}

JsonStatus deserialize_isotope_system(JsonInput in, IsotopeSystem& out) {
  out = IsotopeSystem{};
  return read_record(in, isotope_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    switch (member) {
      case 0: return read_u32(value, out.id);
      case 1: return read_string(value, out.notation);
      case 2: return read_string(value, out.element);
      case 3: return read_u16(value, out.heavy_mass);
      case 4: return read_u16(value, out.light_mass);
      case 5: return deserialize_optional_standard(value, out.standard);
      default: return read_bool(value, out.relative);
    }
  });
}

JsonStatus deserialize_standard(JsonInput in, Standard& out) {
  out = Standard{};
  return read_record(in, standard_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    if (member == 0) return read_string(value, out.name);
    if (member == 1) return read_f64(value, out.ratio);
    return read_optional_f64(value, out.uncertainty);
  });
}

JsonStatus deserialize_optional_standard(JsonInput in, std::optional<Standard>& out) {
  return read_optional(in, out, deserialize_standard);
}

JsonStatus deserialize_reservoir(JsonInput in, Reservoir& out) {
  out = Reservoir{};
  return read_record(in, reservoir_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    switch (member) {
      case 0: return read_u32(value, out.id);
      case 1: return read_string(value, out.name);
      case 2: return deserialize_optional_extent(value, out.extent);
      case 3: return read_optional_f64(value, out.temperature_k);
      case 4: return read_list(value, out.pools, deserialize_pool);
      default: return deserialize_parameter_id_list(value, out.parameters);
    }
  });
}

JsonStatus deserialize_extent(JsonInput in, Extent& out) {
  std::size_t variant = 0;
  double field = 0;
  auto status = read_internally_tagged(in, extent_enum, variant, [&](std::size_t chosen, JsonInput members) {
    return read_record(members, extent_records[chosen],
                       [&](std::size_t, JsonInput value) { return read_f64(value, field); });
  });
  if (status) return status;
  if (variant == 0) {
    out.kind = Extent::Volume{field};
  } else {
    out.kind = Extent::Mass{field};
  }
  return std::nullopt;
}

JsonStatus deserialize_optional_extent(JsonInput in, std::optional<Extent>& out) {
  return read_optional(in, out, deserialize_extent);
}

JsonStatus deserialize_pool(JsonInput in, Pool& out) {
  out = Pool{};
  return read_record(in, pool_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    if (member == 0) return read_u32(value, out.species);
    if (member == 1) return deserialize_amount(value, out.amount);
    if (member == 2) return deserialize_composition_list(value, out.compositions);
    return read_list(value, out.deltas, deserialize_pool_delta);
  });
}

JsonStatus deserialize_pool_delta(JsonInput in, PoolDelta& out) {
  out = PoolDelta{};
  return read_record(in, pool_delta_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    if (member == 0) return read_u32(value, out.isotope);
    return read_f64(value, out.delta_permil);
  });
}

JsonStatus deserialize_amount(JsonInput in, Amount& out) {
  std::size_t variant = 0;
  double content = 0;
  auto status = read_adjacently_tagged(in, amount_enum, variant,
                                       [&](std::size_t, JsonInput value) { return read_f64(value, content); });
  if (status) return status;
  if (variant == 0) {
    out.kind = Amount::Molality{content};
  } else {
    out.kind = Amount::MassConcentration{content};
  }
  return std::nullopt;
}

JsonStatus deserialize_composition(JsonInput in, Composition& out) {
  out = Composition{};
  return read_record(in, composition_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    if (member == 0) return read_u32(value, out.isotope);
    return read_f64(value, out.ratio);
  });
}

JsonStatus deserialize_species_list(JsonInput in, std::vector<Species>& out) {
  return read_list(in, out, deserialize_species);
}

JsonStatus deserialize_isotope_system_list(JsonInput in, std::vector<IsotopeSystem>& out) {
  return read_list(in, out, deserialize_isotope_system);
}

JsonStatus deserialize_reservoir_list(JsonInput in, std::vector<Reservoir>& out) {
  return read_list(in, out, deserialize_reservoir);
}

JsonStatus deserialize_composition_list(JsonInput in, std::vector<Composition>& out) {
  return read_list(in, out, deserialize_composition);
}

}  // namespace ovm::ir
