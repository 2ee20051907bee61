#include "ir/codec/codec_simulation.hpp"

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

struct SubjectCase {
  std::string text;
  Subject expected;
};

constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr std::uint32_t largest_id = 4294967295u;

Subject amount(ReservoirId reservoir, SpeciesId species) { return Subject{Subject::Amount{reservoir, species}}; }

Simulation bare_simulation() { return Simulation{"m", {}, {}, {}, Progress::Time, {}}; }

// A stop condition around `subject`, which starts at column 13.
std::string stop_with_subject(const std::string& subject) {
  return R"({"subject": )" + subject + R"(, "comparison": "less", "value": 1})";
}

TEST(CodecSimulationTest, Layouts) {
  StopCondition stop{amount(0, 1), Comparison::LessEqual, 0.25};
  Simulation batch{"batch", {0, 2}, {1}, 3600, Progress::Time, stop};
  EXPECT_EQ(written(batch, serialize_simulation), R"json({
  "name": "batch",
  "reservoirs": [
    0,
    2
  ],
  "processes": [
    1
  ],
  "step_seconds": 3600.0,
  "progress": "time",
  "stop": {
    "subject": {
      "kind": "amount",
      "reservoir": 0,
      "species": 1
    },
    "comparison": "less_equal",
    "value": 0.25
  }
})json");
  Simulation bare{"", {}, {}, {}, Progress::Extent, {}};
  EXPECT_EQ(written(bare, serialize_simulation), R"json({
  "name": "",
  "reservoirs": [],
  "processes": [],
  "step_seconds": null,
  "progress": "extent",
  "stop": null
})json");
  EXPECT_EQ(written(Subject{}, serialize_subject), "{\n  \"kind\": \"time\"\n}");
  EXPECT_EQ(written(Subject{Subject::PoolComposition{4, 5, 6}}, serialize_subject), R"json({
  "kind": "pool_composition",
  "reservoir": 4,
  "species": 5,
  "isotope": 6
})json");
  EXPECT_EQ(written(Subject{Subject::Composition{1, 2}}, serialize_subject),
            "{\n  \"kind\": \"composition\",\n  \"reservoir\": 1,\n  \"isotope\": 2\n}");
  EXPECT_EQ(written(Subject{Subject::FractionReacted{7, 8}}, serialize_subject),
            "{\n  \"kind\": \"fraction_reacted\",\n  \"reservoir\": 7,\n  \"species\": 8\n}");
  // A value or step that is not finite is written null.
  StopCondition endless{Subject{Subject::FractionRemaining{0, 0}}, Comparison::NotEqual, std::nan("")};
  EXPECT_EQ(written(endless, serialize_stop_condition), R"json({
  "subject": {
    "kind": "fraction_remaining",
    "reservoir": 0,
    "species": 0
  },
  "comparison": "not_equal",
  "value": null
})json");
  Simulation unstepped = bare_simulation();
  unstepped.step_seconds = -infinity;
  EXPECT_EQ(written(unstepped, serialize_simulation), R"json({
  "name": "m",
  "reservoirs": [],
  "processes": [],
  "step_seconds": null,
  "progress": "time",
  "stop": null
})json");
}

TEST(CodecSimulationTest, RoundTrips) {
  std::vector<Subject> subjects{
      Subject{},
      amount(0, largest_id),
      Subject{Subject::Composition{largest_id, 3}},
      Subject{Subject::PoolComposition{1, 2, 3}},
      Subject{Subject::FractionRemaining{5, 0}},
      Subject{Subject::FractionReacted{0, 9}},
  };
  std::vector<Simulation> simulations{bare_simulation()};
  for (std::size_t i = 0; i < subjects.size(); ++i) {
    Simulation s{"run \"" + std::to_string(i) + "\"\t\u00e9", {0, 3, largest_id}, {2, 1}, 0.5 * i, Progress::Extent,
                 StopCondition{subjects[i], static_cast<Comparison>(i), -1.5e-7}};
    simulations.push_back(s);
  }
  for (const Simulation& simulation : simulations) {
    std::string text = written(simulation, serialize_simulation);
    Simulation back = simulations.back();
    EXPECT_EQ(read_into(text, back, deserialize_simulation), "ok") << text;
    EXPECT_EQ(back, simulation) << text;
  }
  // A step that was not finite reads back as none.
  Simulation unstepped = bare_simulation();
  unstepped.step_seconds = infinity;
  Simulation back;
  EXPECT_EQ(read_into(written(unstepped, serialize_simulation), back, deserialize_simulation), "ok");
  EXPECT_EQ(back, bare_simulation());
}

