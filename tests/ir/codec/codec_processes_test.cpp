#include "ir/codec/codec_processes.hpp"

#include <gtest/gtest.h>

#include <cmath>
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

struct KindCase {
  std::string text;
  ProcessKind expected;
};

Process full_process() {
  Process process;
  process.id = 3;
  process.name = "reduce";
  process.kind.kind = ProcessKind::Transfer{0, 1, Mechanism::Reduction};
  process.location = 2;
  process.from = 0;
  process.into = 1;
  process.extent = constant_expr(0.5);
  process.context = Context::Natural;
  process.regime = Regime::Kinetic;
  process.fractionations.push_back(Fractionation{0, FractionationFactor{FractionationFactor::Constant{0.998}}, 1.5});
  process.kinetics = Kinetics{RateLaw{RateLaw::FirstOrder{parameter_expr(ParameterId{4})}}};
  process.parameters = {ParameterId{4}, ParameterId{5}};
  return process;
}

Process bare_process() {
  Process process;
  process.name = "p";
  process.kind.kind = ProcessKind::Uptake{1, 2};
  process.open_system = true;
  return process;
}

// The members a process must have, around a kind given as text; the kind is followed by
// another member, so faults of its fields are placed at its own closing brace.
std::string process_with_kind(const std::string& kind) {
  return "{\"kind\": " + kind +
         ", \"id\": 0, \"name\": \"p\", \"fractionations\": [], \"parameters\": [], "
         "\"open_system\": false}";
}

TEST(CodecProcessesTest, Layout) {
  EXPECT_EQ(written(full_process(), serialize_process), R"json({
  "id": 3,
  "name": "reduce",
  "kind": {
    "kind": "transfer",
    "reactant": 0,
    "product": 1,
    "mode": "reduction"
  },
  "location": 2,
  "from": 0,
  "into": 1,
  "extent": {
    "kind": "constant",
    "of": 0.5
  },
  "context": "natural",
  "regime": "kinetic",
  "fractionations": [
    {
      "isotope": 0,
      "factor": {
        "kind": "constant",
        "of": 0.998
      },
      "phase_permil": 1.5
    }
  ],
  "kinetics": {
    "rate": {
      "kind": "first_order",
      "constant": {
        "kind": "parameter",
        "of": 4
      }
    }
  },
  "parameters": [
    4,
    5
  ],
  "open_system": false
})json");
  EXPECT_EQ(written(bare_process(), serialize_process), R"json({
  "id": 0,
  "name": "p",
  "kind": {
    "kind": "uptake",
    "reactant": 1,
    "sorbent": 2
  },
  "location": null,
  "from": null,
  "into": null,
  "extent": null,
  "context": null,
  "regime": null,
  "fractionations": [],
  "kinetics": null,
  "parameters": [],
  "open_system": true
})json");
}

TEST(CodecProcessesTest, KindLayouts) {
  ProcessKind mixing{ProcessKind::Mixing{{MixingSource{0, 0.25}, MixingSource{1, std::nan("")}}, 2}};
  EXPECT_EQ(written(mixing, serialize_process_kind), R"json({
  "kind": "mixing",
  "sources": [
    {
      "reservoir": 0,
      "fraction": 0.25
    },
    {
      "reservoir": 1,
      "fraction": null
    }
  ],
  "product": 2
})json");
  EXPECT_EQ(written(ProcessKind{ProcessKind::Mixing{{}, 0}}, serialize_process_kind),
            "{\n  \"kind\": \"mixing\",\n  \"sources\": [],\n  \"product\": 0\n}");
  EXPECT_EQ(written(ProcessKind{ProcessKind::Adsorption{4, 5}}, serialize_process_kind),
            "{\n  \"kind\": \"adsorption\",\n  \"reactant\": 4,\n  \"sorbent\": 5\n}");
  EXPECT_EQ(written(ProcessKind{ProcessKind::Exchange{6, 7}}, serialize_process_kind),
            "{\n  \"kind\": \"exchange\",\n  \"phase_a\": 6,\n  \"phase_b\": 7\n}");
  EXPECT_EQ(written(ProcessKind{ProcessKind::Transfer{0, 1, Mechanism::LigandExchange}}, serialize_process_kind),
            "{\n  \"kind\": \"transfer\",\n  \"reactant\": 0,\n  \"product\": 1,\n  \"mode\": \"ligand_exchange\"\n}");
}

