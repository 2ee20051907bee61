#include "ir/codec/codec_substances.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "codec_test_support.hpp"

namespace ovm::ir {
namespace {

using testing::read_into;
using testing::read_kept_into;
using testing::written;

struct MessageCase {
  std::string text;
  std::string outcome;
};

constexpr double infinity = std::numeric_limits<double>::infinity();

TEST(CodecSubstancesTest, ReservoirLayout) {
  Reservoir reservoir{1, "R", Extent{Extent::Volume{2.5}}, 298.15, {}, {ParameterId{0}, ParameterId{4}}};
  reservoir.pools.push_back(Pool{0, Amount{Amount::Molality{0.25}}, {Composition{3, 0.11}}, {}});
  EXPECT_EQ(written(reservoir, serialize_reservoir),
            "{\n"
            "  \"id\": 1,\n"
            "  \"name\": \"R\",\n"
            "  \"extent\": {\n"
            "    \"kind\": \"volume\",\n"
            "    \"litres\": 2.5\n"
            "  },\n"
            "  \"temperature_k\": 298.15,\n"
            "  \"pools\": [\n"
            "    {\n"
            "      \"species\": 0,\n"
            "      \"amount\": {\n"
            "        \"kind\": \"molality\",\n"
            "        \"of\": 0.25\n"
            "      },\n"
            "      \"compositions\": [\n"
            "        {\n"
            "          \"isotope\": 3,\n"
            "          \"ratio\": 0.11\n"
            "        }\n"
            "      ]\n"
            "    }\n"
            "  ],\n"
            "  \"parameters\": [\n"
            "    0,\n"
            "    4\n"
            "  ]\n"
            "}");
  EXPECT_EQ(written(Extent{Extent::Mass{3}}, serialize_extent), "{\n  \"kind\": \"mass\",\n  \"kilograms\": 3.0\n}");
  EXPECT_EQ(written(Amount{Amount::MassConcentration{infinity}}, serialize_amount),
            "{\n  \"kind\": \"mass_concentration\",\n  \"of\": null\n}");
  Reservoir back;
  EXPECT_EQ(read_into(written(reservoir, serialize_reservoir), back, deserialize_reservoir), "ok");
  EXPECT_EQ(back, reservoir);
  Reservoir bare{0, "R", {}, {}, {}, {}};
  EXPECT_EQ(written(bare, serialize_reservoir),
            "{\n  \"id\": 0,\n  \"name\": \"R\",\n  \"extent\": null,\n  \"temperature_k\": null,\n  \"pools\": [],\n"
            "  \"parameters\": []\n}");
  EXPECT_EQ(read_into("{\"id\": 0, \"name\": \"R\", \"pools\": [], \"parameters\": []}", back, deserialize_reservoir),
            "ok");
  EXPECT_EQ(back, bare);
}

TEST(CodecSubstancesTest, SpeciesAndIsotopeSystems) {
  Species species;
  EXPECT_EQ(read_into("{\"id\": 0, \"formula\": \"Cr\"}", species, deserialize_species), "ok");
  EXPECT_EQ(species, (Species{0, "Cr", {}}));
  EXPECT_EQ(written(species, serialize_species), "{\n  \"id\": 0,\n  \"formula\": \"Cr\",\n  \"element\": null\n}");
  EXPECT_EQ(read_into("[0, \"Cr\", null]", species, deserialize_species), "ok");
  EXPECT_EQ(read_into("[0, \"Cr\"]", species, deserialize_species),
            "invalid length 2, expected struct Species with 3 elements at line 1 column 9");

  IsotopeSystem system{2, "53Cr/52Cr", "Cr", 53, 52, Standard{"SRM979", 0.113459, std::nan("")}, true};
  EXPECT_EQ(written(system, serialize_isotope_system),
            "{\n  \"id\": 2,\n  \"notation\": \"53Cr/52Cr\",\n  \"element\": \"Cr\",\n  \"heavy_mass\": 53,\n"
            "  \"light_mass\": 52,\n  \"standard\": {\n    \"name\": \"SRM979\",\n    \"ratio\": 0.113459,\n"
            "    \"uncertainty\": null\n  },\n  \"relative\": true\n}");
  IsotopeSystem back;
  EXPECT_EQ(read_into(written(system, serialize_isotope_system), back, deserialize_isotope_system), "ok");
  system.standard->uncertainty.reset();  // NaN is written null and reads back absent
  EXPECT_EQ(back, system);
  EXPECT_EQ(read_into("[2, \"53Cr/52Cr\", \"Cr\", 65535, 52, null, false]", back, deserialize_isotope_system), "ok");
  EXPECT_EQ(back, (IsotopeSystem{2, "53Cr/52Cr", "Cr", 65535, 52, {}, false}));
  EXPECT_EQ(read_into("{\"id\": 0}", back, deserialize_isotope_system), "missing field `notation` at line 1 column 9");

  auto kept = [](const std::string& text) {
    IsotopeSystem out;
    return read_kept_into(text, out, deserialize_isotope_system);
  };
  for (const MessageCase& c : std::vector<MessageCase>{
           {"[0, \"n\", \"Cr\", 65536, 52, null, false]", "invalid value: integer `65536`, expected u16"},
           {"[0, \"n\", \"Cr\", -1, 52, null, false]", "invalid value: integer `-1`, expected u16"},
           {"[0, \"n\", \"Cr\", 53.0, 52, null, false]", "invalid type: floating point `53.0`, expected u16"},
           {"[0, \"n\", \"Cr\", 53, 52, null, 1]", "invalid type: integer `1`, expected a boolean"},
           {"[0, \"n\", \"Cr\", 53, 52, [\"s\"], true]", "invalid length 1, expected struct Standard with 3 elements"},
       }) {
    EXPECT_EQ(kept(c.text), c.outcome) << c.text;
  }
}

TEST(CodecSubstancesTest, NonFiniteRequiredNumbersDoNotReadBack) {
  Standard standard;
  EXPECT_EQ(read_into(written(Standard{"S", infinity, {}}, serialize_standard), standard, deserialize_standard),
            "invalid type: null, expected f64 at line 3 column 15");
  Pool pool;
  std::string text = written(Pool{0, Amount{Amount::Molality{infinity}}, {}, {}}, serialize_pool);
  EXPECT_EQ(read_into(text, pool, deserialize_pool), "invalid type: null, expected f64 at line 5 column 14");
}

TEST(CodecSubstancesTest, Extents) {
  struct ExtentCase {
    std::string text;
    Extent expected;
  };
  for (const ExtentCase& c : std::vector<ExtentCase>{
           {"{\"litres\": 2.5, \"kind\": \"volume\"}", Extent{Extent::Volume{2.5}}},
           {"[\"mass\", 3]", Extent{Extent::Mass{3}}},
           {"{\"kind\": \"mass\", \"litres\": 1, \"kilograms\": -2}", Extent{Extent::Mass{-2}}},
       }) {
    Extent extent;
    EXPECT_EQ(read_into(c.text, extent, deserialize_extent), "ok") << c.text;
    EXPECT_EQ(extent, c.expected) << c.text;
  }
  for (const MessageCase& c : std::vector<MessageCase>{
           {"{\"kind\": \"volume\", \"litres\": \"x\"}", "invalid type: string \"x\", expected f64"},
           {"{\"kind\": \"volume\", \"kilograms\": 2}", "missing field `litres`"},
           {"[\"volume\"]", "invalid length 0, expected struct variant Extent::Volume with 1 element"},
           {"[\"volume\", 1, 2]", "invalid length 2, expected 1 element in sequence"},
           {"[]", "missing field `kind`"},
           {"{\"litres\": 1}", "missing field `kind`"},
           {"{\"kind\": \"Volume\"}", "unknown variant `Volume`, expected `volume` or `mass`"},
           {"{\"kind\": {\"volume\": null}}", "invalid type: map, expected variant identifier"},
           {"\"volume\"", "invalid type: string \"volume\", expected internally tagged enum Extent"},
           {"{\"kind\": \"volume\", \"kind\": \"volume\"}", "duplicate field `kind`"},
       }) {
    Extent extent;
    EXPECT_EQ(read_kept_into(c.text, extent, deserialize_extent), c.outcome) << c.text;
  }
  // Faults of the field are placed where the reservoir's reader stops after the extent.
  Reservoir reservoir;
  EXPECT_EQ(read_into("{\"id\": 0, \"extent\": {\"kind\": \"volume\"}, \"name\": \"R\"}", reservoir,
                      deserialize_reservoir),
            "missing field `litres` at line 1 column 38");
  EXPECT_EQ(read_into("{\"id\": 0, \"extent\": {\"kind\": \"volume\"}}", reservoir, deserialize_reservoir),
            "missing field `litres` at line 1 column 39");
  EXPECT_EQ(read_into("{\"id\": 0, \"name\": \"R\", \"pools\": []}", reservoir, deserialize_reservoir),
            "missing field `parameters` at line 1 column 35");
}

TEST(CodecSubstancesTest, Amounts) {
  struct AmountCase {
    std::string text;
    Amount expected;
  };
  for (const AmountCase& c : std::vector<AmountCase>{
           {"{\"of\": 0.5, \"kind\": \"molality\"}", Amount{Amount::Molality{0.5}}},
           {"{\"kind\": {\"mass_concentration\": null}, \"of\": 3}", Amount{Amount::MassConcentration{3}}},
           {"{\"kind\": \"molality\", \"note\": \"x\", \"of\": 1}", Amount{Amount::Molality{1}}},
           {"[\"molality\", 0.5]", Amount{Amount::Molality{0.5}}},
       }) {
    Amount amount;
    EXPECT_EQ(read_into(c.text, amount, deserialize_amount), "ok") << c.text;
    EXPECT_EQ(amount, c.expected) << c.text;
  }
  for (const MessageCase& c : std::vector<MessageCase>{
           {"{\"kind\": \"molality\"}", "missing field `of` at line 1 column 20"},
           {"{\"of\": 1}", "missing field `kind` at line 1 column 9"},
           {"{\"kind\": \"molality\", \"of\": 1, \"kind\": \"molality\"}", "duplicate field `kind` at line 1 column 36"},
           {"[]", "invalid length 0, expected adjacently tagged enum Amount at line 1 column 2"},
           {"[\"molality\"]", "invalid length 1, expected adjacently tagged enum Amount at line 1 column 12"},
           {"[{\"molality\": null}, 0.5]", "invalid type: map, expected variant identifier at line 1 column 1"},
           {"{\"kind\": \"moles\", \"of\": 1}",
            "unknown variant `moles`, expected `molality` or `mass_concentration` at line 1 column 16"},
           {"{\"kind\": \"molality\", \"of\": null}", "invalid type: null, expected f64 at line 1 column 31"},
       }) {
    Amount amount;
    EXPECT_EQ(read_into(c.text, amount, deserialize_amount), c.outcome) << c.text;
  }
}

TEST(CodecSubstancesTest, Compositions) {
  Composition composition;
  EXPECT_EQ(read_into("[3, 0.11]", composition, deserialize_composition), "ok");
  EXPECT_EQ(composition, (Composition{3, 0.11}));
  EXPECT_EQ(read_into("{\"ratio\": 0.11}", composition, deserialize_composition),
            "missing field `isotope` at line 1 column 15");
  std::vector<Composition> list;
  EXPECT_EQ(read_into("[[1, 2], {\"ratio\": 3, \"isotope\": 0}]", list, deserialize_composition_list), "ok");
  EXPECT_EQ(list, (std::vector<Composition>{{1, 2}, {0, 3}}));
}

}  // namespace
}  // namespace ovm::ir
