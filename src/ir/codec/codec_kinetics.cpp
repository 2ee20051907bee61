#include "ir/codec/codec_kinetics.hpp"

#include "ir/codec/codec_expr.hpp"
#include "ir/json/json_record.hpp"
#include "ir/json/json_tagged.hpp"

namespace ovm::ir {
namespace {

constexpr JsonMember fractionation_members[] = {{"isotope"}, {"factor"}, {"phase_permil", JsonPresence::Optional}};
constexpr JsonRecord fractionation_record{"struct Fractionation", fractionation_members};

constexpr JsonVariant factor_variants[] = {{"constant", "Constant"}, {"law", "Law"}, {"table", "Table"}};
constexpr JsonEnum factor_enum{"FractionationFactor", factor_variants};
// The content of the table variant is an object only.
constexpr JsonMember table_members[] = {{"path"}};
constexpr JsonRecord table_record{"struct variant FractionationFactor::Table", table_members, false, false};

constexpr JsonMember kinetics_members[] = {{"rate"}};
constexpr JsonRecord kinetics_record{"struct Kinetics", kinetics_members};

constexpr JsonVariant law_variants[] = {
    {"zero_order", "ZeroOrder"}, {"first_order", "FirstOrder"}, {"second_order", "SecondOrder"}, {"monod", "Monod"}};
constexpr JsonEnum law_enum{"RateLaw", law_variants};
constexpr JsonMember constant_members[] = {{"constant"}};
constexpr JsonMember monod_members[] = {{"constant"}, {"half_saturation"}};
constexpr JsonRecord law_records[] = {
    {"struct variant RateLaw::ZeroOrder", constant_members},
    {"struct variant RateLaw::FirstOrder", constant_members},
    {"struct variant RateLaw::SecondOrder", constant_members},
    {"struct variant RateLaw::Monod", monod_members},
};

JsonStatus read_factor_content(std::size_t variant, JsonInput in, FractionationFactor& out) {
  if (variant == 0) {
    FractionationFactor::Constant constant;
    if (auto error = read_f64(in, constant.alpha)) return error;
    out.kind = constant;
    return std::nullopt;
  }
  if (variant == 1) {
    FractionationFactor::Law law;
    if (auto error = deserialize_expr(in, law.expr)) return error;
    out.kind = std::move(law);
    return std::nullopt;
  }
  FractionationFactor::Table table;
  auto status =
      read_record(in, table_record, [&](std::size_t, JsonInput value) { return read_string(value, table.path); });
  if (status) return status;
  out.kind = std::move(table);
  return std::nullopt;
}

// A law's members lie in the text after its tag, or in the kept rest of its tagged value.
JsonStatus read_law_members(std::size_t variant, JsonInput members, RateLaw& out) {
  Expr constant;
  Expr half_saturation;
  auto status = read_record(members, law_records[variant], [&](std::size_t member, JsonInput value) {
    return deserialize_expr(value, member == 0 ? constant : half_saturation);
  });
  if (status) return status;
  switch (variant) {
    case 0: out.kind = RateLaw::ZeroOrder{std::move(constant)}; break;
    case 1: out.kind = RateLaw::FirstOrder{std::move(constant)}; break;
    case 2: out.kind = RateLaw::SecondOrder{std::move(constant)}; break;
    default: out.kind = RateLaw::Monod{std::move(constant), std::move(half_saturation)}; break;
  }
  return std::nullopt;
}

}  // namespace

void serialize_fractionation(const Fractionation& fractionation, JsonWriter& w) {
  json_begin_object(w);
  json_member_unsigned(w, "isotope", fractionation.isotope);
  json_key(w, "factor");
  serialize_fractionation_factor(fractionation.factor, w);
  json_member_optional_double(w, "phase_permil", fractionation.phase_permil);
  json_end_object(w);
}

void serialize_fractionation_factor(const FractionationFactor& factor, JsonWriter& w) {
  json_begin_tagged(w, factor_variants[factor.kind.index()].name);
  json_content(w);
  if (const auto* constant = std::get_if<FractionationFactor::Constant>(&factor.kind)) {
    json_double(w, constant->alpha);
  } else if (const auto* law = std::get_if<FractionationFactor::Law>(&factor.kind)) {
    serialize_expr(law->expr, w);
  } else {
    json_begin_object(w);
    json_member_string(w, "path", std::get<FractionationFactor::Table>(factor.kind).path);
    json_end_object(w);
  }
  json_end_object(w);
}

void serialize_kinetics(const Kinetics& kinetics, JsonWriter& w) {
  json_begin_object(w);
  json_key(w, "rate");
  serialize_rate_law(kinetics.rate, w);
  json_end_object(w);
}

void serialize_rate_law(const RateLaw& law, JsonWriter& w) {
  json_begin_tagged(w, law_variants[law.kind.index()].name);
  json_key(w, "constant");
  std::visit([&](const auto& variant) { serialize_expr(variant.constant, w); }, law.kind);
  if (const auto* monod = std::get_if<RateLaw::Monod>(&law.kind)) {
    json_key(w, "half_saturation");
    serialize_expr(monod->half_saturation, w);
  }
  json_end_object(w);
}

JsonStatus deserialize_fractionation(JsonInput in, Fractionation& out) {
  out = Fractionation{};
  return read_record(in, fractionation_record, [&](std::size_t member, JsonInput value) -> JsonStatus {
    if (member == 0) return read_u32(value, out.isotope);
    if (member == 1) return deserialize_fractionation_factor(value, out.factor);
    return read_optional(value, out.phase_permil, read_f64);
  });
}

JsonStatus deserialize_fractionation_list(JsonInput in, std::vector<Fractionation>& out) {
  return read_list(in, out, deserialize_fractionation);
}

JsonStatus deserialize_fractionation_factor(JsonInput in, FractionationFactor& out) {
  std::size_t variant = 0;
  return read_adjacently_tagged(in, factor_enum, variant, [&](std::size_t chosen, JsonInput content) {
    return read_factor_content(chosen, content, out);
  });
}

JsonStatus deserialize_kinetics(JsonInput in, Kinetics& out) {
  out = Kinetics{};
  return read_record(in, kinetics_record,
                     [&](std::size_t, JsonInput value) { return deserialize_rate_law(value, out.rate); });
}

JsonStatus deserialize_optional_kinetics(JsonInput in, std::optional<Kinetics>& out) {
  return read_optional(in, out, deserialize_kinetics);
}

JsonStatus deserialize_rate_law(JsonInput in, RateLaw& out) {
  std::size_t variant = 0;
  return read_internally_tagged(in, law_enum, variant, [&](std::size_t chosen, JsonInput members) {
    return read_law_members(chosen, members, out);
  });
}

}  // namespace ovm::ir
