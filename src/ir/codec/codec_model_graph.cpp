#include "ir/codec/codec_model_graph.hpp"

#include "ir/codec/codec_backends.hpp"
#include "ir/codec/codec_header.hpp"
#include "ir/codec/codec_outputs.hpp"
#include "ir/codec/codec_parameter.hpp"
#include "ir/codec/codec_processes.hpp"
#include "ir/codec/codec_samples.hpp"
#include "ir/codec/codec_simulation.hpp"
#include "ir/codec/codec_substances.hpp"
#include "ir/json/json_record.hpp"

namespace ovm::ir {
namespace {

// The whole root has a record default, so neither form ever misses a member.
constexpr JsonMember graph_members[] = {
    {"meta", JsonPresence::Defaulted},        {"provenance", JsonPresence::Defaulted},
    {"conditions", JsonPresence::Defaulted},  {"parameters", JsonPresence::Defaulted},
    {"species", JsonPresence::Defaulted},     {"isotopes", JsonPresence::Defaulted},
    {"reservoirs", JsonPresence::Defaulted},  {"processes", JsonPresence::Defaulted},
    {"samples", JsonPresence::Defaulted},     {"identifications", JsonPresence::Defaulted},
    {"requires", JsonPresence::Defaulted},    {"backends", JsonPresence::Defaulted},
    {"simulation", JsonPresence::Defaulted},  {"outputs", JsonPresence::Defaulted},
    {"sampling_seconds", JsonPresence::Defaulted}, {"exports", JsonPresence::Defaulted},
};
constexpr JsonRecord graph_record{"struct ModelGraph", graph_members};

// A list member whose items are records, each written by its record's writer.
template <class T>
void member_records(JsonWriter& w, std::string_view key, const std::vector<T>& items,
                    void (*write)(const T&, JsonWriter&)) {
  json_member_list(w, key, items, [write](JsonWriter& out, const T& item) { write(item, out); });
}

}  // namespace

void serialize_model_graph(const ModelGraph& graph, JsonWriter& w) {
  json_begin_object(w);
  json_key(w, "meta");
  serialize_meta(graph.meta, w);
  json_key(w, "provenance");
  serialize_provenance(graph.provenance, w);
  json_key(w, "conditions");
  serialize_conditions(graph.conditions, w);
  member_records(w, "parameters", graph.parameters, serialize_parameter);
  member_records(w, "species", graph.species, serialize_species);
  member_records(w, "isotopes", graph.isotopes, serialize_isotope_system);
  member_records(w, "reservoirs", graph.reservoirs, serialize_reservoir);
  member_records(w, "processes", graph.processes, serialize_process);
  member_records(w, "samples", graph.samples, serialize_sample);
  member_records(w, "identifications", graph.identifications, serialize_identification);
  json_member_list(w, "requires", graph.requires_,
                   [](JsonWriter& out, const std::string& keyword) { json_string(out, keyword); });
  member_records(w, "backends", graph.backends, serialize_backend);
  json_key(w, "simulation");
  json_optional(w, graph.simulation, [](JsonWriter& out, const Simulation& simulation) {
    serialize_simulation(simulation, out);
  });
  member_records(w, "outputs", graph.outputs, serialize_output);
  json_member_optional_double(w, "sampling_seconds", graph.sampling_seconds);
  member_records(w, "exports", graph.exports, serialize_export);
  json_end_object(w);
}

JsonStatus deserialize_model_graph(JsonInput in, ModelGraph& out) {
  out = ModelGraph{};
  return read_record(in, graph_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    switch (member) {
      case 0: return deserialize_meta(value, out.meta);
      case 1: return deserialize_provenance(value, out.provenance);
      case 2: return deserialize_conditions(value, out.conditions);
      case 3: return deserialize_parameter_list(value, out.parameters);
      case 4: return deserialize_species_list(value, out.species);
      case 5: return deserialize_isotope_system_list(value, out.isotopes);
      case 6: return deserialize_reservoir_list(value, out.reservoirs);
      case 7: return deserialize_process_list(value, out.processes);
      case 8: return deserialize_sample_list(value, out.samples);
      case 9: return deserialize_identification_list(value, out.identifications);
      case 10: return read_list(value, out.requires_, read_string);
      case 11: return deserialize_backend_list(value, out.backends);
      case 12: return deserialize_optional_simulation(value, out.simulation);
      case 13: return deserialize_output_list(value, out.outputs);
      case 14: return read_optional(value, out.sampling_seconds, read_f64);
      default: return deserialize_export_list(value, out.exports);
    }
  });
}

std::variant<ModelGraph, JsonError> parse_model_graph(std::string_view text) {
  ModelGraph graph;
  if (auto error = read_json_document(text, [&](JsonInput in) { return deserialize_model_graph(in, graph); })) {
    return *error;
  }
  return graph;
}

}  // namespace ovm::ir
