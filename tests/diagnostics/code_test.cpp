#include "diagnostics/code.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

namespace ovm::diagnostics {
namespace {

TEST(CatalogueTest, FortyOneCodesInOrder) {
  ASSERT_EQ(DiagnosticCode::count, 41u);
  EXPECT_EQ(DiagnosticCode::from_index(0).as_str(), "OV001");
  EXPECT_EQ(DiagnosticCode::from_index(10).as_str(), "OV011");
  EXPECT_EQ(DiagnosticCode::from_index(11).as_str(), "OV101");
  EXPECT_EQ(DiagnosticCode::from_index(22).as_str(), "OV202");
  EXPECT_EQ(DiagnosticCode::from_index(23).as_str(), "OV204");
  EXPECT_EQ(DiagnosticCode::from_index(40).as_str(), "OV404");
  for (std::size_t i = 1; i < DiagnosticCode::count; ++i) {
    EXPECT_LT(DiagnosticCode::from_index(i - 1).as_str(), DiagnosticCode::from_index(i).as_str());
  }
}

TEST(CatalogueTest, ExactlyFiveWarnings) {
  std::set<std::string> warnings;
  for (std::size_t i = 0; i < DiagnosticCode::count; ++i) {
    DiagnosticCode code = DiagnosticCode::from_index(i);
    if (!code.is_error()) warnings.insert(std::string(code.as_str()));
    EXPECT_EQ(code.is_error(), code.severity() == Severity::Error);
  }
  EXPECT_EQ(warnings, (std::set<std::string>{"OV010", "OV011", "OV108", "OV212", "OV306"}));
}

TEST(CatalogueTest, PhaseIsTheHundredsDigit) {
  for (std::size_t i = 0; i < DiagnosticCode::count; ++i) {
    DiagnosticCode code = DiagnosticCode::from_index(i);
    EXPECT_EQ(static_cast<int>(code.phase()), code.as_str()[2] - '0') << code.as_str();
  }
  EXPECT_EQ(as_str(DiagnosticCode(DiagnosticCode::OV215).phase()), "validation");
  EXPECT_EQ(as_str(DiagnosticCode(DiagnosticCode::OV403).phase()), "backend");
  EXPECT_EQ(as_str(Severity::Warning), "warning");
  EXPECT_EQ(as_str(Severity::Error), "error");
}

TEST(CatalogueTest, Titles) {
  EXPECT_EQ(DiagnosticCode(DiagnosticCode::OV001).title(), "unexpected token");
  EXPECT_EQ(DiagnosticCode(DiagnosticCode::OV213).title(), "mutually exclusive properties both present");
  EXPECT_EQ(DiagnosticCode(DiagnosticCode::OV404).title(), "a backend series read outside what it recorded");
}

TEST(ParseCodeTest, AnyAsciiCaseFindsTheCode) {
  for (std::size_t i = 0; i < DiagnosticCode::count; ++i) {
    DiagnosticCode code = DiagnosticCode::from_index(i);
    std::string lower(code.as_str());
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(DiagnosticCode::parse(lower), code);
    EXPECT_EQ(DiagnosticCode::parse(code.as_str()), code);
  }
  EXPECT_EQ(DiagnosticCode::parse("Ov213"), DiagnosticCode(DiagnosticCode::OV213));
  EXPECT_EQ(DiagnosticCode::parse("oV213"), DiagnosticCode(DiagnosticCode::OV213));
}

TEST(ParseCodeTest, OtherTextsFindNothing) {
  for (const char* text : {"OV203", "OV206", "OV209", "OV2130", "OV21", "", "OV0011", " OV01", "0V001", "OV001 "}) {
    EXPECT_FALSE(DiagnosticCode::parse(text).has_value()) << text;
  }
  // Only ASCII letters fold: a dotless or accented letter never matches.
  EXPECT_FALSE(DiagnosticCode::parse("\xC3\x96V01").has_value());
}

}  // namespace
}  // namespace ovm::diagnostics
