#include "engine/phreeqc/phreeqc_selected.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine_test_support.hpp"

namespace ovm::engine {
namespace {

namespace fs = std::filesystem;

template <typename T>
T value_of(std::variant<T, EngineError> result) {
  if (const auto* error = std::get_if<EngineError>(&result)) ADD_FAILURE() << error->code << " " << error->message;
  if (auto* value = std::get_if<T>(&result)) return std::move(*value);
  return T{};
}

template <typename T>
EngineError error_of(const std::variant<T, EngineError>& result) {
  if (const auto* error = std::get_if<EngineError>(&result)) return *error;
  ADD_FAILURE() << "expected an error";
  return {};
}

ir::Backend backend(ir::BackendMode mode, std::vector<std::string> columns) {
  ir::Backend result{"calcite", ir::BackendKind::Phreeqc, "in.pqi", std::nullopt, mode, {}};
  for (std::size_t i = 0; i < columns.size(); ++i) {
    result.exports.push_back(ir::BackendExport{columns[i], ir::ParameterId{static_cast<std::uint32_t>(i + 7)}});
  }
  return result;
}

TEST(SelectedOutputTest, LastRowHoldsTheNumericCellsByColumn) {
  EXPECT_EQ(value_of(last_row_values("sim state time Ca\n1 react 120 0.5\n", "b")),
            (LastRow{{"Ca", 0.5}, {"sim", 1.0}, {"time", 120.0}}));
  // Blank lines around rows are passed over; the last non-blank line is the row read.
  EXPECT_EQ(value_of(last_row_values("\n  \r\n a  b\r\n1 2\r\n 3 4 \r\n\n \t\n", "b")), (LastRow{{"a", 3.0}, {"b", 4.0}}));
  // A short row fills the first columns; cells beyond the header are ignored.
  EXPECT_EQ(value_of(last_row_values("a b c\n1 2\n", "b")), (LastRow{{"a", 1.0}, {"b", 2.0}}));
  EXPECT_EQ(value_of(last_row_values("a b\n1 2 3 4\n", "b")), (LastRow{{"a", 1.0}, {"b", 2.0}}));
  // A later column of the same name overwrites an earlier one.
  EXPECT_EQ(value_of(last_row_values("x y x\n1 2 3", "b")), (LastRow{{"x", 3.0}, {"y", 2.0}}));
  // A later column whose cell is not a number leaves the earlier value.
  EXPECT_EQ(value_of(last_row_values("x x\n1 none", "b")), (LastRow{{"x", 1.0}}));
}

TEST(SelectedOutputTest, FilesWithoutValuesAreRefused) {
  struct Case {
    std::string text;
    std::string message;
  };
  for (const Case& c : {Case{"", "`calc` wrote an empty selected output"},
                        Case{" \n\t\r\n\xC2\xA0\n", "`calc` wrote an empty selected output"},
                        Case{"sim time Ca\n", "`calc` wrote headers but no values"},
                        Case{"\nsim time Ca\n\n  \n", "`calc` wrote headers but no values"}}) {
    EXPECT_EQ(error_of(last_row_values(c.text, "calc")), (EngineError{"OV402", c.message})) << c.text;
    EXPECT_EQ(error_of(series_rows(c.text, "calc")), (EngineError{"OV402", c.message})) << c.text;
  }
}

TEST(SelectedOutputTest, SeriesRowsAreSortedByTimeWithNegativeTimesAtZero) {
  std::vector<SeriesRow> rows = value_of(series_rows("step time Ca\n1 10 0.1\n2 -5 0.2\n3 0 0.3\n4 x 0.4\n5\n", "b"));
  std::vector<SeriesRow> expected = {
      {0.0, {{"Ca", 0.2}, {"step", 2.0}, {"time", -5.0}}},
      {0.0, {{"Ca", 0.3}, {"step", 3.0}, {"time", 0.0}}},
      {10.0, {{"Ca", 0.1}, {"step", 1.0}, {"time", 10.0}}},
  };
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(column_series(rows, "Ca"), (BackendSeries{{0.0, 0.2}, {0.0, 0.3}, {10.0, 0.1}}));
  EXPECT_EQ(column_series(rows, "step"), (BackendSeries{{0.0, 2.0}, {0.0, 3.0}, {10.0, 1.0}}));
  EXPECT_EQ(column_series(rows, "Mg"), BackendSeries{});
}

TEST(SelectedOutputTest, TheTimeColumnIsTheFirstOneNamedExactlyTime) {
  EXPECT_EQ(value_of(series_rows("time time\n5 6\n", "b")), (std::vector<SeriesRow>{{5.0, {{"time", 6.0}}}}));
  // A row without a time number is left out, even when the later time column has one.
  EXPECT_EQ(error_of(series_rows("time x time\nq 1 2\n", "b")).message, "`b` wrote headers but no values");
  for (std::string text : {"Time Ca\n1 2\n", "TIME Ca\n1 2\n", "Ca\n1\n"}) {
    EXPECT_EQ(error_of(series_rows(text, "eq")),
              (EngineError{"OV402", "`eq` is declared `mode series` and its selected output has no `time` column; add "
                                    "`-time` to its SELECTED_OUTPUT"}))
        << text;
  }
}

TEST(SelectedOutputTest, SeriesTimesThatAreNotNumbersSortLast) {
  std::vector<SeriesRow> rows = value_of(series_rows("time v\nnan 1\n3 2\nnan 3\n1 4\n", "b"));
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].time, 1.0);
  EXPECT_EQ(rows[1].time, 3.0);
  EXPECT_TRUE(std::isnan(rows[2].time));
  EXPECT_EQ(rows[2].values.at("v"), 1.0);
  EXPECT_EQ(rows[3].values.at("v"), 3.0);
}

