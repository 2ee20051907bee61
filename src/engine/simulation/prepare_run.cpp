#include "engine/simulation/prepare_run.hpp"

#include <string>

#include "diagnostics/message_text.hpp"
#include "engine/phreeqc/phreeqc_locate.hpp"

namespace ovm::engine {

std::variant<SimulationState, EngineError> prepare_run(ir::ModelGraph model) {
  // The engine provides PHREEQC alone, and only when an executable can be found.
  for (const std::string& capability : model.requires_) {
    if (capability == "phreeqc" && find_phreeqc_executable()) continue;
    return EngineError{"OV401", diagnostics::fill_message("capability `{}` is not provided by this engine", {capability})};
  }

  SimulationState state;
  for (const ir::Reservoir& reservoir : model.reservoirs) {
    state.reservoirs.push_back(initial_reservoir_state(reservoir, model.isotopes));
  }
  state.model = std::move(model);
  return state;
}

}  // namespace ovm::engine