TEST(CodecSimulationTest, LenientForms) {
  Simulation expected = bare_simulation();
  expected.progress = Progress::Extent;
  for (const std::string text : {
           R"({"name": "m", "reservoirs": [], "processes": [], "progress": "extent"})",
           R"({"stop": null, "progress": {"extent": null}, "step_seconds": null, "processes": [], )"
           R"("reservoirs": [], "name": "m"})",
           R"(["m", [], [], null, "extent", null])",
           R"({"x": {"y": [1]}, "name": "m", "x": 2, "reservoirs": [], "processes": [], "progress": "extent", )"
           R"("of": 3})",
           " \t\r\n[\"m\", [], [], null, {\"extent\": null}, null] \n",
       }) {
    Simulation back{"other", {1}, {2}, 3, Progress::Time, StopCondition{}};
    EXPECT_EQ(read_into(text, back, deserialize_simulation), "ok") << text;
    EXPECT_EQ(back, expected) << text;
  }
  Simulation full;
  EXPECT_EQ(read_into(R"(["m", [2, 0], [1], 60, "time", [["time"], {"greater": null}, 5]])", full,
                      deserialize_simulation),
            "ok");
  StopCondition greater{Subject{}, Comparison::Greater, 5};
  EXPECT_EQ(full, (Simulation{"m", {2, 0}, {1}, 60.0, Progress::Time, greater}));

  std::optional<Simulation> optional = bare_simulation();
  EXPECT_EQ(read_into(" null", optional, deserialize_optional_simulation), "ok");
  EXPECT_FALSE(optional);
  EXPECT_EQ(read_into(R"(["m", [], [], null, "time", null])", optional, deserialize_optional_simulation), "ok");
  EXPECT_EQ(optional, bare_simulation());
  std::optional<StopCondition> stop = StopCondition{};
  EXPECT_EQ(read_into("null", stop, deserialize_optional_stop_condition), "ok");
  EXPECT_FALSE(stop);
  EXPECT_EQ(read_into(R"({"value": 2, "comparison": "equal", "subject": ["amount", 1, 0]})", stop,
                      deserialize_optional_stop_condition),
            "ok");
  EXPECT_EQ(stop, (StopCondition{amount(1, 0), Comparison::Equal, 2.0}));
}

TEST(CodecSimulationTest, UnitEnums) {
  const std::string comparisons[] = {"less", "less_equal", "greater", "greater_equal", "equal", "not_equal"};
  for (std::size_t i = 0; i < std::size(comparisons); ++i) {
    Comparison comparison = Comparison::NotEqual;
    EXPECT_EQ(read_into("\"" + comparisons[i] + "\"", comparison, deserialize_comparison), "ok");
    EXPECT_EQ(comparison, static_cast<Comparison>(i));
    EXPECT_EQ(read_into("{\"" + comparisons[i] + "\": null}", comparison, deserialize_comparison), "ok");
    EXPECT_EQ(comparison, static_cast<Comparison>(i));
  }
  Progress progress = Progress::Time;
  EXPECT_EQ(read_into(R"({"extent": null})", progress, deserialize_progress), "ok");
  EXPECT_EQ(progress, Progress::Extent);
  EXPECT_EQ(read_into(R"("time")", progress, deserialize_progress), "ok");
  EXPECT_EQ(progress, Progress::Time);
  for (const MessageCase& c : std::vector<MessageCase>{
           {R"("Time")", "unknown variant `Time`, expected `time` or `extent` at line 1 column 6"},
           {R"({"clock": null})", "unknown variant `clock`, expected `time` or `extent` at line 1 column 8"},
           {R"({"time": 0})", "invalid type: integer `0`, expected unit at line 1 column 10"},
       }) {
    EXPECT_EQ(read_into(c.text, progress, deserialize_progress), c.outcome) << c.text;
  }
  Comparison comparison = Comparison::Less;
  EXPECT_EQ(read_into(R"("<=")", comparison, deserialize_comparison),
            "unknown variant `<=`, expected one of `less`, `less_equal`, `greater`, `greater_equal`, `equal`, "
            "`not_equal` at line 1 column 4");
}