TEST(SelectedOutputTest, OneshotExportsTakeTheLastRow) {
  auto extracted = value_of(extract_exports(backend(ir::BackendMode::Oneshot, {"Ca", "time"}), "sim state time Ca\n0 i 0 0.1\n1 react 120 0.5\n"));
  ASSERT_EQ(extracted.values.size(), 2u);
  EXPECT_EQ(extracted.values[0], (BackendExportValue{BackendExportValue::Oneshot{ir::ParameterId{7}, 0.5}}));
  EXPECT_EQ(extracted.values[1], (BackendExportValue{BackendExportValue::Oneshot{ir::ParameterId{8}, 120.0}}));
  EXPECT_EQ(extracted.columns, (std::map<std::string, double>{{"Ca", 0.5}, {"time", 120.0}}));
}

TEST(SelectedOutputTest, SeriesExportsTakeEveryRowAndRecordTheLastRow) {
  std::string text = "time Ca pH\n20 0.2 7\n10 0.1 x\n-1 0.0 6\n";
  auto extracted = value_of(extract_exports(backend(ir::BackendMode::Series, {"pH", "Ca"}), text));
  ASSERT_EQ(extracted.values.size(), 2u);
  EXPECT_EQ(extracted.values[0], (BackendExportValue{BackendExportValue::Series{ir::ParameterId{7}, {{0.0, 6.0}, {20.0, 7.0}}}}));
  EXPECT_EQ(extracted.values[1],
            (BackendExportValue{BackendExportValue::Series{ir::ParameterId{8}, {{0.0, 0.0}, {10.0, 0.1}, {20.0, 0.2}}}}));
  EXPECT_EQ(extracted.columns, (std::map<std::string, double>{{"Ca", 0.0}, {"pH", 6.0}}));
}

TEST(SelectedOutputTest, AnExportedColumnMustHaveANumberInTheLastRow) {
  std::string text = "sim state time Ca\n1 react 120 0.5\n";
  for (ir::BackendMode mode : {ir::BackendMode::Oneshot, ir::BackendMode::Series}) {
    EXPECT_EQ(error_of(extract_exports(backend(mode, {"Ca", "state"}), text)),
              (EngineError{"OV402", "`calcite` produced no column named `state`; it has: Ca, sim, time"}));
  }
  EXPECT_EQ(error_of(extract_exports(backend(ir::BackendMode::Oneshot, {"Ca"}), "Ca Mg\nx y\n")).message,
            "`calcite` produced no column named `Ca`; it has: nothing");
  // In series the last row decides too, though earlier rows hold the column.
  EXPECT_EQ(error_of(extract_exports(backend(ir::BackendMode::Series, {"Ca"}), "time Ca\n1 2\n3 x\n")).message,
            "`calcite` produced no column named `Ca`; it has: time");
}

TEST(SelectedOutputTest, ASeriesMayBeEmptyWhenOnlyTheLastRowHoldsTheColumn) {
  auto extracted = value_of(extract_exports(backend(ir::BackendMode::Series, {"Ca"}), "time Ca\n1 x\nend 0.5\n"));
  ASSERT_EQ(extracted.values.size(), 1u);
  EXPECT_EQ(extracted.values[0], (BackendExportValue{BackendExportValue::Series{ir::ParameterId{7}, {}}}));
  EXPECT_EQ(extracted.columns, (std::map<std::string, double>{{"Ca", 0.5}}));
}

