#include "engine/simulation/model_identity.hpp"

namespace ovm::engine {

ir::ResultsModel model_identity(const ir::ModelGraph& model) {
  ir::ResultsModel identity{model.provenance.ir_version, model.provenance.source_path, model.provenance.source_sha256};
  if (model.simulation) identity.simulation = model.simulation->name;
  return identity;
}

}  // namespace ovm::engine
