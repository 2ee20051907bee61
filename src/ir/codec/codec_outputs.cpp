#include "ir/codec/codec_outputs.hpp"

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>
#include <type_traits>

#include "ir/codec/codec_parameter.hpp"
#include "ir/codec/codec_simulation.hpp"
#include "ir/json/json_enum.hpp"
#include "ir/json/json_record.hpp"
#include "ir/json/json_tagged.hpp"
#include "sema/property_table.hpp"

namespace ovm::ir {
namespace {

// The words of the language name the formats in the file too, in the enum's order.
constexpr auto& format_names = sema::property_lists::export_formats;

constexpr JsonMember output_members[] = {{"variable"}, {"label"}};
constexpr JsonRecord output_record{"struct Output", output_members};

constexpr JsonMember export_members[] = {{"format"}, {"path"}};
constexpr JsonRecord export_record{"struct Export", export_members};

// A subject's quantities, then the parameter.
constexpr auto variable_variants = [] {
  std::array<JsonVariant, std::size(subject_variants) + 1> all{};
  std::copy(std::begin(subject_variants), std::end(subject_variants), all.begin());
  all.back() = {"parameter", "Parameter"};
  return all;
}();
constexpr JsonEnum variable_enum{"Variable", variable_variants};
constexpr std::size_t parameter_variant = variable_variants.size() - 1;

// The quantity a variable names, unless it names a parameter.
std::optional<Subject> subject_of(const Variable& variable) {
  return std::visit(
      [](const auto& kind) -> std::optional<Subject> {
        if constexpr (std::is_same_v<std::decay_t<decltype(kind)>, Variable::Parameter>) {
          return std::nullopt;
        } else {
          return Subject{kind};
        }
      },
      variable.kind);
}

Variable variable_of(const Subject& subject) {
  return std::visit([](const auto& kind) { return Variable{kind}; }, subject.kind);
}

JsonStatus read_content(std::size_t variant, JsonInput content, Variable& out) {
  if (variant == parameter_variant) {
    Variable::Parameter parameter;
    if (auto error = deserialize_parameter_id(content, parameter.id)) return error;
    out.kind = parameter;
    return std::nullopt;
  }
  Subject quantity;
  if (auto error = deserialize_subject_ids(variant, content, variable_enum.type_name, false, quantity)) return error;
  out = variable_of(quantity);
  return std::nullopt;
}

}  // namespace

void serialize_output(const Output& output, JsonWriter& w) {
  json_begin_object(w);
  json_key(w, "variable");
  serialize_variable(output.variable, w);
  json_member_string(w, "label", output.label);
  json_end_object(w);
}

void serialize_variable(const Variable& variable, JsonWriter& w) {
  json_begin_tagged(w, variable_variants[variable.kind.index()].name);
  if (const auto* parameter = std::get_if<Variable::Parameter>(&variable.kind)) {
    json_content(w);
    serialize_parameter_id(parameter->id, w);
  } else if (!std::holds_alternative<Variable::Time>(variable.kind)) {
    json_content(w);
    json_begin_object(w);
    serialize_subject_ids(*subject_of(variable), w);
    json_end_object(w);
  }
  json_end_object(w);
}

void serialize_export(const Export& file, JsonWriter& w) {
  json_begin_object(w);
  json_key(w, "format");
  json_unit_variant(w, format_names[static_cast<std::size_t>(file.format)]);
  json_member_string(w, "path", file.path);
  json_end_object(w);
}

JsonStatus deserialize_output(JsonInput in, Output& out) {
  out = Output{};
  return read_record(in, output_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    if (member == 0) return deserialize_variable(value, out.variable);
    return read_string(value, out.label);
  });
}

JsonStatus deserialize_output_list(JsonInput in, std::vector<Output>& out) {
  return read_list(in, out, deserialize_output);
}

JsonStatus deserialize_variable(JsonInput in, Variable& out) {
  std::size_t variant = 0;
  auto status = read_adjacently_tagged(in, variable_enum, variant, [&](std::size_t chosen, JsonInput content) {
    return read_content(chosen, content, out);
  });
  if (status) return status;
  if (variant == 0) out = Variable{Variable::Time{}};
  return std::nullopt;
}

JsonStatus deserialize_export(JsonInput in, Export& out) {
  out = Export{};
  return read_record(in, export_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    if (member == 0) return deserialize_export_format(value, out.format);
    return read_string(value, out.path);
  });
}

JsonStatus deserialize_export_list(JsonInput in, std::vector<Export>& out) {
  return read_list(in, out, deserialize_export);
}

JsonStatus deserialize_export_format(JsonInput in, ExportFormat& out) { return read_enum(in, format_names, out); }

}  // namespace ovm::ir
