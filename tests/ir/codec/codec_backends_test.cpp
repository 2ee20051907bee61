#include "ir/codec/codec_backends.hpp"

#include <gtest/gtest.h>

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

Backend full_backend() {
  return Backend{"calc",
                 BackendKind::Phreeqc,
                 "C:\\runs\\calc.pqi",
                 "phreeqc.dat",
                 BackendMode::Series,
                 {BackendExport{"pH", ParameterId{3}}, BackendExport{"si_calcite", ParameterId{4}}}};
}

Backend bare_backend() { return Backend{"b", BackendKind::Phreeqc, "", {}, BackendMode::Oneshot, {}}; }

TEST(CodecBackendsTest, Layout) {
  EXPECT_EQ(written(full_backend(), serialize_backend), R"json({
  "name": "calc",
  "kind": "phreeqc",
  "input_path": "C:\\runs\\calc.pqi",
  "database": "phreeqc.dat",
  "mode": "series",
  "exports": [
    {
      "column": "pH",
      "parameter": 3
    },
    {
      "column": "si_calcite",
      "parameter": 4
    }
  ]
})json");
  EXPECT_EQ(written(bare_backend(), serialize_backend), R"json({
  "name": "b",
  "kind": "phreeqc",
  "input_path": "",
  "database": null,
  "mode": "oneshot",
  "exports": []
})json");
  EXPECT_EQ(written(BackendExport{"x", ParameterId{4294967295u}}, serialize_backend_export),
            "{\n  \"column\": \"x\",\n  \"parameter\": 4294967295\n}");
}

TEST(CodecBackendsTest, RoundTrips) {
  Backend oneshot = full_backend();
  oneshot.mode = BackendMode::Oneshot;
  Backend series = bare_backend();
  series.mode = BackendMode::Series;
  series.database = "";
  for (const Backend& backend : {full_backend(), bare_backend(), oneshot, series}) {
    std::string text = written(backend, serialize_backend);
    Backend back;
    EXPECT_EQ(read_into(text, back, deserialize_backend), "ok") << text;
    EXPECT_EQ(back, backend) << text;
  }
  std::vector<Backend> list;
  std::string text = "[" + written(full_backend(), serialize_backend) + ",\n" +
                     written(bare_backend(), serialize_backend) + "]";
  EXPECT_EQ(read_into(text, list, deserialize_backend_list), "ok");
  EXPECT_EQ(list, (std::vector<Backend>{full_backend(), bare_backend()}));
}

TEST(CodecBackendsTest, LenientForms) {
  for (const std::string& text : {
           std::string(R"({"name": "b", "kind": "phreeqc", "input_path": "", "mode": "oneshot", "exports": []})"),
           std::string(R"({"exports": [], "mode": "oneshot", "database": null, "input_path": "", "kind": "phreeqc", )"
                       R"("name": "b"})"),
           std::string(R"(["b", "phreeqc", "", null, "oneshot", []])"),
           std::string(R"({"name": "b", "kind": {"phreeqc": null}, "extra": [[{}]], "input_path": "", )"
                       R"("mode": {"oneshot": null}, "exports": [], "extra": null})"),
       }) {
    Backend backend = full_backend();
    EXPECT_EQ(read_into(text, backend, deserialize_backend), "ok") << text;
    EXPECT_EQ(backend, bare_backend()) << text;
  }
  // Exports in either form; the mode from its one-key object.
  Backend backend;
  EXPECT_EQ(read_into(R"({"mode": {"series": null}, "exports": [["pH", 3], {"parameter": 4, "column": "si_calcite"}], )"
                      R"("database": "phreeqc.dat", "input_path": "C:\\runs\\calc.pqi", "kind": "phreeqc", )"
                      R"("name": "calc"})",
                      backend, deserialize_backend),
            "ok");
  EXPECT_EQ(backend, full_backend());
}