TEST(CodecProcessesTest, RoundTrips) {
  std::vector<Process> processes{full_process(), bare_process()};
  for (int mechanism = 0; mechanism < 7; ++mechanism) {
    Process p = full_process();
    p.kind.kind = ProcessKind::Transfer{4294967295u, 0, static_cast<Mechanism>(mechanism)};
    processes.push_back(p);
  }
  for (int context = 0; context < 4; ++context) {
    Process p = bare_process();
    p.context = static_cast<Context>(context);
    p.regime = static_cast<Regime>(context % 2);
    processes.push_back(p);
  }
  Process mixing = bare_process();
  mixing.kind.kind = ProcessKind::Mixing{{MixingSource{0, 0.25}, MixingSource{3, 0.75}}, 2};
  mixing.kinetics = Kinetics{RateLaw{RateLaw::Monod{constant_expr(1), Expr(Expr::Time{})}}};
  processes.push_back(mixing);
  Process adsorption = bare_process();
  adsorption.kind.kind = ProcessKind::Adsorption{8, 9};
  adsorption.extent = Expr(Expr::Temperature{});
  processes.push_back(adsorption);
  Process exchange = full_process();
  exchange.kind.kind = ProcessKind::Exchange{1, 0};
  processes.push_back(exchange);
  for (const Process& process : processes) {
    std::string text = written(process, serialize_process);
    Process back;
    EXPECT_EQ(read_into(text, back, deserialize_process), "ok") << text;
    EXPECT_EQ(back, process) << text;
  }
  std::vector<Process> list;
  EXPECT_EQ(read_into("[]", list, deserialize_process_list), "ok");
  EXPECT_TRUE(list.empty());
}

TEST(CodecProcessesTest, LenientForms) {
  // Only the required members: the seven optional ones read as absent.
  const std::string required =
      "{\"id\": 0, \"name\": \"p\", \"kind\": {\"kind\": \"uptake\", \"reactant\": 1, \"sorbent\": 2}, "
      "\"fractionations\": [], \"parameters\": [], \"open_system\": true}";
  const std::string reversed =
      "{\"open_system\": true, \"parameters\": [], \"kinetics\": null, \"fractionations\": [], \"regime\": null, "
      "\"context\": null, \"extent\": null, \"into\": null, \"from\": null, \"location\": null, "
      "\"kind\": [\"uptake\", 1, 2], \"name\": \"p\", \"id\": 0}";
  const std::string array =
      "[0, \"p\", {\"sorbent\": 2, \"reactant\": 1, \"kind\": \"uptake\"}, null, null, null, null, "
      "null, null, [], null, [], true]";
  const std::string unknown =
      "{\"note\": {\"a\": [1]}, \"id\": 0, \"note\": 2, \"name\": \"p\", \"kind\": [\"uptake\", 1, 2], "
      "\"fractionations\": [], \"parameters\": [], \"open_system\": true, \"kinetic\": \"x\"}";
  for (const std::string& text : {required, reversed, array, unknown}) {
    Process process = full_process();
    EXPECT_EQ(read_into(text, process, deserialize_process), "ok") << text;
    EXPECT_EQ(process, bare_process()) << text;
  }
  Process process;
  EXPECT_EQ(read_into("[3, \"reduce\", [\"transfer\", 0, 1, {\"reduction\": null}], 2, 0, 1, [\"constant\", 0.5], "
                      "{\"natural\": null}, \"kinetic\", [[0, [\"constant\", 0.998], 1.5]], "
                      "[[\"first_order\", [\"parameter\", 4]]], [4, 5], false]",
                      process, deserialize_process),
            "ok");
  EXPECT_EQ(process, full_process());
}

