#include "ir/codec/codec_samples.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "codec_test_support.hpp"

namespace ovm::ir {
namespace {

using testing::read_into;
using testing::written;

struct MessageCase {
  std::string text;
  std::string outcome;
};

Sample full_sample() {
  return Sample{2, "S2", "Cr", {Composition{0, 0.1134}, Composition{1, 2}}, {1, 2.5}, 0.05, "basalt", "a\tb/é"};
}

Sample bare_sample() { return Sample{0, "S1", "Cr", {}, {}, {}, {}, {}}; }

Identification full_identification() {
  return Identification{"id1",     0, 1, IdentificationMode::Rayleigh, {"reduction", "mixing"}, "natural",
                        "KINETIC", 3, 0.2, 5, 0.5};
}

Identification bare_identification() {
  return Identification{"id0", 1, 0, IdentificationMode::Single, {}, {}, {}, {}, {}, {}, {}};
}

// Each value, written and read back, is the value again.
template <class T, class Write, class Read>
void expect_round_trips(const std::vector<T>& values, Write write, Read read) {
  for (const T& value : values) {
    std::string text = written(value, write);
    T back;
    EXPECT_EQ(read_into(text, back, read), "ok") << text;
    EXPECT_EQ(back, value) << text;
  }
}

TEST(CodecSamplesTest, SampleLayout) {
  EXPECT_EQ(written(full_sample(), serialize_sample), R"json({
  "id": 2,
  "name": "S2",
  "element": "Cr",
  "compositions": [
    {
      "isotope": 0,
      "ratio": 0.1134
    },
    {
      "isotope": 1,
      "ratio": 2.0
    }
  ],
  "series": [
    1.0,
    2.5
  ],
  "uncertainty_permil": 0.05,
  "material": "basalt",
  "note": "a\tb/é"
})json");
  EXPECT_EQ(written(bare_sample(), serialize_sample), R"json({
  "id": 0,
  "name": "S1",
  "element": "Cr",
  "compositions": [],
  "series": [],
  "uncertainty_permil": null,
  "material": null,
  "note": null
})json");
}

TEST(CodecSamplesTest, IdentificationLayout) {
  EXPECT_EQ(written(full_identification(), serialize_identification), R"json({
  "name": "id1",
  "source": 0,
  "product": 1,
  "mode": "rayleigh",
  "candidates": [
    "reduction",
    "mixing"
  ],
  "context": "natural",
  "regime": "KINETIC",
  "max_chain": 3,
  "tolerance_permil": 0.2,
  "top": 5,
  "extent": 0.5
})json");
  EXPECT_EQ(written(bare_identification(), serialize_identification), R"json({
  "name": "id0",
  "source": 1,
  "product": 0,
  "mode": "single",
  "candidates": [],
  "context": null,
  "regime": null,
  "max_chain": null,
  "tolerance_permil": null,
  "top": null,
  "extent": null
})json");
}

TEST(CodecSamplesTest, RoundTrips) {
  std::vector<Sample> samples{full_sample(), bare_sample()};
  Sample odd = full_sample();
  odd.id = 4294967295u;
  odd.element = "";
  odd.series = {-0.0, 1e16, 5e-324};
  odd.note = "\"quoted\"\n";
  samples.push_back(odd);
  expect_round_trips(samples, serialize_sample, deserialize_sample);

  std::vector<Identification> identifications{full_identification(), bare_identification()};
  for (int mode = 0; mode < 4; ++mode) {
    Identification identification = full_identification();
    identification.mode = static_cast<IdentificationMode>(mode);
    identification.max_chain = 4294967295u;
    identification.top = 0;
    identifications.push_back(identification);
  }
  expect_round_trips(identifications, serialize_identification, deserialize_identification);

  std::vector<Sample> list;
  std::string text =
      "[" + written(full_sample(), serialize_sample) + ", " + written(bare_sample(), serialize_sample) + "]";
  EXPECT_EQ(read_into(text, list, deserialize_sample_list), "ok");
  EXPECT_EQ(list, (std::vector<Sample>{full_sample(), bare_sample()}));
  std::vector<Identification> none{bare_identification()};
  EXPECT_EQ(read_into(" [] ", none, deserialize_identification_list), "ok");
  EXPECT_TRUE(none.empty());
}