TEST(SelectedOutputTest, SelectedOutputsAreListedByExtensionInByteOrder) {
  testing::TempDir dir;
  for (const char* name : {"b.sel", "B.SEL", "a.Sel", ".sel", "x.sel.txt", "sel", "phreeqc.out", "c.sel"}) dir.write(name, "");
  dir.make_directory("d.sel");
  std::vector<fs::path> expected;
  for (const char* name : {"B.SEL", "a.Sel", "b.sel", "c.sel", "d.sel"}) expected.push_back(dir.path() / name);
  EXPECT_EQ(list_selected_outputs(dir.path()), expected);
  EXPECT_TRUE(list_selected_outputs(dir.path() / "missing").empty());
}

TEST(SelectedOutputTest, TheFirstFileInByteOrderIsRead) {
  testing::TempDir dir;
  dir.write("a.sel", "Ca\n2\n");
  dir.write("B.sel", "Ca\n1\n");
  auto extracted = value_of(read_selected_output(backend(ir::BackendMode::Oneshot, {"Ca"}), dir.path()));
  EXPECT_EQ(extracted.columns, (std::map<std::string, double>{{"Ca", 1.0}}));
}

TEST(SelectedOutputTest, MissingOrUnreadableFilesAreReported) {
  testing::TempDir dir;
  ir::Backend calcite = backend(ir::BackendMode::Oneshot, {"Ca"});
  EXPECT_EQ(error_of(read_selected_output(calcite, dir.path())),
            (EngineError{"OV402", "`calcite` wrote no selected output; the input needs a SELECTED_OUTPUT block for its "
                                  "results to reach the model"}));
  // Bytes that are not UTF-8 are no number, in the one cell an export reads as anywhere else.
  dir.write("out.sel", "Ca\n\xFF\n");
  EXPECT_EQ(error_of(read_selected_output(calcite, dir.path())),
            (EngineError{"OV402", "`calcite` produced no column named `Ca`; it has: nothing"}));
  dir.write("out.sel", "Ca\tn\xFF\t\n1\t2\t\n");
  EXPECT_EQ(error_of(read_selected_output(backend(ir::BackendMode::Oneshot, {"K"}), dir.path())),
            (EngineError{"OV402", "`calcite` produced no column named `K`; it has: Ca, n\xEF\xBF\xBD"}));
}

// The files PHREEQC 3.8.9 wrote: cells right-aligned in 12 characters, each followed by a tab.
std::string sample(const std::string& name) {
  std::ifstream in(std::string(OVM_PHREEQC_SAMPLES) + "/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  EXPECT_FALSE(text.str().empty() && name != "bad_input.sel") << name;
  return text.str();
}

TEST(SelectedOutputTest, TabSeparatedCellsKeepTheirColumns) {
  // `sample` holds "well 7 (deep)" and `note` is an empty text cell: k stays in its column.
  EXPECT_EQ(value_of(last_row_values(sample("text_cells.sel"), "b")), (LastRow{{"k", 0.125}, {"value", 42.5}}));
  LastRow speciation = value_of(last_row_values(sample("speciation.sel"), "b"));
  EXPECT_EQ(speciation.at("pH"), 7.2);
  EXPECT_EQ(speciation.at("Ca"), 1e-3);
  EXPECT_EQ(speciation.at("m_Fe+2"), 4.1467e-06);
  EXPECT_EQ(speciation.at("dist_x"), -99);
  EXPECT_FALSE(speciation.contains("state"));  // the text cell `i_soln`

  auto series = value_of(series_rows(sample("series.sel"), "b"));
  ASSERT_EQ(series.size(), 13u);
  EXPECT_EQ(series.front().time, 0);  // the initial row's -99
  EXPECT_EQ(series.front().values.at("Na"), 1e-3);
  EXPECT_EQ(series.back().time, 43200);
  EXPECT_EQ(series.back().values.at("k_rate"), 2.0864e-05);

  // What a failed run leaves behind.
  EXPECT_EQ(error_of(last_row_values(sample("bad_input.sel"), "b")),
            (EngineError{"OV402", "`b` wrote an empty selected output"}));
  // Blanks and empty cells in the same layout, written here.
  EXPECT_EQ(value_of(last_row_values("  a\t   b\t   c\t\n   x y\t    \t 3\t\n", "b")), (LastRow{{"c", 3.0}}));
}

}  // namespace
}  // namespace ovm::engine
