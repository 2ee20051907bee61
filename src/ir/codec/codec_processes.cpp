#include "ir/codec/codec_processes.hpp"

#include <cstdint>

#include "ir/codec/codec_expr.hpp"
#include "ir/codec/codec_kinetics.hpp"
#include "ir/codec/codec_parameter.hpp"
#include "ir/graph/lower_words.hpp"
#include "ir/json/json_enum.hpp"
#include "ir/json/json_record.hpp"
#include "ir/json/json_tagged.hpp"
#include "sema/property_table.hpp"

namespace ovm::ir {
namespace {

// The words of the language name these enums in the file too, in the enums' order.
constexpr auto& context_names = sema::property_lists::process_contexts;
constexpr auto& regime_names = sema::property_lists::process_regimes;

constexpr JsonMember process_members[] = {
    {"id"},
    {"name"},
    {"kind"},
    {"location", JsonPresence::Optional},
    {"from", JsonPresence::Optional},
    {"into", JsonPresence::Optional},
    {"extent", JsonPresence::Optional},
    {"context", JsonPresence::Optional},
    {"regime", JsonPresence::Optional},
    {"fractionations"},
    {"kinetics", JsonPresence::Optional},
    {"parameters"},
    {"open_system"},
};
constexpr JsonRecord process_record{"struct Process", process_members};

constexpr JsonVariant kind_variants[] = {{"transfer", "Transfer"},
                                         {"mixing", "Mixing"},
                                         {"adsorption", "Adsorption"},
                                         {"uptake", "Uptake"},
                                         {"exchange", "Exchange"}};
constexpr JsonEnum kind_enum{"ProcessKind", kind_variants};
constexpr JsonMember transfer_members[] = {{"reactant"}, {"product"}, {"mode"}};
constexpr JsonMember mixing_members[] = {{"sources"}, {"product"}};
constexpr JsonMember sorption_members[] = {{"reactant"}, {"sorbent"}};
constexpr JsonMember exchange_members[] = {{"phase_a"}, {"phase_b"}};
constexpr JsonRecord kind_records[] = {
    {"struct variant ProcessKind::Transfer", transfer_members},
    {"struct variant ProcessKind::Mixing", mixing_members},
    {"struct variant ProcessKind::Adsorption", sorption_members},
    {"struct variant ProcessKind::Uptake", sorption_members},
    {"struct variant ProcessKind::Exchange", exchange_members},
};

constexpr JsonMember source_members[] = {{"reservoir"}, {"fraction"}};
constexpr JsonRecord source_record{"struct MixingSource", source_members};

JsonStatus read_transfer(JsonInput members, ProcessKind& out) {
  ProcessKind::Transfer transfer;
  auto status = read_record(members, kind_records[0], [&](std::size_t member, JsonInput value) -> JsonStatus {
    if (member == 0) return read_u32(value, transfer.reactant);
    if (member == 1) return read_u32(value, transfer.product);
    return deserialize_mechanism(value, transfer.mode);
  });
  if (status) return status;
  out.kind = transfer;
  return std::nullopt;
}

JsonStatus read_mixing(JsonInput members, ProcessKind& out) {
  ProcessKind::Mixing mixing;
  auto status = read_record(members, kind_records[1], [&](std::size_t member, JsonInput value) -> JsonStatus {
    if (member == 1) return read_u32(value, mixing.product);
    return read_list(value, mixing.sources, deserialize_mixing_source);
  });
  if (status) return status;
  out.kind = std::move(mixing);
  return std::nullopt;
}

// The variants that hold two species ids and nothing else.
template <class Variant>
JsonStatus read_species_pair(JsonInput members, std::size_t variant, std::uint32_t Variant::*first,
                             std::uint32_t Variant::*second, ProcessKind& out) {
  Variant pair;
  auto status = read_record(members, kind_records[variant], [&](std::size_t member, JsonInput value) {
    return read_u32(value, pair.*(member == 0 ? first : second));
  });
  if (status) return status;
  out.kind = pair;
  return std::nullopt;
}

JsonStatus read_kind_members(std::size_t variant, JsonInput members, ProcessKind& out) {
  switch (variant) {
    case 0: return read_transfer(members, out);
    case 1: return read_mixing(members, out);
    case 2:
      return read_species_pair(members, variant, &ProcessKind::Adsorption::reactant, &ProcessKind::Adsorption::sorbent,
                               out);
    case 3:
      return read_species_pair(members, variant, &ProcessKind::Uptake::reactant, &ProcessKind::Uptake::sorbent, out);
    default:
      return read_species_pair(members, variant, &ProcessKind::Exchange::phase_a, &ProcessKind::Exchange::phase_b, out);
  }
}

void write_species_pair(JsonWriter& w, std::size_t variant, SpeciesId first, SpeciesId second) {
  json_member_unsigned(w, kind_records[variant].members[0].key, first);
  json_member_unsigned(w, kind_records[variant].members[1].key, second);
}

}  // namespace

void serialize_process(const Process& process, JsonWriter& w) {
  json_begin_object(w);
  json_member_unsigned(w, "id", process.id);
  json_member_string(w, "name", process.name);
  json_key(w, "kind");
  serialize_process_kind(process.kind, w);
  json_member_optional_unsigned(w, "location", process.location);
  json_member_optional_unsigned(w, "from", process.from);
  json_member_optional_unsigned(w, "into", process.into);
  json_key(w, "extent");
  serialize_optional_expr(process.extent, w);
  json_key(w, "context");
  serialize_context(process.context, w);
  json_key(w, "regime");
  serialize_regime(process.regime, w);
  json_member_list(w, "fractionations", process.fractionations,
                   [](JsonWriter& out, const Fractionation& f) { serialize_fractionation(f, out); });
  json_key(w, "kinetics");
  json_optional(w, process.kinetics, [](JsonWriter& out, const Kinetics& k) { serialize_kinetics(k, out); });
  json_key(w, "parameters");
  serialize_parameter_id_list(process.parameters, w);
  json_member_bool(w, "open_system", process.open_system);
  json_end_object(w);
}

void serialize_process_kind(const ProcessKind& kind, JsonWriter& w) {
  std::size_t variant = kind.kind.index();
  json_begin_tagged(w, kind_variants[variant].name);
  if (const auto* transfer = std::get_if<ProcessKind::Transfer>(&kind.kind)) {
    json_member_unsigned(w, "reactant", transfer->reactant);
    json_member_unsigned(w, "product", transfer->product);
    json_key(w, "mode");
    serialize_mechanism(transfer->mode, w);
  } else if (const auto* mixing = std::get_if<ProcessKind::Mixing>(&kind.kind)) {
    json_member_list(w, "sources", mixing->sources,
                     [](JsonWriter& out, const MixingSource& s) { serialize_mixing_source(s, out); });
    json_member_unsigned(w, "product", mixing->product);
  } else if (const auto* adsorption = std::get_if<ProcessKind::Adsorption>(&kind.kind)) {
    write_species_pair(w, variant, adsorption->reactant, adsorption->sorbent);
  } else if (const auto* uptake = std::get_if<ProcessKind::Uptake>(&kind.kind)) {
    write_species_pair(w, variant, uptake->reactant, uptake->sorbent);
  } else {
    const auto& exchange = std::get<ProcessKind::Exchange>(kind.kind);
    write_species_pair(w, variant, exchange.phase_a, exchange.phase_b);
  }
  json_end_object(w);
}

void serialize_mixing_source(const MixingSource& source, JsonWriter& w) {
  json_begin_object(w);
  json_member_unsigned(w, "reservoir", source.reservoir);
  json_member_double(w, "fraction", source.fraction);
  json_end_object(w);
}

void serialize_mechanism(Mechanism mechanism, JsonWriter& w) {
  json_unit_variant(w, mechanism_names[static_cast<std::size_t>(mechanism)]);
}

void serialize_context(const std::optional<Context>& context, JsonWriter& w) {
  if (!context) return json_null(w);
  json_unit_variant(w, context_names[static_cast<std::size_t>(*context)]);
}

void serialize_regime(const std::optional<Regime>& regime, JsonWriter& w) {
  if (!regime) return json_null(w);
  json_unit_variant(w, regime_names[static_cast<std::size_t>(*regime)]);
}

JsonStatus deserialize_process(JsonInput in, Process& out) {
  out = Process{};
  return read_record(in, process_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    switch (member) {
      case 0: return read_u32(value, out.id);
      case 1: return read_string(value, out.name);
      case 2: return deserialize_process_kind(value, out.kind);
      case 3: return read_optional(value, out.location, read_u32);
      case 4: return read_optional(value, out.from, read_u32);
      case 5: return read_optional(value, out.into, read_u32);
      case 6: return deserialize_optional_expr(value, out.extent);
      case 7: return deserialize_context(value, out.context);
      case 8: return deserialize_regime(value, out.regime);
      case 9: return deserialize_fractionation_list(value, out.fractionations);
      case 10: return deserialize_optional_kinetics(value, out.kinetics);
      case 11: return deserialize_parameter_id_list(value, out.parameters);
      default: return read_bool(value, out.open_system);
    }
  });
}

JsonStatus deserialize_process_list(JsonInput in, std::vector<Process>& out) {
  return read_list(in, out, deserialize_process);
}

JsonStatus deserialize_process_kind(JsonInput in, ProcessKind& out) {
  std::size_t variant = 0;
  return read_internally_tagged(in, kind_enum, variant, [&](std::size_t chosen, JsonInput members) {
    return read_kind_members(chosen, members, out);
  });
}

JsonStatus deserialize_mixing_source(JsonInput in, MixingSource& out) {
  out = MixingSource{};
  return read_record(in, source_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    if (member == 0) return read_u32(value, out.reservoir);
    return read_f64(value, out.fraction);
  });
}

JsonStatus deserialize_mechanism(JsonInput in, Mechanism& out) {
  return read_enum(in, mechanism_names, out);
}

JsonStatus deserialize_context(JsonInput in, std::optional<Context>& out) {
  return read_optional(in, out,
                       [](JsonInput value, Context& context) { return read_enum(value, context_names, context); });
}

JsonStatus deserialize_regime(JsonInput in, std::optional<Regime>& out) {
  return read_optional(in, out, [](JsonInput value, Regime& regime) { return read_enum(value, regime_names, regime); });
}

}  // namespace ovm::ir