TEST(CodecProcessesTest, ContextAndRegime) {
  struct RegimeCase {
    std::string member;
    std::optional<Regime> expected;
  };
  for (const RegimeCase& c : std::vector<RegimeCase>{
           {", \"regime\": \"kinetic\"", Regime::Kinetic},
           {", \"regime\": {\"equilibrium\": null}", Regime::Equilibrium},
           {", \"regime\": null", std::nullopt},
           {"", std::nullopt},
       }) {
    Process process = full_process();
    std::string text = process_with_kind("[\"uptake\", 1, 2]");
    text.insert(text.size() - 1, c.member);
    EXPECT_EQ(read_into(text, process, deserialize_process), "ok") << text;
    EXPECT_EQ(process.regime, c.expected) << text;
  }
  for (const MessageCase& c : std::vector<MessageCase>{
           {"{\"regime\": {\"kinetic\": {}}}", "invalid type: map, expected unit at line 1 column 23"},
           {"{\"regime\": \"Kinetic\"}",
            "unknown variant `Kinetic`, expected `equilibrium` or `kinetic` at line 1 column 20"},
           {"{\"context\": \"lab\"}",
            "unknown variant `lab`, expected one of `pyrometallurgy`, `hydrometallurgy`, `natural`, `biotic` at line 1 "
            "column 17"},
           {"{\"context\": {\"lab\": null}}",
            "unknown variant `lab`, expected one of `pyrometallurgy`, `hydrometallurgy`, `natural`, `biotic` at line 1 "
            "column 18"},
       }) {
    Process process;
    EXPECT_EQ(read_into(c.text, process, deserialize_process), c.outcome) << c.text;
  }
}

TEST(CodecProcessesTest, ProcessMessages) {
  for (const MessageCase& c : std::vector<MessageCase>{
           {"{\"id\": 0, \"name\": \"p\", \"kind\": [\"uptake\", 1, 2], \"fractionations\": [], \"parameters\": []}",
            "missing field `open_system` at line 1 column 88"},
           {"{\"id\": 0, \"kind\": [\"uptake\", 1, 2], \"fractionations\": [], \"open_system\": true}",
            "missing field `name` at line 1 column 78"},
           {"{}", "missing field `id` at line 1 column 2"},
           {"{\"id\": 0, \"name\": \"p\", \"fractionations\": []}", "missing field `kind` at line 1 column 44"},
           {"{\"location\": null, \"location\": 1}", "duplicate field `location` at line 1 column 29"},
           {"{\"open_system\": 1}", "invalid type: integer `1`, expected a boolean at line 1 column 17"},
           {"{\"id\": 2.0}", "invalid type: floating point `2.0`, expected u32 at line 1 column 10"},
           {"{\"id\": 4294967296}", "invalid value: integer `4294967296`, expected u32 at line 1 column 17"},
           {"{\"from\": -1}", "invalid value: integer `-1`, expected u32 at line 1 column 11"},
           {"{\"parameters\": [0, 1.5]}", "invalid type: floating point `1.5`, expected u32 at line 1 column 22"},
           {"{\"fractionations\": {}}", "invalid type: map, expected a sequence at line 1 column 19"},
           {"{\"kinetics\": {}}", "missing field `rate` at line 1 column 15"},
           {"{\"extent\": 0.5}",
            "invalid type: floating point `0.5`, expected adjacently tagged enum Expr at line 1 column 14"},
           {"[0, \"p\", [\"uptake\", 1, 2], null, null, null, null, null, null, [], null, []]",
            "invalid length 12, expected struct Process with 13 elements at line 1 column 76"},
           {"[0, \"p\", [\"uptake\", 1, 2], null, null, null, null, null, null, [], null, [], true, 1]",
            "trailing characters at line 1 column 84"},
           {"[0, \"p\"]", "invalid length 2, expected struct Process with 13 elements at line 1 column 8"},
           {"\"p\"", "invalid type: string \"p\", expected struct Process at line 1 column 3"},
       }) {
    Process process;
    EXPECT_EQ(read_into(c.text, process, deserialize_process), c.outcome) << c.text;
  }
}