TEST(CodecSimulationTest, SimulationMessages) {
  for (const MessageCase& c : std::vector<MessageCase>{
           {R"(["m", [], [], null])",
            "invalid length 4, expected struct Simulation with 6 elements at line 1 column 19"},
           {R"(["m", [], [], null, "time"])",
            "invalid length 5, expected struct Simulation with 6 elements at line 1 column 27"},
           {"[]", "invalid length 0, expected struct Simulation with 6 elements at line 1 column 2"},
           {R"(["m", [], [], null, "time", null, 1])", "trailing characters at line 1 column 35"},
           {R"({"reservoirs": [], "processes": []})", "missing field `name` at line 1 column 35"},
           {R"({"name": "m", "reservoirs": [], "processes": []})", "missing field `progress` at line 1 column 48"},
           {R"({"name": "m", "processes": [], "progress": "time"})",
            "missing field `reservoirs` at line 1 column 50"},
           {R"({"name": "m", "name": "n"})", "duplicate field `name` at line 1 column 20"},
           {R"({"stop": null, "stop": null})", "duplicate field `stop` at line 1 column 21"},
           {R"({"name": 1})", "invalid type: integer `1`, expected a string at line 1 column 10"},
           {R"({"reservoirs": 0})", "invalid type: integer `0`, expected a sequence at line 1 column 16"},
           {R"({"processes": [0, -1]})", "invalid value: integer `-1`, expected u32 at line 1 column 20"},
           {R"({"reservoirs": [4294967295, 4294967296]})",
            "invalid value: integer `4294967296`, expected u32 at line 1 column 38"},
           {R"({"processes": [1e0]})", "invalid type: floating point `1.0`, expected u32 at line 1 column 18"},
           {R"({"step_seconds": "60"})", "invalid type: string \"60\", expected f64 at line 1 column 21"},
           {R"({"progress": "clock"})", "unknown variant `clock`, expected `time` or `extent` at line 1 column 20"},
           {R"({"stop": 1})", "invalid type: integer `1`, expected struct StopCondition at line 1 column 10"},
           {R"({"stop": {"value": 1}})", "missing field `subject` at line 1 column 21"},
           {R"("m")", "invalid type: string \"m\", expected struct Simulation at line 1 column 3"},
       }) {
    Simulation back;
    EXPECT_EQ(read_into(c.text, back, deserialize_simulation), c.outcome) << c.text;
  }
  // A stop written from a value that was not finite cannot be read back.
  Simulation endless = bare_simulation();
  endless.stop = StopCondition{Subject{}, Comparison::Less, infinity};
  Simulation back;
  EXPECT_EQ(read_into(written(endless, serialize_simulation), back, deserialize_simulation),
            "invalid type: null, expected f64 at line 12 column 17");
}

TEST(CodecSimulationTest, StopConditionMessages) {
  for (const MessageCase& c : std::vector<MessageCase>{
           {"{}", "missing field `subject` at line 1 column 2"},
           {R"({"subject": {"kind": "time"}, "value": 1})", "missing field `comparison` at line 1 column 41"},
           {R"({"subject": {"kind": "time"}, "comparison": "less"})", "missing field `value` at line 1 column 51"},
           {R"([{"kind": "time"}, "less"])",
            "invalid length 2, expected struct StopCondition with 3 elements at line 1 column 26"},
           {R"([["time"], "less", 1, 2])", "trailing characters at line 1 column 23"},
           {R"([["time"], "less", null])", "invalid type: null, expected f64 at line 1 column 23"},
           {R"({"value": "1"})", "invalid type: string \"1\", expected f64 at line 1 column 13"},
           {R"({"value": true})", "invalid type: boolean `true`, expected f64 at line 1 column 14"},
           {R"([["time"], "below", 1])",
            "unknown variant `below`, expected one of `less`, `less_equal`, `greater`, `greater_equal`, `equal`, "
            "`not_equal` at line 1 column 18"},
           {R"({"comparison": {"equal": null}, "comparison": "equal"})",
            "duplicate field `comparison` at line 1 column 44"},
           {R"("less")", "invalid type: string \"less\", expected struct StopCondition at line 1 column 6"},
       }) {
    StopCondition back;
    EXPECT_EQ(read_into(c.text, back, deserialize_stop_condition), c.outcome) << c.text;
  }
  // A comparison that is neither a string nor an object, or an object of two names, is malformed.
  for (const MessageCase& c : std::vector<MessageCase>{
           {R"([["time"], 3, 1])", "expected a variant name at line 1 column 12"},
           {R"([["time"], {"less": null, "greater": null}, 1])", "expected `}` at line 1 column 25"},
       }) {
    StopCondition back;
    EXPECT_EQ(read_into(c.text, back, deserialize_stop_condition), c.outcome) << c.text;
  }
}

