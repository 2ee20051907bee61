#include "ir/lower/lower_model.hpp"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "diagnostics/text_match.hpp"
#include "ir/lower/lower_blocks.hpp"
#include "ir/lower/lower_context.hpp"
#include "ir/lower/lower_declared.hpp"
#include "ir/lower/lower_values.hpp"

namespace ovm::ir {

namespace {

// The lower-cased keyword of every non-core kind the model uses, each once, sorted; kinds that
// no pass lowers count too, so the engine can refuse a model it cannot run.
std::vector<std::string> required_capabilities(std::span<const sema::BlockSpec* const> kinds) {
  std::vector<std::string> needed;
  for (const sema::BlockSpec* kind : kinds) {
    if (kind == nullptr || kind->profile == sema::Profile::Core) continue;
    std::string keyword = diagnostics::lowered_ascii(kind->name);
    if (std::find(needed.begin(), needed.end(), keyword) == needed.end()) needed.push_back(std::move(keyword));
  }
  std::sort(needed.begin(), needed.end());
  return needed;
}

// Room for the records that blocks add one each, and for a parameter per definition, counted
// before lowering: a large model's graph lists then take their size at once instead of
// doubling, which holds the old and the new copy together while the tree is still held.
void reserve_graph(LoweringContext& context, std::span<const sema::BlockSpec* const> kinds) {
  std::size_t reservoirs = 0;
  std::size_t processes = 0;
  std::size_t samples = 0;
  for (const sema::BlockSpec* spec : kinds) {
    if (spec == nullptr) continue;
    std::string_view kind = spec->name;
    if (kind == "RESERVOIR") ++reservoirs;
    if (kind == "PROCESS") ++processes;
    if (kind == "SAMPLE") ++samples;
  }
  context.graph.reservoirs.reserve(reservoirs);
  context.graph.processes.reserve(processes);
  context.graph.samples.reserve(samples);
  context.graph.parameters.reserve(context.parameter_definitions.size());
}

// Past the last pass: the mark of a block that no pass lowers.
constexpr std::uint8_t no_pass = lowering_pass_sizes.size();

// The pass that lowers each block, found once per kind: the passes then read a byte per block
// instead of comparing each block's keyword with theirs.
std::vector<std::uint8_t> block_passes(std::span<const sema::BlockSpec* const> kinds) {
  std::vector<std::pair<const sema::BlockSpec*, std::uint8_t>> known;
  auto pass_of = [&](const sema::BlockSpec* kind) {
    for (const auto& [spec, pass] : known) {
      if (spec == kind) return pass;
    }
    std::uint8_t pass = no_pass;
    std::size_t first = 0;
    for (std::uint8_t p = 0; p < lowering_pass_sizes.size() && kind != nullptr; ++p) {
      auto keywords = std::span(lowering_passes).subspan(first, lowering_pass_sizes[p]);
      if (std::find(keywords.begin(), keywords.end(), kind->name) != keywords.end()) pass = p;
      first += lowering_pass_sizes[p];
    }
    known.emplace_back(kind, pass);
    return pass;
  };
  std::vector<std::uint8_t> passes;
  passes.reserve(kinds.size());
  for (const sema::BlockSpec* kind : kinds) passes.push_back(pass_of(kind));
  return passes;
}

}  // namespace

std::vector<const sema::BlockSpec*> block_kinds(const sema::Analysis& analysis) {
  std::vector<const sema::BlockSpec*> kinds;
  kinds.reserve(analysis.resolution.blocks.size());
  for (const sema::BlockResolution& block : analysis.resolution.blocks) kinds.push_back(block.spec);
  return kinds;
}

ModelGraph lower_model(const std::vector<syntax::Block>& blocks, std::string_view source,
                       const sema::Analysis& analysis, Provenance provenance) {
  return lower_model(blocks, source, block_kinds(analysis), std::move(provenance));
}

ModelGraph lower_model(const std::vector<syntax::Block>& blocks, std::string_view source,
                       std::span<const sema::BlockSpec* const> kinds, Provenance provenance) {
  LoweringContext context;
  context.source = source;
  context.graph.provenance = std::move(provenance);
  context.graph.provenance.ir_version = std::string(lowered_ir_version);

  gather_parameter_definitions(context, blocks, kinds);
  reserve_graph(context, kinds);
  std::vector<std::uint8_t> passes = block_passes(kinds);
  std::span<const std::string_view> remaining(lowering_passes);
  for (std::uint8_t p = 0; p < lowering_pass_sizes.size(); ++p) {
    std::span<const std::string_view> pass = remaining.first(lowering_pass_sizes[p]);
    if (std::find(pass.begin(), pass.end(), "PARAMETERS") != pass.end()) {
      declare_model_parameters(context, blocks, kinds);
    }
    lower_blocks(context, blocks, kinds, passes, p);
    remaining = remaining.subspan(lowering_pass_sizes[p]);
  }
  context.graph.requires_ = required_capabilities(kinds);
  return std::move(context.graph);
}

}  // namespace ovm::ir