TEST(CodecProcessesTest, KindForms) {
  ProcessKind transfer{ProcessKind::Transfer{1, 2, Mechanism::Oxidation}};
  ProcessKind reduction{ProcessKind::Transfer{1, 2, Mechanism::Reduction}};
  ProcessKind mixing{ProcessKind::Mixing{{MixingSource{0, 0.5}, MixingSource{1, 1.0}}, 2}};
  for (const KindCase& c : std::vector<KindCase>{
           {"[\"transfer\", 1, 2, \"oxidation\"]", transfer},
           {"{\"reactant\": 1, \"sorbent\": 9, \"product\": 2, \"mode\": \"oxidation\", \"kind\": \"transfer\"}",
            transfer},
           {"{\"kind\": \"transfer\", \"reactant\": 1, \"product\": 2, \"mode\": \"reduction\"}", reduction},
           {"{\"kind\": \"transfer\", \"reactant\": 1, \"product\": 2, \"mode\": {\"reduction\": null}}", reduction},
           {"{\"kind\": \"transfer\", \"reactant\": 1, \"product\": 2, \"mode\": {\"reduction\": {}}}", reduction},
           {"{\"kind\": \"mixing\", \"sources\": [[0, 0.5], {\"fraction\": 1, \"reservoir\": 1}], \"product\": 2}",
            mixing},
           {"[\"mixing\", [{\"reservoir\": 0, \"note\": null, \"fraction\": 0.5}, [1, 1]], 2]", mixing},
           {"{\"kind\": \"mixing\", \"sources\": [], \"product\": 0}", ProcessKind{ProcessKind::Mixing{{}, 0}}},
           {"{\"kind\": \"adsorption\", \"sorbent\": 5, \"reactant\": 4}", ProcessKind{ProcessKind::Adsorption{4, 5}}},
           {"[\"uptake\", 4, 5]", ProcessKind{ProcessKind::Uptake{4, 5}}},
           {"{\"phase_b\": 7, \"phase_a\": 6, \"kind\": \"exchange\", \"reactant\": 1}",
            ProcessKind{ProcessKind::Exchange{6, 7}}},
       }) {
    Process process = full_process();
    EXPECT_EQ(read_into(process_with_kind(c.text), process, deserialize_process), "ok") << c.text;
    EXPECT_EQ(process.kind, c.expected) << c.text;
  }
}

// The fields of a kind are read from its kept rest: their faults have no place of their own.
TEST(CodecProcessesTest, KindFieldMessages) {
  const std::string mechanisms =
      "one of `reduction`, `oxidation`, `dissolution`, `precipitation`, `evaporation`, `diffusion`, "
      "`ligand_exchange`";
  for (const MessageCase& c : std::vector<MessageCase>{
           {"[\"transfer\", 1, 2]", "invalid length 2, expected struct variant ProcessKind::Transfer with 3 elements"},
           {"[\"transfer\", 1, 2, \"oxidation\", 4]", "invalid length 4, expected 3 elements in sequence"},
           {"[\"mixing\", []]", "invalid length 1, expected struct variant ProcessKind::Mixing with 2 elements"},
           {"[\"adsorption\"]", "invalid length 0, expected struct variant ProcessKind::Adsorption with 2 elements"},
           {"[\"uptake\", 1]", "invalid length 1, expected struct variant ProcessKind::Uptake with 2 elements"},
           {"[\"exchange\", 1, 2, 3]", "invalid length 3, expected 2 elements in sequence"},
           {"{\"kind\": \"exchange\", \"phase_b\": 1}", "missing field `phase_a`"},
           {"{\"kind\": \"transfer\"}", "missing field `reactant`"},
           {"{\"kind\": \"transfer\", \"reactant\": 0, \"product\": 1}", "missing field `mode`"},
           {"{\"kind\": \"mixing\", \"product\": 1}", "missing field `sources`"},
           {"{\"kind\": \"uptake\", \"reactant\": 0, \"reactant\": 1}", "duplicate field `reactant`"},
           {"{\"kind\": \"uptake\", \"reactant\": 1.0, \"sorbent\": 1}",
            "invalid type: floating point `1.0`, expected u32"},
           {"{\"kind\": \"uptake\", \"reactant\": -1, \"sorbent\": 1}", "invalid value: integer `-1`, expected u32"},
           {"[\"exchange\", 4294967296, 0]", "invalid value: integer `4294967296`, expected u32"},
           {"[\"exchange\", \"1\", 0]", "invalid type: string \"1\", expected u32"},
           {"[\"transfer\", 0, 1, {}]", "invalid value: map, expected map with a single key"},
           {"[\"transfer\", 0, 1, {\"reduction\": null, \"oxidation\": null}]",
            "invalid value: map, expected map with a single key"},
           {"[\"transfer\", 0, 1, {\"reduction\": 1}]", "invalid type: integer `1`, expected unit"},
           {"[\"transfer\", 0, 1, {\"reduction\": []}]", "invalid type: sequence, expected unit"},
           {"[\"transfer\", 0, 1, 5]", "invalid type: integer `5`, expected string or map"},
           {"[\"transfer\", 0, 1, \"melting\"]", "unknown variant `melting`, expected " + mechanisms},
           {"[\"transfer\", 0, 1, {\"Reduction\": null}]", "unknown variant `Reduction`, expected " + mechanisms},
           {"[\"mixing\", {\"reservoir\": 0}, 1]", "invalid type: map, expected a sequence"},
           {"[\"mixing\", [[0]], 1]", "invalid length 1, expected struct MixingSource with 2 elements"},
           {"[\"mixing\", [[0, 0.5, 1]], 1]", "invalid length 3, expected 2 elements in sequence"},
           {"[\"mixing\", [\"r\"], 1]", "invalid type: string \"r\", expected struct MixingSource"},
           {"[\"mixing\", [{}], 1]", "missing field `reservoir`"},
           {"[\"mixing\", [{\"reservoir\": 0}], 1]", "missing field `fraction`"},
           {"[\"mixing\", [{\"fraction\": 1, \"fraction\": 2}], 1]", "duplicate field `fraction`"},
           {"[\"mixing\", [[0, null]], 1]", "invalid type: null, expected f64"},
           {"[\"mixing\", [[0, \"0.5\"]], 1]", "invalid type: string \"0.5\", expected f64"},
           {"[\"mixing\", [[0.0, 0.5]], 1]", "invalid type: floating point `0.0`, expected u32"},
           {"\"transfer\"", "invalid type: string \"transfer\", expected internally tagged enum ProcessKind"},
           {"[]", "missing field `kind`"},
           {"{\"reactant\": 1}", "missing field `kind`"},
           {"{\"kind\": \"Transfer\"}",
            "unknown variant `Transfer`, expected one of `transfer`, `mixing`, `adsorption`, `uptake`, `exchange`"},
       }) {
    ProcessKind kind;
    EXPECT_EQ(read_kept_into(c.text, kind, deserialize_process_kind), c.outcome) << c.text;
  }
}