TEST(CodecBackendsTest, KindAndMode) {
  for (const MessageCase& c : std::vector<MessageCase>{
           {R"({"kind": "PHREEQC"})", "unknown variant `PHREEQC`, expected `phreeqc` at line 1 column 18"},
           {R"({"kind": {"phreeqc": 0}})", "invalid type: integer `0`, expected unit at line 1 column 22"},
           {R"({"mode": "batch"})", "unknown variant `batch`, expected `oneshot` or `series` at line 1 column 16"},
           {R"({"mode": {"Series": null}})",
            "unknown variant `Series`, expected `oneshot` or `series` at line 1 column 18"},
       }) {
    Backend backend;
    EXPECT_EQ(read_into(c.text, backend, deserialize_backend), c.outcome) << c.text;
  }
  BackendMode mode = BackendMode::Oneshot;
  EXPECT_EQ(read_into(R"({"series": null})", mode, deserialize_backend_mode), "ok");
  EXPECT_EQ(mode, BackendMode::Series);
  BackendKind kind = BackendKind::Phreeqc;
  EXPECT_EQ(read_into(R"("phreeqc")", kind, deserialize_backend_kind), "ok");
  EXPECT_EQ(written(BackendMode::Oneshot, serialize_backend_mode), "\"oneshot\"");
  EXPECT_EQ(written(BackendKind::Phreeqc, serialize_backend_kind), "\"phreeqc\"");
}

TEST(CodecBackendsTest, BackendMessages) {
  for (const MessageCase& c : std::vector<MessageCase>{
           {"{}", "missing field `name` at line 1 column 2"},
           {R"({"name": "b", "input_path": "", "mode": "oneshot", "exports": []})",
            "missing field `kind` at line 1 column 65"},
           {R"({"name": "b", "kind": "phreeqc", "mode": "oneshot"})", "missing field `input_path` at line 1 column 51"},
           {R"({"database": null, "database": null})", "duplicate field `database` at line 1 column 29"},
           {R"({"database": 1})", "invalid type: integer `1`, expected a string at line 1 column 14"},
           {R"({"input_path": null})", "invalid type: null, expected a string at line 1 column 19"},
           {R"({"exports": null})", "invalid type: null, expected a sequence at line 1 column 16"},
           {R"(["b", "phreeqc", "", null, "oneshot"])",
            "invalid length 5, expected struct Backend with 6 elements at line 1 column 37"},
           {R"(["b", "phreeqc", "", null, "oneshot", [], 1])", "trailing characters at line 1 column 43"},
           {R"("calc")", "invalid type: string \"calc\", expected struct Backend at line 1 column 6"},
       }) {
    Backend backend;
    EXPECT_EQ(read_into(c.text, backend, deserialize_backend), c.outcome) << c.text;
  }
}

TEST(CodecBackendsTest, ExportMessages) {
  for (const MessageCase& c : std::vector<MessageCase>{
           {R"({"exports": [["pH"]]})",
            "invalid length 1, expected struct BackendExport with 2 elements at line 1 column 19"},
           {R"({"exports": [["pH", 1, 2]]})", "trailing characters at line 1 column 24"},
           {R"({"exports": [{"column": "pH", "parameter": -1}]})",
            "invalid value: integer `-1`, expected u32 at line 1 column 45"},
           {R"({"exports": [["pH", 2.0]]})", "invalid type: floating point `2.0`, expected u32 at line 1 column 23"},
           {R"({"exports": ["pH"]})", "invalid type: string \"pH\", expected struct BackendExport at line 1 column 17"},
       }) {
    Backend backend;
    EXPECT_EQ(read_into(c.text, backend, deserialize_backend), c.outcome) << c.text;
  }
  BackendExport backend_export;
  EXPECT_EQ(read_into(R"({"parameter": 0})", backend_export, deserialize_backend_export),
            "missing field `column` at line 1 column 16");
  // A fault in the second backend of a list ends the whole read.
  std::vector<Backend> list;
  EXPECT_EQ(read_into(R"([["a", "phreeqc", "x", null, "oneshot", []], )"
                      R"(["b", "phreeqc", "y", null, "oneshot", [{"column": "pH"}]]])",
                      list, deserialize_backend_list),
            "missing field `parameter` at line 1 column 101");
}

}  // namespace
}  // namespace ovm::ir