TEST(CodecSimulationTest, SubjectForms) {
  Subject pool{Subject::PoolComposition{1, 2, 3}};
  for (const SubjectCase& c : std::vector<SubjectCase>{
           {R"({"reservoir": 2, "species": 0, "kind": "amount"})", amount(2, 0)},
           {R"(["amount", 2, 0])", amount(2, 0)},
           {R"({"kind": "amount", "of": 7, "species": 0, "reservoir": 2, "isotope": [1]})", amount(2, 0)},
           {R"(["time"])", Subject{}},
           {R"({"kind": "time", "species": 4})", Subject{}},
           {R"({"reservoir": [1, {"x": null}], "kind": "time", "reservoir": 1})", Subject{}},
           {R"({"kind": "pool_composition", "isotope": 3, "species": 2, "reservoir": 1})", pool},
           {R"(["pool_composition", 1, 2, 3])", pool},
           {R"(["composition", 0, 4294967295])", Subject{Subject::Composition{0, largest_id}}},
           {R"({"isotope": 5, "kind": "composition", "reservoir": 6})", Subject{Subject::Composition{6, 5}}},
           {R"({"kind": "fraction_remaining", "species": 2, "reservoir": 1})",
            Subject{Subject::FractionRemaining{1, 2}}},
           {R"(["fraction_reacted", 3, 4])", Subject{Subject::FractionReacted{3, 4}}},
       }) {
    Subject subject = amount(9, 9);
    EXPECT_EQ(read_into(c.text, subject, deserialize_subject), "ok") << c.text;
    EXPECT_EQ(subject, c.expected) << c.text;
    StopCondition stop;
    EXPECT_EQ(read_into(stop_with_subject(c.text), stop, deserialize_stop_condition), "ok") << c.text;
    EXPECT_EQ(stop, (StopCondition{c.expected, Comparison::Less, 1.0})) << c.text;
  }
}

