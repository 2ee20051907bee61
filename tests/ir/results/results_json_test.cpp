#include "ir/results/results_json.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace ovm::ir {
namespace {

std::string written(const ResultsFile& results) {
  auto text = results_to_json(results);
  if (auto* error = std::get_if<ResultsError>(&text)) return results_error_text(*error);
  return std::get<std::string>(text);
}

// Every results file begins with its format version and the engine.
const std::string engine_head =
    "{\n"
    "  \"format_version\": \"1.1\",\n"
    "  \"engine\": {\n"
    "    \"name\": \"ovm-engine\",\n"
    "    \"version\": \"0.1.0\"\n"
    "  },\n";

// The model identity below, as written.
const std::string identity =
    "  \"model\": {\n"
    "    \"ir_version\": \"1.3\",\n"
    "    \"source_path\": \"models/cr.ovm\",\n"
    "    \"source_sha256\": \"ab12\",\n"
    "    \"simulation\": \"Reduction\"\n"
    "  },\n";

ResultsModel model_identity() {
  return ResultsModel{"1.3", "models/cr.ovm", "ab12", "Reduction"};
}

// What a run that failed before simulating returns: one error and nothing else.
TEST(ResultsJsonTest, FailedRun) {
  ResultsFile results;
  results.model = model_identity();
  results.diagnostics.push_back(ResultsDiagnostic{"OV401", "error", "no standard for `53Cr/52Cr`", std::nullopt});
  EXPECT_EQ(written(results),
            engine_head + identity +
            "  \"columns\": [],\n"
            "  \"rows\": [],\n"
            "  \"diagnostics\": [\n"
            "    {\n"
            "      \"code\": \"OV401\",\n"
            "      \"severity\": \"error\",\n"
            "      \"message\": \"no standard for `53Cr/52Cr`\"\n"
            "    }\n"
            "  ]\n"
            "}");
}

TEST(ResultsJsonTest, AbsentModelTextsAreNull) {
  ResultsFile results;
  results.model.ir_version = "";
  EXPECT_EQ(written(results),
            engine_head +
            "  \"model\": {\n"
            "    \"ir_version\": \"\",\n"
            "    \"source_path\": null,\n"
            "    \"source_sha256\": null,\n"
            "    \"simulation\": null\n"
            "  },\n"
            "  \"columns\": [],\n"
            "  \"rows\": [],\n"
            "  \"diagnostics\": []\n"
            "}");
}

// Columns leave out the keys of absent texts; every cell stands on its own line, `null`
// when it has no value or no finite one; a diagnostic has "at_row" only with a row, 0 too;
// exports come in ascending key order.
TEST(ResultsJsonTest, CompleteRun) {
  ResultsFile results;
  results.model = model_identity();
  results.columns.push_back(ResultsColumn{"time", ColumnKind::Time, "s"});
  results.columns.push_back(ResultsColumn{"Cr6 in Fluid", ColumnKind::Amount, "mol", "Fluid", "Cr6"});
  results.columns.push_back(
      ResultsColumn{"f", ColumnKind::FractionRemaining, "1", "Fluid", "Cr6", std::nullopt, std::nullopt});
  results.columns.push_back(ResultsColumn{"d53", ColumnKind::PoolComposition, "permil", "Fluid", "Cr6", "53Cr/52Cr"});
  results.columns.push_back(ResultsColumn{"k", ColumnKind::Parameter, "1/s", std::nullopt, std::nullopt, std::nullopt, "k"});
  results.columns.push_back(ResultsColumn{"bulk", ColumnKind::Composition, "permil", "Fluid", std::nullopt, "53Cr/52Cr"});
  results.rows = ResultsTable{6, 0, {}};
  append_table_row(results.rows, std::vector<double>{0.0, 0.001, 1.0, -0.25, 1.5e-6, 250.0});
  append_table_row(results.rows, std::vector<double>{60.0, 1e16, -std::numeric_limits<double>::quiet_NaN(),
                                                     std::numeric_limits<double>::quiet_NaN(),
                                                     std::numeric_limits<double>::infinity(), -0.0});
  results.diagnostics.push_back(ResultsDiagnostic{"OV306", "warning", "tab\there", std::nullopt});
  results.diagnostics.push_back(ResultsDiagnostic{"OV403", "note", "first row", 0});
  results.diagnostics.push_back(ResultsDiagnostic{"OV404", "error", "\"quoted\"", 18446744073709551615u});
  BackendRun run{"Eq", "phreeqc", "/usr/bin/phreeqc", "phreeqc.dat", std::nullopt, {}};
  run.exports = {{"b", 2.0}, {"a", 0.5}, {"B", std::numeric_limits<double>::infinity()}};
  results.backends.push_back(run);
  BackendRun digested{"Second", "phreeqc", "phreeqc", "db.dat", "00ff", {}};
  results.backends.push_back(digested);

  EXPECT_EQ(written(results),
            engine_head + identity +
            "  \"columns\": [\n"
            "    {\n"
            "      \"name\": \"time\",\n"
            "      \"kind\": \"time\",\n"
            "      \"unit\": \"s\"\n"
            "    },\n"
            "    {\n"
            "      \"name\": \"Cr6 in Fluid\",\n"
            "      \"kind\": \"amount\",\n"
            "      \"unit\": \"mol\",\n"
            "      \"reservoir\": \"Fluid\",\n"
            "      \"species\": \"Cr6\"\n"
            "    },\n"
            "    {\n"
            "      \"name\": \"f\",\n"
            "      \"kind\": \"fraction_remaining\",\n"
            "      \"unit\": \"1\",\n"
            "      \"reservoir\": \"Fluid\",\n"
            "      \"species\": \"Cr6\"\n"
            "    },\n"
            "    {\n"
            "      \"name\": \"d53\",\n"
            "      \"kind\": \"pool_composition\",\n"
            "      \"unit\": \"permil\",\n"
            "      \"reservoir\": \"Fluid\",\n"
            "      \"species\": \"Cr6\",\n"
            "      \"isotope\": \"53Cr/52Cr\"\n"
            "    },\n"
            "    {\n"
            "      \"name\": \"k\",\n"
            "      \"kind\": \"parameter\",\n"
            "      \"unit\": \"1/s\",\n"
            "      \"parameter\": \"k\"\n"
            "    },\n"
            "    {\n"
            "      \"name\": \"bulk\",\n"
            "      \"kind\": \"composition\",\n"
            "      \"unit\": \"permil\",\n"
            "      \"reservoir\": \"Fluid\",\n"
            "      \"isotope\": \"53Cr/52Cr\"\n"
            "    }\n"
            "  ],\n"
            "  \"rows\": [\n"
            "    [\n"
            "      0.0,\n"
            "      0.001,\n"
            "      1.0,\n"
            "      -0.25,\n"
            "      1.5e-6,\n"
            "      250.0\n"
            "    ],\n"
            "    [\n"
            "      60.0,\n"
            "      1e+16,\n"
            "      null,\n"
            "      null,\n"
            "      null,\n"
            "      -0.0\n"
            "    ]\n"
            "  ],\n"
            "  \"diagnostics\": [\n"
            "    {\n"
            "      \"code\": \"OV306\",\n"
            "      \"severity\": \"warning\",\n"
            "      \"message\": \"tab\\there\"\n"
            "    },\n"
            "    {\n"
            "      \"code\": \"OV403\",\n"
            "      \"severity\": \"note\",\n"
            "      \"message\": \"first row\",\n"
            "      \"at_row\": 0\n"
            "    },\n"
            "    {\n"
            "      \"code\": \"OV404\",\n"
            "      \"severity\": \"error\",\n"
            "      \"message\": \"\\\"quoted\\\"\",\n"
            "      \"at_row\": 18446744073709551615\n"
            "    }\n"
            "  ],\n"
            "  \"backends\": [\n"
            "    {\n"
            "      \"name\": \"Eq\",\n"
            "      \"kind\": \"phreeqc\",\n"
            "      \"executable\": \"/usr/bin/phreeqc\",\n"
            "      \"database\": \"phreeqc.dat\",\n"
            "      \"exports\": {\n"
            "        \"B\": null,\n"
            "        \"a\": 0.5,\n"
            "        \"b\": 2.0\n"
            "      }\n"
            "    },\n"
            "    {\n"
            "      \"name\": \"Second\",\n"
            "      \"kind\": \"phreeqc\",\n"
            "      \"executable\": \"phreeqc\",\n"
            "      \"database\": \"db.dat\",\n"
            "      \"database_sha256\": \"00ff\",\n"
            "      \"exports\": {}\n"
            "    }\n"
            "  ]\n"
            "}");
}

TEST(ResultsJsonTest, ColumnKindNames) {
  EXPECT_EQ(column_kind_name(ColumnKind::Time), "time");
  EXPECT_EQ(column_kind_name(ColumnKind::Amount), "amount");
  EXPECT_EQ(column_kind_name(ColumnKind::Composition), "composition");
  EXPECT_EQ(column_kind_name(ColumnKind::PoolComposition), "pool_composition");
  EXPECT_EQ(column_kind_name(ColumnKind::FractionRemaining), "fraction_remaining");
  EXPECT_EQ(column_kind_name(ColumnKind::Parameter), "parameter");
}

// Text that is not UTF-8 cannot stand in a JSON document.
TEST(ResultsJsonTest, WriterFailureIsAResultsError) {
  ResultsFile results;
  results.diagnostics.push_back(ResultsDiagnostic{"OV404", "error", "column \xC3(", std::nullopt});
  EXPECT_EQ(written(results), "writing results: a string is not valid UTF-8");
  ASSERT_TRUE(results_json_error(results));
  EXPECT_EQ(results_error_text(*results_json_error(results)), "writing results: a string is not valid UTF-8");

  // Found before a piece is handed over, though the string comes after many rows.
  results.columns.push_back(ResultsColumn{"time", ColumnKind::Time, "s"});
  results.rows = ResultsTable{1, 200'000, std::vector<double>(200'000, 0.5)};
  std::size_t pieces = 0;
  EXPECT_FALSE(write_results_json(results, [&](std::string_view) { return ++pieces, true; }));
  EXPECT_EQ(pieces, 0u);
}

