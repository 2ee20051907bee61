#include "ir/codec/codec_simulation.hpp"

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "ir/json/json_enum.hpp"
#include "ir/json/json_record.hpp"
#include "sema/property_table.hpp"

namespace ovm::ir {
namespace {

// The words of the language name the progress in the file too, in the enum's order.
constexpr auto& progress_names = sema::property_lists::progress_values;
constexpr std::string_view comparison_names[] = {"less",          "less_equal", "greater",
                                                 "greater_equal", "equal",      "not_equal"};

constexpr JsonMember simulation_members[] = {
    {"name"},        {"reservoirs"}, {"processes"}, {"step_seconds", JsonPresence::Optional},
    {"progress"},    {"stop", JsonPresence::Optional},
};
constexpr JsonRecord simulation_record{"struct Simulation", simulation_members};

constexpr JsonMember stop_members[] = {{"subject"}, {"comparison"}, {"value"}};
constexpr JsonRecord stop_record{"struct StopCondition", stop_members};

constexpr JsonEnum subject_enum{"Subject", subject_variants};

// The ids of each quantity, by variant; a time has none.
constexpr JsonMember pair_ids[] = {{"reservoir"}, {"species"}};
constexpr JsonMember composition_ids[] = {{"reservoir"}, {"isotope"}};
constexpr JsonMember pool_composition_ids[] = {{"reservoir"}, {"species"}, {"isotope"}};
constexpr std::span<const JsonMember> subject_ids[] = {
    {}, pair_ids, composition_ids, pool_composition_ids, pair_ids, pair_ids,
};

using Ids = std::array<std::uint32_t, 3>;

// The ids of a quantity in the order of its members in `subject_ids`.
struct IdsOf {
  Ids operator()(const Subject::Time&) const { return {}; }
  Ids operator()(const Subject::Amount& q) const { return {q.reservoir, q.species, 0}; }
  Ids operator()(const Subject::Composition& q) const { return {q.reservoir, q.isotope, 0}; }
  Ids operator()(const Subject::PoolComposition& q) const { return {q.reservoir, q.species, q.isotope}; }
  Ids operator()(const Subject::FractionRemaining& q) const { return {q.reservoir, q.species, 0}; }
  Ids operator()(const Subject::FractionReacted& q) const { return {q.reservoir, q.species, 0}; }
};

Subject subject_of(std::size_t variant, const Ids& ids) {
  switch (variant) {
    case 1: return Subject{Subject::Amount{ids[0], ids[1]}};
    case 2: return Subject{Subject::Composition{ids[0], ids[1]}};
    case 3: return Subject{Subject::PoolComposition{ids[0], ids[1], ids[2]}};
    case 4: return Subject{Subject::FractionRemaining{ids[0], ids[1]}};
    case 5: return Subject{Subject::FractionReacted{ids[0], ids[1]}};
    default: return Subject{Subject::Time{}};
  }
}

}  // namespace

void serialize_simulation(const Simulation& simulation, JsonWriter& w) {
  json_begin_object(w);
  json_member_string(w, "name", simulation.name);
  auto write_id = [](JsonWriter& out, std::uint32_t id) { json_unsigned(out, id); };
  json_member_list(w, "reservoirs", simulation.reservoirs, write_id);
  json_member_list(w, "processes", simulation.processes, write_id);
  json_member_optional_double(w, "step_seconds", simulation.step_seconds);
  json_key(w, "progress");
  json_unit_variant(w, progress_names[static_cast<std::size_t>(simulation.progress)]);
  json_key(w, "stop");
  json_optional(w, simulation.stop, [](JsonWriter& out, const StopCondition& s) { serialize_stop_condition(s, out); });
  json_end_object(w);
}

void serialize_stop_condition(const StopCondition& stop, JsonWriter& w) {
  json_begin_object(w);
  json_key(w, "subject");
  serialize_subject(stop.subject, w);
  json_key(w, "comparison");
  json_unit_variant(w, comparison_names[static_cast<std::size_t>(stop.comparison)]);
  json_member_double(w, "value", stop.value);
  json_end_object(w);
}

void serialize_subject(const Subject& subject, JsonWriter& w) {
  json_begin_tagged(w, subject_variants[subject.kind.index()].name);
  serialize_subject_ids(subject, w);
  json_end_object(w);
}

void serialize_subject_ids(const Subject& subject, JsonWriter& w) {
  Ids ids = std::visit(IdsOf{}, subject.kind);
  std::span<const JsonMember> members = subject_ids[subject.kind.index()];
  for (std::size_t i = 0; i < members.size(); ++i) json_member_unsigned(w, members[i].key, ids[i]);
}

JsonStatus deserialize_simulation(JsonInput in, Simulation& out) {
  out = Simulation{};
  return read_record(in, simulation_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    switch (member) {
      case 0: return read_string(value, out.name);
      case 1: return read_list(value, out.reservoirs, read_u32);
      case 2: return read_list(value, out.processes, read_u32);
      case 3: return read_optional(value, out.step_seconds, read_f64);
      case 4: return deserialize_progress(value, out.progress);
      default: return deserialize_optional_stop_condition(value, out.stop);
    }
  });
}

JsonStatus deserialize_optional_simulation(JsonInput in, std::optional<Simulation>& out) {
  return read_optional(in, out, deserialize_simulation);
}

JsonStatus deserialize_stop_condition(JsonInput in, StopCondition& out) {
  out = StopCondition{};
  return read_record(in, stop_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    if (member == 0) return deserialize_subject(value, out.subject);
    if (member == 1) return deserialize_comparison(value, out.comparison);
    return read_f64(value, out.value);
  });
}

JsonStatus deserialize_optional_stop_condition(JsonInput in, std::optional<StopCondition>& out) {
  return read_optional(in, out, deserialize_stop_condition);
}

JsonStatus deserialize_subject(JsonInput in, Subject& out) {
  std::size_t variant = 0;
  auto status = read_internally_tagged(in, subject_enum, variant, [&](std::size_t chosen, JsonInput members) {
    return deserialize_subject_ids(chosen, members, subject_enum.type_name, true, out);
  });
  if (status) return status;
  if (variant == 0) out = Subject{Subject::Time{}};
  return std::nullopt;
}

JsonStatus deserialize_subject_ids(std::size_t variant, JsonInput in, std::string_view enum_name, bool array_form,
                                   Subject& out) {
  std::string expecting =
      "struct variant " + std::string(enum_name) + "::" + std::string(subject_variants[variant].type_name);
  JsonRecord record{expecting, subject_ids[variant], false, array_form};
  Ids ids{};
  auto status =
      read_record(in, record, [&](std::size_t member, JsonInput value) { return read_u32(value, ids[member]); });
  if (status) return status;
  out = subject_of(variant, ids);
  return std::nullopt;
}

JsonStatus deserialize_progress(JsonInput in, Progress& out) { return read_enum(in, progress_names, out); }

JsonStatus deserialize_comparison(JsonInput in, Comparison& out) { return read_enum(in, comparison_names, out); }

}  // namespace ovm::ir