// The ids are read from the kept subject: their faults have no place of their own.
TEST(CodecSimulationTest, SubjectIdMessages) {
  for (const MessageCase& c : std::vector<MessageCase>{
           {R"(["amount", 2])", "invalid length 1, expected struct variant Subject::Amount with 2 elements"},
           {R"(["amount", 2, 0, 5])", "invalid length 3, expected 2 elements in sequence"},
           {R"(["time", 0])", "invalid length 1, expected 0 elements in sequence"},
           {R"(["composition"])", "invalid length 0, expected struct variant Subject::Composition with 2 elements"},
           {R"(["pool_composition", 1, 2])",
            "invalid length 2, expected struct variant Subject::PoolComposition with 3 elements"},
           {R"(["pool_composition", 1, 2, 3, 4])", "invalid length 4, expected 3 elements in sequence"},
           {R"(["fraction_remaining", 0])",
            "invalid length 1, expected struct variant Subject::FractionRemaining with 2 elements"},
           {R"(["fraction_reacted", 0])",
            "invalid length 1, expected struct variant Subject::FractionReacted with 2 elements"},
           {R"({"kind": "amount", "of": {"reservoir": 0, "species": 1}})", "missing field `reservoir`"},
           {R"({"kind": "amount", "reservoir": 0})", "missing field `species`"},
           {R"({"kind": "pool_composition", "species": 1, "reservoir": 0})", "missing field `isotope`"},
           {R"({"kind": "composition", "reservoir": 0, "species": 1})", "missing field `isotope`"},
           {R"({"kind": "amount", "reservoir": 0, "reservoir": 1, "species": 1})", "duplicate field `reservoir`"},
           {R"({"kind": "amount", "reservoir": -1, "species": 0})", "invalid value: integer `-1`, expected u32"},
           {R"({"kind": "amount", "reservoir": 1.0, "species": 0})",
            "invalid type: floating point `1.0`, expected u32"},
           {R"(["composition", 0, 4294967296])", "invalid value: integer `4294967296`, expected u32"},
           {R"(["composition", 0, "1"])", "invalid type: string \"1\", expected u32"},
           {R"(["composition", 0, null])", "invalid type: null, expected u32"},
           {R"(["composition", 0, [1]])", "invalid type: sequence, expected u32"},
           {"[]", "missing field `kind`"},
           {R"({"reservoir": 0})", "missing field `kind`"},
           {R"({"kind": "time", "kind": "time"})", "duplicate field `kind`"},
           {R"({"kind": {"amount": null}, "reservoir": 0, "species": 1})",
            "invalid type: map, expected variant identifier"},
           {R"({"kind": "Amount"})",
            "unknown variant `Amount`, expected one of `time`, `amount`, `composition`, `pool_composition`, "
            "`fraction_remaining`, `fraction_reacted`"},
           {R"("time")", "invalid type: string \"time\", expected internally tagged enum Subject"},
       }) {
    Subject subject;
    EXPECT_EQ(read_kept_into(c.text, subject, deserialize_subject), c.outcome) << c.text;
  }
}

TEST(CodecSimulationTest, SubjectMessagesInAStopCondition) {
  for (const MessageCase& c : std::vector<MessageCase>{
           // The tag's own faults stand where they arise.
           {R"({"kind": 1})", "invalid type: integer `1`, expected variant identifier at line 1 column 22"},
           {R"({"kind": {"amount": null}})", "invalid type: map, expected variant identifier at line 1 column 21"},
           {R"([null, 0, 1])", "invalid type: null, expected variant identifier at line 1 column 17"},
           {R"({"kind": "Amount"})",
            "unknown variant `Amount`, expected one of `time`, `amount`, `composition`, `pool_composition`, "
            "`fraction_remaining`, `fraction_reacted` at line 1 column 29"},
           {"[]", "missing field `kind` at line 1 column 14"},
           {R"({"reservoir": 0})", "missing field `kind` at line 1 column 28"},
           {R"({"kind": "time", "kind": "time"})", "duplicate field `kind` at line 1 column 35"},
           {R"("time")", "invalid type: string \"time\", expected internally tagged enum Subject at line 1 column 18"},
           // The ids' faults are placed at the subject's closing bracket, which another member follows.
           {R"({"kind": "amount", "reservoir": 2})", "missing field `species` at line 1 column 46"},
           {R"(["amount", 2, 0, 5])", "invalid length 3, expected 2 elements in sequence at line 1 column 31"},
           {R"({"kind": "amount", "reservoir": -1, "species": 0})",
            "invalid value: integer `-1`, expected u32 at line 1 column 61"},
       }) {
    StopCondition stop;
    EXPECT_EQ(read_into(stop_with_subject(c.text), stop, deserialize_stop_condition), c.outcome) << c.text;
  }
  // As the last member, at the stop condition's own closing brace.
  StopCondition stop;
  EXPECT_EQ(read_into("{\"value\": 1, \"comparison\": \"less\", \"subject\": [\"amount\", -1, 0]\n}", stop,
                      deserialize_stop_condition),
            "invalid value: integer `-1`, expected u32 at line 2 column 1");
  // As the root, where the document's reader stops: after the subject.
  Subject subject;
  EXPECT_EQ(read_into(R"({"kind": "amount", "reservoir": 1.5, "species": 0} )", subject, deserialize_subject),
            "invalid type: floating point `1.5`, expected u32 at line 1 column 50");
}

}  // namespace
}  // namespace ovm::ir
