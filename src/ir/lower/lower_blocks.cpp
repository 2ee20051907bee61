#include "ir/lower/lower_blocks.hpp"

#include <array>

namespace ovm::ir {

namespace {

using KindLowering = void (*)(LoweringContext&, const syntax::Block&, const sema::BlockSpec&);

struct KindEntry {
  std::string_view keyword;
  KindLowering lower;
};

template <void (*Lower)(LoweringContext&, const syntax::Block&)>
void without_kind(LoweringContext& context, const syntax::Block& block, const sema::BlockSpec&) {
  Lower(context, block);
}

constexpr auto kind_lowerings = std::to_array<KindEntry>({
    {"UNITS", lower_units},
    {"TITLE", without_kind<lower_title>},
    {"META", without_kind<lower_meta>},
    {"DATABASE", without_kind<lower_database>},
    {"CONDITIONS", without_kind<lower_conditions>},
    {"STANDARD", without_kind<lower_standard>},
    {"PHREEQC", without_kind<lower_phreeqc>},
    {"PARAMETERS", without_kind<lower_parameters>},
    {"SPECIES", without_kind<lower_species>},
    {"ISOTOPES", without_kind<lower_isotopes>},
    {"RESERVOIR", without_kind<lower_reservoir>},
    {"SAMPLE", without_kind<lower_sample>},
    {"PROCESS", without_kind<lower_process>},
    {"FRACTIONATION", without_kind<lower_fractionation>},
    {"KINETICS", without_kind<lower_kinetics>},
    {"MODEL", without_kind<lower_simulation>},
    {"IDENTIFY", without_kind<lower_identify>},
    {"OUTPUT", without_kind<lower_output>},
    {"EXPORT", without_kind<lower_export>},
});

void lower_block(LoweringContext& context, const syntax::Block& block, const sema::BlockSpec& kind) {
  for (const KindEntry& entry : kind_lowerings) {
    if (entry.keyword == kind.name) {
      entry.lower(context, block, kind);
      return;
    }
  }
}

}  // namespace

void lower_blocks(LoweringContext& context, const std::vector<syntax::Block>& blocks,
                  std::span<const sema::BlockSpec* const> kinds, std::span<const std::uint8_t> passes,
                  std::uint8_t pass) {
  for (std::size_t i = 0; i < blocks.size() && i < kinds.size() && i < passes.size(); ++i) {
    if (passes[i] == pass && kinds[i] != nullptr) lower_block(context, blocks[i], *kinds[i]);
  }
}

}  // namespace ovm::ir
