#include "diagnostics/render.hpp"

#include <gtest/gtest.h>

namespace ovm::diagnostics {
namespace {

using C = DiagnosticCode;

// A text whose line `n` (1-based) is `line`, preceded by n - 1 empty lines.
std::string on_line(std::uint32_t n, std::string_view line) { return std::string(n - 1, '\n') + std::string(line) + "\n"; }

std::uint32_t line_start(std::uint32_t n) { return n - 1; }

TEST(RenderTest, FullDiagnosticWithLabelAndHelp) {
  SourceMap map;
  std::string text = on_line(12, "    k = foo + 1");
  map.add("m", text);
  std::uint32_t foo = line_start(12) + 8;
  Diagnostic d = Diagnostic(C::OV107, Span{0, foo, foo + 3}).with_label("label text").with_help("help text");
  EXPECT_EQ(render_diagnostic(map, d),
            "error[OV107]: unresolved symbol in an expression\n"
            "  --> m:12:9\n"
            "   |\n"
            "12 |     k = foo + 1\n"
            "   |         ^^^ label text\n"
            "   |\n"
            "   = help: help text\n");
}

TEST(RenderTest, SingleDigitLineHasTwoSpaceGutter) {
  SourceMap map;
  map.add("model.ovm", on_line(7, "abc"));
  EXPECT_EQ(render_diagnostic(map, Diagnostic(C::OV010, Span{0, line_start(7), line_start(7) + 1})),
            "warning[OV010]: block identifier does not begin with an uppercase letter\n"
            "  --> model.ovm:7:1\n"
            "   |\n"
            " 7 | abc\n"
            "   | ^\n");
}

TEST(RenderTest, ThreeDigitLineWidensGutter) {
  SourceMap map;
  map.add("m", on_line(100, "xy"));
  EXPECT_EQ(render_diagnostic(map, Diagnostic(C::OV001, Span{0, line_start(100) + 1, line_start(100) + 2})),
            "error[OV001]: unexpected token\n"
            "  --> m:100:2\n"
            "    |\n"
            "100 | xy\n"
            "    |  ^\n");
}

struct CaretCase {
  const char* name;
  std::string line;
  std::uint32_t column_offset;  // bytes from the line start
  std::uint32_t length;         // span length in bytes
  std::string caret_line;       // expected, after the gutter and " | "
};

class CaretTest : public testing::TestWithParam<CaretCase> {};

TEST_P(CaretTest, CaretCount) {
  const CaretCase& c = GetParam();
  SourceMap map;
  map.add("m", c.line + "\nnext line\n");
  std::string out = render_diagnostic(map, Diagnostic(C::OV001, Span{0, c.column_offset, c.column_offset + c.length}));
  std::string expected_tail = "   | " + c.caret_line + "\n";
  ASSERT_GE(out.size(), expected_tail.size());
  EXPECT_EQ(out.substr(out.size() - expected_tail.size()), expected_tail);
}

INSTANTIATE_TEST_SUITE_P(
    Spans, CaretTest,
    testing::Values(CaretCase{"empty_span_one_caret", "abcdef", 2, 0, "  ^"},
                    CaretCase{"at_end_of_line_one_caret", "abc", 3, 1, "   ^"},
                    CaretCase{"long_span_capped_at_line_end", "abcdefgh", 5, 10, "     ^^^"},
                    CaretCase{"span_over_lines_stops_at_first_line_end", "abcd", 1, 12, " ^^^"},
                    // Two two-byte characters before the span: four spaces (bytes), and the cap is
                    // the line's 5 characters minus that 4-byte offset.
                    CaretCase{"multibyte_before_span", "\xC3\xA9\xC3\xA9xyz", 4, 3, "    ^"},
                    // The difference clamps at zero: still one caret.
                    CaretCase{"multibyte_offset_beyond_character_count", "\xC3\xA9\xC3\xA9\xC3\xA9z", 6, 1, "      ^"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RenderTest, EmptyLastLineAfterFinalLineFeed) {
  SourceMap map;
  map.add("m", "META\n");
  EXPECT_EQ(render_diagnostic(map, Diagnostic(C::OV001, Span{0, 5, 5})),
            "error[OV001]: unexpected token\n"
            "  --> m:2:1\n"
            "   |\n"
            " 2 | \n"
            "   | ^\n");
}

TEST(RenderTest, NotesInOrderAcrossFiles) {
  SourceMap map;
  map.add("a.ovm", "RESERVOIR A\nRESERVOIR A\n");
  map.add("b.ovm", "\n\n  x\n");
  Diagnostic d = Diagnostic(C::OV102, Span{0, 22, 23})
                     .with_label("duplicate")
                     .with_note(Span{0, 10, 11}, "first declared here")
                     .with_note(Span{1, 4, 5}, "also here");
  d.notes.push_back(Note{std::nullopt, Span{1, 0, 0}});
  EXPECT_EQ(render_diagnostic(map, d),
            "error[OV102]: duplicate name in the global namespace\n"
            "  --> a.ovm:2:11\n"
            "   |\n"
            " 2 | RESERVOIR A\n"
            "   |           ^ duplicate\n"
            "   = note: first declared here (a.ovm:1:11)\n"
            "   = note: also here (b.ovm:3:3)\n"
            "   = note:  (b.ovm:1:1)\n");
}

TEST(RenderTest, CrLfLineShownWithoutLineEnd) {
  SourceMap map;
  map.add("m", "abc\r\n");
  EXPECT_EQ(render_diagnostic(map, Diagnostic(C::OV001, Span{0, 0, 5})),
            "error[OV001]: unexpected token\n"
            "  --> m:1:1\n"
            "   |\n"
            " 1 | abc\n"
            "   | ^^^\n");
}

}  // namespace
}  // namespace ovm::diagnostics
