#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "ir/lower/lower_context.hpp"
#include "sema/block_schema.hpp"
#include "syntax/tree.hpp"

namespace ovm::ir {

// Lowers, in source order, the blocks whose entry in `passes` is `pass`, each by its resolved
// kind's canonical keyword, not the header as written.
void lower_blocks(LoweringContext& context, const std::vector<syntax::Block>& blocks,
                  std::span<const sema::BlockSpec* const> kinds, std::span<const std::uint8_t> passes,
                  std::uint8_t pass);

// The lowering of one block of each kind that a pass names.
void lower_units(LoweringContext& context, const syntax::Block& block, const sema::BlockSpec& kind);
void lower_title(LoweringContext& context, const syntax::Block& block);
void lower_meta(LoweringContext& context, const syntax::Block& block);
void lower_database(LoweringContext& context, const syntax::Block& block);
void lower_conditions(LoweringContext& context, const syntax::Block& block);
void lower_standard(LoweringContext& context, const syntax::Block& block);
void lower_phreeqc(LoweringContext& context, const syntax::Block& block);
void lower_parameters(LoweringContext& context, const syntax::Block& block);
void lower_species(LoweringContext& context, const syntax::Block& block);
void lower_isotopes(LoweringContext& context, const syntax::Block& block);
void lower_reservoir(LoweringContext& context, const syntax::Block& block);
void lower_sample(LoweringContext& context, const syntax::Block& block);
void lower_process(LoweringContext& context, const syntax::Block& block);
void lower_fractionation(LoweringContext& context, const syntax::Block& block);
void lower_kinetics(LoweringContext& context, const syntax::Block& block);
void lower_simulation(LoweringContext& context, const syntax::Block& block);
void lower_identify(LoweringContext& context, const syntax::Block& block);
void lower_output(LoweringContext& context, const syntax::Block& block);
void lower_export(LoweringContext& context, const syntax::Block& block);

}  // namespace ovm::ir