// Rows of no cells still count, each written as an empty list.
TEST(ResultsJsonTest, RowsWithoutColumns) {
  ResultsFile results;
  results.model = model_identity();
  results.rows = ResultsTable{0, 2, {}};
  EXPECT_EQ(written(results), engine_head + identity +
                                  "  \"columns\": [],\n"
                                  "  \"rows\": [\n"
                                  "    [],\n"
                                  "    []\n"
                                  "  ],\n"
                                  "  \"diagnostics\": []\n"
                                  "}");
}

// Many rows go out in several pieces that join to the text written whole; a refused piece
// fails the write.
TEST(ResultsJsonTest, PiecesJoinToTheWholeText) {
  ResultsFile results;
  results.model = model_identity();
  results.columns = {ResultsColumn{"time", ColumnKind::Time, "s"}, ResultsColumn{"x", ColumnKind::Parameter, "1"}};
  results.rows.width = 2;
  for (int i = 0; i < 100'000; ++i) {
    append_table_row(results.rows, std::vector<double>{i * 86400.0, i % 7 == 0 ? std::nan("") : 1.0 / (i + 1)});
  }
  std::string joined;
  std::size_t pieces = 0;
  ASSERT_TRUE(write_results_json(results, [&](std::string_view piece) {
    ++pieces;
    joined += piece;
    return true;
  }));
  EXPECT_GT(pieces, 1u);
  EXPECT_EQ(joined, written(results));

  std::size_t offered = 0;
  EXPECT_FALSE(write_results_json(results, [&](std::string_view) { return ++offered < 2; }));
  EXPECT_EQ(offered, 2u);  // none after the refused one
}

}  // namespace
}  // namespace ovm::ir
