#include "engine/ovdb/ovdb_standards.hpp"

namespace ovm::engine {
namespace {

const DatabaseStandard* first_standard_for(const DatabaseSet& set, const std::string& notation) {
  for (const DatabaseStandard& standard : set.standards) {
    if (standard.ratio == notation) return &standard;
  }
  return nullptr;
}

}  // namespace

std::vector<TakenStandard> fill_standards_from_databases(ir::ModelGraph& graph, const DatabaseSet& set) {
  std::vector<TakenStandard> taken;
  for (ir::IsotopeSystem& system : graph.isotopes) {
    if (system.standard) continue;
    const DatabaseStandard* standard = first_standard_for(set, system.notation);
    if (standard == nullptr) continue;
    system.standard = ir::Standard{standard->name, standard->value, standard->uncertainty};
    taken.push_back(TakenStandard{system.notation, standard->source});
  }
  return taken;
}

}  // namespace ovm::engine
