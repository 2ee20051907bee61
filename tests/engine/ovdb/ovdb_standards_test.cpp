#include "engine/ovdb/ovdb_standards.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ovm::engine {
namespace {

ir::IsotopeSystem system(const std::string& notation, std::optional<ir::Standard> standard = std::nullopt) {
  ir::IsotopeSystem result;
  result.notation = notation;
  result.standard = std::move(standard);
  return result;
}

DatabaseStandard standard(const std::string& name, const std::string& ratio, double value,
                          std::optional<double> uncertainty, const std::string& source) {
  return DatabaseStandard{name, ratio, value, uncertainty, source};
}

TEST(FillStandardsTest, FirstStandardOfTheRatioInLoadOrderFillsAMissingOne) {
  ir::ModelGraph graph;
  graph.isotopes = {system("53Cr/52Cr"), system("65Cu/63Cu", ir::Standard{"NIST 976", 0.4456, std::nullopt}),
                    system("56Fe/54Fe"), system("34S/32S")};
  DatabaseSet set;
  set.standards = {standard("IRMM-014", "56Fe/54Fe", 15.698, 0.001, "Taylor 1992 (fedb)"),
                   standard("SRM 979", "53Cr/52Cr", 0.113459, std::nullopt, "Shields 1966 (crdb)"),
                   standard("other", "53Cr/52Cr", 0.2, 0.1, "Later 2020 (crdb)"),
                   standard("SRM 976", "65Cu/63Cu", 0.44, std::nullopt, "Cu (cudb)"),
                   standard("lower", "34s/32s", 0.04, std::nullopt, "case (sdb)")};
  std::vector<TakenStandard> taken = fill_standards_from_databases(graph, set);
  EXPECT_EQ(taken, (std::vector<TakenStandard>{{"53Cr/52Cr", "Shields 1966 (crdb)"},
                                                 {"56Fe/54Fe", "Taylor 1992 (fedb)"}}));
  EXPECT_EQ(graph.isotopes[0].standard, (ir::Standard{"SRM 979", 0.113459, std::nullopt}));
  EXPECT_EQ(graph.isotopes[1].standard, (ir::Standard{"NIST 976", 0.4456, std::nullopt}));  // left alone
  EXPECT_EQ(graph.isotopes[2].standard, (ir::Standard{"IRMM-014", 15.698, 0.001}));
  EXPECT_EQ(graph.isotopes[3].standard, std::nullopt);  // the ratio is compared byte for byte
}

TEST(FillStandardsTest, EmptySetTakesNothing) {
  ir::ModelGraph graph;
  graph.isotopes = {system("53Cr/52Cr")};
  EXPECT_TRUE(fill_standards_from_databases(graph, DatabaseSet{}).empty());
  EXPECT_EQ(graph.isotopes[0].standard, std::nullopt);
}

}  // namespace
}  // namespace ovm::engine