TEST(CodecProcessesTest, KindMessagesInAProcess) {
  for (const MessageCase& c : std::vector<MessageCase>{
           // The tag's own faults stand where they arise.
           {"1", "invalid type: integer `1`, expected internally tagged enum ProcessKind at line 1 column 10"},
           {"{\"kind\": 1}", "invalid type: integer `1`, expected variant identifier at line 1 column 19"},
           {"{\"kind\": {\"transfer\": null}}", "invalid type: map, expected variant identifier at line 1 column 18"},
           {"[null, 1, 2]", "invalid type: null, expected variant identifier at line 1 column 14"},
           {"{\"kind\": \"swap\"}",
            "unknown variant `swap`, expected one of `transfer`, `mixing`, `adsorption`, `uptake`, `exchange` at line "
            "1 "
            "column 24"},
           {"{\"kind\": \"uptake\", \"kind\": \"uptake\"}", "duplicate field `kind` at line 1 column 34"},
           {"{\"reactant\": 1}", "missing field `kind` at line 1 column 24"},
           {"[]", "missing field `kind` at line 1 column 11"},
           {"{\"kind\": \"uptake\", \"reactant\": 1, \"sorbent\": [1, }", "expected value at line 1 column 59"},
           // The fields' faults are placed at the kind's closing brace, which another member follows.
           {"{\"kind\": \"uptake\", \"reactant\": 1}", "missing field `sorbent` at line 1 column 42"},
           {"[\"transfer\", 1, 2, \"oxidation\", 4]",
            "invalid length 4, expected 3 elements in sequence at line 1 column 43"},
       }) {
    Process process;
    EXPECT_EQ(read_into(process_with_kind(c.text), process, deserialize_process), c.outcome) << c.text;
  }
  // As the last member, at the process's own closing brace.
  Process process;
  EXPECT_EQ(
      read_into("{\"id\": 0, \"kind\": {\"kind\": \"uptake\", \"reactant\": 1} \n}", process, deserialize_process),
      "missing field `sorbent` at line 2 column 1");
  // A source whose fraction was not finite is written null and cannot be read back.
  Process mixing = bare_process();
  mixing.kind.kind = ProcessKind::Mixing{{MixingSource{0, std::nan("")}}, 1};
  EXPECT_EQ(read_into(written(mixing, serialize_process), process, deserialize_process),
            "invalid type: null, expected f64 at line 13 column 3");
}

}  // namespace
}  // namespace ovm::ir