// NaN and the infinities are written null: an optional number reads back absent, a series
// element cannot be read back at all.
TEST(CodecSamplesTest, NonFiniteNumbers) {
  constexpr double infinity = std::numeric_limits<double>::infinity();
  Sample sample = bare_sample();
  sample.uncertainty_permil = std::nan("");
  Sample back;
  EXPECT_EQ(read_into(written(sample, serialize_sample), back, deserialize_sample), "ok");
  EXPECT_EQ(back, bare_sample());

  sample.series = {1, -infinity};
  std::string text = written(sample, serialize_sample);
  EXPECT_NE(text.find("  \"series\": [\n    1.0,\n    null\n  ],\n  \"uncertainty_permil\": null,\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(read_into(text, back, deserialize_sample), "invalid type: null, expected f64 at line 8 column 8");

  Identification identification = bare_identification();
  identification.tolerance_permil = infinity;
  identification.extent = std::nan("");
  Identification read_back;
  EXPECT_EQ(read_into(written(identification, serialize_identification), read_back, deserialize_identification),
            "ok");
  EXPECT_EQ(read_back, bare_identification());
}

TEST(CodecSamplesTest, LenientSampleForms) {
  for (const std::string& text : {
           std::string(R"({"id": 0, "name": "S1", "element": "Cr", "compositions": [], "series": []})"),
           std::string(R"({"note": null, "material": null, "uncertainty_permil": null, "series": [], )"
                       R"("compositions": [], "element": "Cr", "name": "S1", "id": 0})"),
           std::string(R"([0, "S1", "Cr", [], [], null, null, null])"),
           std::string(R"({"comment": {"a": [1]}, "id": 0, "comment": 2, "name": "S1", "element": "Cr", )"
                       R"("compositions": [], "series": [], "uncertainty": 1})"),
       }) {
    Sample sample = full_sample();
    EXPECT_EQ(read_into(text, sample, deserialize_sample), "ok") << text;
    EXPECT_EQ(sample, bare_sample()) << text;
  }
  // Integers read as doubles; compositions in either form.
  Sample sample;
  EXPECT_EQ(read_into(R"([2, "S2", "Cr", [[0, 0.1134], {"ratio": 2, "isotope": 1}], [1, 2.5], 0.05, "basalt", )"
                      R"("a\tb\/\u00e9"])",
                      sample, deserialize_sample),
            "ok");
  EXPECT_EQ(sample, full_sample());
}

TEST(CodecSamplesTest, LenientIdentificationForms) {
  for (const std::string& text : {
           std::string(R"({"name": "id0", "source": 1, "product": 0, "mode": "single", "candidates": []})"),
           std::string(R"({"extent": null, "top": null, "tolerance_permil": null, "max_chain": null, "regime": null, )"
                       R"("context": null, "candidates": [], "mode": {"single": null}, "product": 0, "source": 1, )"
                       R"("name": "id0"})"),
           std::string(R"(["id0", 1, 0, "single", [], null, null, null, null, null, null])"),
           std::string(R"({"name": "id0", "kind": "x", "source": 1, "product": 0, "mode": "single", "kind": [[]], )"
                       R"("candidates": []})"),
       }) {
    Identification identification = full_identification();
    EXPECT_EQ(read_into(text, identification, deserialize_identification), "ok") << text;
    EXPECT_EQ(identification, bare_identification()) << text;
  }
  Identification identification;
  EXPECT_EQ(read_into(R"(["id1", 0, 1, {"rayleigh": null}, ["reduction", "mixing"], "natural", "KINETIC", 3, 0.2, )"
                      R"(5, 0.5])",
                      identification, deserialize_identification),
            "ok");
  EXPECT_EQ(identification, full_identification());
  EXPECT_EQ(read_into(R"({"name": "n", "source": 0, "product": 0, "mode": "hybrid", "candidates": ["x"], )"
                      R"("context": "Lab", "max_chain": 4294967295, "tolerance_permil": 1, "top": null})",
                      identification, deserialize_identification),
            "ok");
  EXPECT_EQ(identification, (Identification{"n", 0, 0, IdentificationMode::Hybrid, {"x"}, "Lab", {}, 4294967295u, 1.0,
                                            {}, {}}));
}

TEST(CodecSamplesTest, Modes) {
  struct ModeCase {
    std::string text;
    IdentificationMode expected;
  };
  for (const ModeCase& c : std::vector<ModeCase>{
           {R"("single")", IdentificationMode::Single},
           {R"("chain")", IdentificationMode::Chain},
           {R"({"rayleigh": null})", IdentificationMode::Rayleigh},
           {R"({"hybrid": null})", IdentificationMode::Hybrid},
       }) {
    IdentificationMode mode = IdentificationMode::Single;
    if (c.expected == IdentificationMode::Single) mode = IdentificationMode::Hybrid;
    EXPECT_EQ(read_into(c.text, mode, deserialize_identification_mode), "ok") << c.text;
    EXPECT_EQ(mode, c.expected) << c.text;
  }
  EXPECT_EQ(written(IdentificationMode::Chain, serialize_identification_mode), "\"chain\"");
}

TEST(CodecSamplesTest, SampleMessages) {
  for (const MessageCase& c : std::vector<MessageCase>{
           {"{}", "missing field `id` at line 1 column 2"},
           {R"({"id": 0, "name": "S", "series": []})", "missing field `element` at line 1 column 36"},
           {R"({"id": 0, "name": "S", "element": "Cr", "compositions": []})",
            "missing field `series` at line 1 column 59"},
           {R"({"compositions": [], "compositions": x})", "duplicate field `compositions` at line 1 column 35"},
           {R"({"series": [1, null]})", "invalid type: null, expected f64 at line 1 column 19"},
           {R"({"series": null})", "invalid type: null, expected a sequence at line 1 column 15"},
           {R"({"compositions": {}})", "invalid type: map, expected a sequence at line 1 column 17"},
           {R"({"compositions": [[0]]})",
            "invalid length 1, expected struct Composition with 2 elements at line 1 column 21"},
           {R"({"uncertainty_permil": true})", "invalid type: boolean `true`, expected f64 at line 1 column 27"},
           {R"({"element": null})", "invalid type: null, expected a string at line 1 column 16"},
           {R"({"material": 5})", "invalid type: integer `5`, expected a string at line 1 column 14"},
           {R"({"id": -3})", "invalid value: integer `-3`, expected u32 at line 1 column 9"},
           {R"([0, "S", "Cr", [], []])",
            "invalid length 5, expected struct Sample with 8 elements at line 1 column 22"},
           {R"("S1")", "invalid type: string \"S1\", expected struct Sample at line 1 column 4"},
       }) {
    Sample sample;
    EXPECT_EQ(read_into(c.text, sample, deserialize_sample), c.outcome) << c.text;
  }
  // The first element that fails ends the list.
  std::vector<Sample> list;
  EXPECT_EQ(read_into(R"([{"id": 0, "name": "S", "element": "Cr", "compositions": [], "series": []}, 3])", list,
                      deserialize_sample_list),
            "invalid type: integer `3`, expected struct Sample at line 1 column 77");
}

TEST(CodecSamplesTest, IdentificationMessages) {
  const std::string modes = "one of `single`, `chain`, `rayleigh`, `hybrid`";
  for (const MessageCase& c : std::vector<MessageCase>{
           {"{}", "missing field `name` at line 1 column 2"},
           {R"({"name": "i", "product": 0, "candidates": []})", "missing field `source` at line 1 column 45"},
           {R"({"mode": "Rayleigh"})", "unknown variant `Rayleigh`, expected " + modes + " at line 1 column 19"},
           {R"({"mode": {"Chain": null}})", "unknown variant `Chain`, expected " + modes + " at line 1 column 17"},
           {R"({"mode": {"chain": 1}})", "invalid type: integer `1`, expected unit at line 1 column 20"},
           {R"({"mode": null})", "expected a variant name at line 1 column 10"},
           {R"({"max_chain": 4294967296})", "invalid value: integer `4294967296`, expected u32 at line 1 column 24"},
           {R"({"max_chain": -1})", "invalid value: integer `-1`, expected u32 at line 1 column 16"},
           {R"({"top": 3.0})", "invalid type: floating point `3.0`, expected u32 at line 1 column 11"},
           {R"({"source": "0"})", "invalid type: string \"0\", expected u32 at line 1 column 14"},
           {R"({"candidates": ["a", 1]})", "invalid type: integer `1`, expected a string at line 1 column 22"},
           {R"({"candidates": null})", "invalid type: null, expected a sequence at line 1 column 19"},
           {R"({"context": 1})", "invalid type: integer `1`, expected a string at line 1 column 13"},
           {R"({"context": null, "context": "x"})", "duplicate field `context` at line 1 column 27"},
           {R"({"tolerance_permil": "0.2"})", "invalid type: string \"0.2\", expected f64 at line 1 column 26"},
           {R"(["i", 0, 1, "single", [], null, null, null, null, null])",
            "invalid length 10, expected struct Identification with 11 elements at line 1 column 55"},
           {R"(["i", 0, 1, "single", [], null, null, null, null, null, null, 0])",
            "trailing characters at line 1 column 63"},
           {R"("S1")", "invalid type: string \"S1\", expected struct Identification at line 1 column 4"},
       }) {
    Identification identification;
    EXPECT_EQ(read_into(c.text, identification, deserialize_identification), c.outcome) << c.text;
  }
}

}  // namespace
}  // namespace ovm::ir
