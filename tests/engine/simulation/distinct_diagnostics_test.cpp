#include "engine/simulation/distinct_diagnostics.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace ovm::engine {
namespace {

TEST(DistinctDiagnosticsTest, KeepsTheFirstOfEachCodeSeverityAndMessage) {
  const ir::ResultsDiagnostic note{"OV000", "note", "decay on 53Cr/52Cr: factor from Smith 2020"};
  const ir::ResultsDiagnostic warning{"OV300", "warning", "decay on 53Cr/52Cr: applied outside its range"};
  const ir::ResultsDiagnostic same_text_as_warning{"OV300", "note", "decay on 53Cr/52Cr: applied outside its range"};
  const ir::ResultsDiagnostic other_code{"OV306", "warning", "decay on 53Cr/52Cr: applied outside its range"};
  ir::ResultsDiagnostic at_a_row = note;
  at_a_row.at_row = 4;  // the row is not part of what repeats

  std::vector<ir::ResultsDiagnostic> diagnostics{note,    warning, note, same_text_as_warning,
                                                 warning, at_a_row, other_code, note};
  drop_repeated_diagnostics(diagnostics);
  EXPECT_EQ(diagnostics, (std::vector<ir::ResultsDiagnostic>{note, warning, same_text_as_warning, other_code}));

  std::vector<ir::ResultsDiagnostic> none;
  drop_repeated_diagnostics(none);
  EXPECT_TRUE(none.empty());
}

TEST(DistinctDiagnosticsTest, AMillionRepeatsLeaveOne) {
  std::vector<ir::ResultsDiagnostic> diagnostics(1'000'000, ir::ResultsDiagnostic{"OV000", "note", "same"});
  drop_repeated_diagnostics(diagnostics);
  EXPECT_EQ(diagnostics, (std::vector<ir::ResultsDiagnostic>{{"OV000", "note", "same"}}));
}

}  // namespace
}  // namespace ovm::engine
