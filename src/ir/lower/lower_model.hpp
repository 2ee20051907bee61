#pragma once

#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "ir/graph/graph_provenance.hpp"
#include "ir/graph/model_graph.hpp"
#include "sema/analysis.hpp"
#include "syntax/tree.hpp"

namespace ovm::ir {

// The 19 lowered block keywords, read as nine consecutive passes: each pass only finds what
// earlier passes, or earlier blocks of its own pass, have stored.
inline constexpr auto lowering_passes = std::to_array<std::string_view>({
    "UNITS",                                       // 1
    "TITLE", "META", "DATABASE", "CONDITIONS",     // 2
    "STANDARD",                                    // 3
    "PHREEQC",                                     // 4
    "PARAMETERS", "SPECIES", "ISOTOPES",           // 5
    "RESERVOIR", "SAMPLE",                         // 6
    "PROCESS",                                     // 7
    "FRACTIONATION", "KINETICS",                   // 8
    "MODEL", "IDENTIFY", "OUTPUT", "EXPORT",       // 9
});

// How many keywords of `lowering_passes` each pass takes, in order.
inline constexpr auto lowering_pass_sizes = std::to_array<std::size_t>({1, 4, 1, 1, 3, 2, 1, 2, 4});

// The kind of each block the analysis matched its header to, null where it matched none: all
// that lowering reads of the analysis.
std::vector<const sema::BlockSpec*> block_kinds(const sema::Analysis& analysis);

// The graph of a model that passed the semantic checks. Never fails and reports nothing: what
// cannot be lowered is left out. `blocks` are the tree's, whose texts view `source`; only the
// per-block kinds of the analysis are read. The provenance is taken over with its version set.
ModelGraph lower_model(const std::vector<syntax::Block>& blocks, std::string_view source,
                       const sema::Analysis& analysis, Provenance provenance);
// The same from the kinds alone, one per block, so that the analysis can go before lowering.
ModelGraph lower_model(const std::vector<syntax::Block>& blocks, std::string_view source,
                       std::span<const sema::BlockSpec* const> kinds, Provenance provenance);

}  // namespace ovm::ir
