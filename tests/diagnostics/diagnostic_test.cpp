#include "diagnostics/diagnostic.hpp"

#include <gtest/gtest.h>

namespace ovm::diagnostics {
namespace {

using C = DiagnosticCode;

Diagnostic at(DiagnosticCode code, std::uint32_t file, std::uint32_t start, std::uint32_t end,
              std::string_view label = "") {
  Diagnostic d(code, Span{file, start, end});
  if (!label.empty()) return std::move(d).with_label(label);
  return d;
}

std::vector<std::string> labels(const Diagnostics& list) {
  std::vector<std::string> out;
  for (const Diagnostic& d : list) out.push_back(d.label.value_or(""));
  return out;
}

TEST(DiagnosticTest, BuildersReplaceLabelAndHelpAndAppendNotes) {
  Diagnostic d = Diagnostic(C::OV101, Span{0, 1, 2})
                     .with_label("first")
                     .with_label("second")
                     .with_note(Span{0, 3, 4}, "one")
                     .with_note(Span{1, 5, 6}, "two")
                     .with_help("h1")
                     .with_help("h2");
  EXPECT_EQ(d.label, "second");
  ASSERT_EQ(d.notes.size(), 2u);
  EXPECT_EQ(d.notes[0].message, "one");
  EXPECT_EQ(d.notes[1].message, "two");
  EXPECT_EQ(d.notes[1].span, (Span{1, 5, 6}));
  EXPECT_EQ(d.help, "h2");

  Diagnostic bare(C::OV001, Span{});
  EXPECT_FALSE(bare.label.has_value());
  EXPECT_TRUE(bare.notes.empty());
  EXPECT_FALSE(bare.help.has_value());
}

TEST(DiagnosticTest, HasErrorsIgnoresWarnings) {
  Diagnostics list;
  EXPECT_FALSE(has_errors(list));
  push_diagnostic(list, at(C::OV010, 0, 0, 1));
  push_diagnostic(list, at(C::OV108, 0, 0, 1));
  push_diagnostic(list, at(C::OV306, 0, 0, 1));
  EXPECT_FALSE(has_errors(list));
  push_diagnostic(list, at(C::OV001, 0, 0, 1));
  EXPECT_TRUE(has_errors(list));
}

TEST(DiagnosticTest, AppendMovesInOrder) {
  Diagnostics list{at(C::OV001, 0, 0, 1, "a")};
  Diagnostics other{at(C::OV101, 0, 0, 1, "b"), at(C::OV102, 0, 0, 1, "c")};
  append_diagnostics(list, std::move(other));
  EXPECT_EQ(labels(list), (std::vector<std::string>{"a", "b", "c"}));
}

struct SortCase {
  const char* name;
  Diagnostics input;
  std::vector<std::string> kept_labels;
};

class SortAndDedupTest : public testing::TestWithParam<SortCase> {};

TEST_P(SortAndDedupTest, KeepsExpectedOrder) {
  EXPECT_EQ(labels(sort_and_dedup(GetParam().input)), GetParam().kept_labels);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, SortAndDedupTest,
    testing::Values(
        SortCase{"syntax_code_first_at_one_position",
                 {at(C::OV107, 0, 4, 5, "sem"), at(C::OV001, 0, 4, 9, "syn")},
                 {"syn", "sem"}},
        SortCase{"file_before_offset",
                 {at(C::OV001, 1, 0, 1, "f1"), at(C::OV001, 0, 900, 901, "f0")},
                 {"f0", "f1"}},
        SortCase{"same_span_different_label_keeps_first",
                 {at(C::OV101, 0, 3, 6, "first"), at(C::OV101, 0, 3, 6, "second")},
                 {"first"}},
        SortCase{"same_start_different_end_both_kept",
                 {at(C::OV101, 0, 3, 6, "a"), at(C::OV101, 0, 3, 7, "b")},
                 {"a", "b"}},
        SortCase{"repeat_separated_by_other_end_survives",
                 {at(C::OV101, 0, 3, 5, "A"), at(C::OV101, 0, 3, 6, "B"), at(C::OV101, 0, 3, 5, "C")},
                 {"A", "B", "C"}},
        SortCase{"stable_for_equal_keys",
                 {at(C::OV201, 0, 2, 9, "x"), at(C::OV201, 0, 2, 4, "y"), at(C::OV201, 0, 2, 8, "z")},
                 {"x", "y", "z"}},
        SortCase{"start_orders_before_code",
                 {at(C::OV001, 0, 8, 9, "late"), at(C::OV404, 0, 1, 2, "early")},
                 {"early", "late"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Many equal keys mixed with other positions: a sort that is not stable reorders them (a
// short list can come out right by chance, as small ranges are sorted by insertion).
TEST(DiagnosticTest, SortKeepsProductionOrderOfEqualKeysInALongList) {
  Diagnostics input;
  std::vector<std::string> same_key;
  std::vector<std::string> later;
  for (std::uint32_t i = 0; i < 60; ++i) {
    std::string label = "k" + std::to_string(i);
    // Distinct ends, falling, so that nothing is merged and no order by end can pass.
    input.push_back(at(C::OV202, 0, 7, 200 - i, label));
    same_key.push_back(label);
    std::string other = "o" + std::to_string(i);
    input.push_back(at(C::OV001, 0, 100 - i, 101 - i, other));
    later.insert(later.begin(), other);
  }
  std::vector<std::string> expected;
  // Offsets 41 to 100 all follow offset 7.
  expected.insert(expected.end(), same_key.begin(), same_key.end());
  expected.insert(expected.end(), later.begin(), later.end());
  EXPECT_EQ(labels(sort_and_dedup(input)), expected);
}

}  // namespace
}  // namespace ovm::diagnostics
