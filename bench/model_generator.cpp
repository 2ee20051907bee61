#include "model_generator.hpp"

namespace ovm::bench {
namespace {

constexpr const char* header =
    "TITLE\n"
    "    Many aquifers, each with its own Cr(VI) reduction\n"
    "\n"
    "META\n"
    "    author \"ovm benchmark\"\n"
    "    date 2024-05-01\n"
    "    version 1.0\n"
    "    language 0.5\n"
    "    description \"Generated to measure the front end\"\n"
    "    license \"CC-BY-4.0\"\n"
    "\n"
    "UNITS\n"
    "    concentration umol/kgw\n"
    "    time d\n"
    "    temperature C\n"
    "\n"
    "CONDITIONS\n"
    "    temperature 15 C\n"
    "    pH 7.2\n"
    "\n"
    "ISOTOPES\n"
    "    mode absolute\n"
    "    ratio 53Cr/52Cr standard NIST979\n"
    "\n"
    "STANDARD\n"
    "    standard NIST979 0.113386 ratio 53Cr/52Cr uncertainty 0.000005\n"
    "\n"
    "MODEL Run\n"
    "    step 1 d\n"
    "    until Aquifer_0.Cr(VI) < 2 umol/kgw\n"
    "\n"
    "OUTPUT\n"
    "    variable time\n"
    "    variable Aquifer_0.Cr(VI)\n"
    "    variable Aquifer_0.delta53Cr\n"
    "    every 1 d\n";

void append_unit(std::string& out, std::string& parameters, std::size_t i) {
  std::string n = std::to_string(i);
  parameters += "    k_" + n + " = 0.05 * (1 + " + n + " / 100000) 1/d\n";
  out += "\nRESERVOIR Aquifer_" + n +
         "\n    volume 1000 L\n    temperature 15 C\n    Cr(VI) 20\n    Cr(III) 0\n    delta53Cr 0.5\n";
  out += "\nPROCESS Reduction_" + n + "\n    type reduction\n    from Aquifer_" + n + "\n    into Aquifer_" + n +
         "\n    reactant Cr(VI)\n    product Cr(III)\n    context natural\n    regime kinetic\n";
  out += "\nFRACTIONATION Reduction_" + n + "\n    isotope 53Cr/52Cr\n    epsilon -3.4 permil\n";
  out += "\nKINETICS Reduction_" + n + "\n    rate first_order\n    constant k_" + n + "\n";
}

}  // namespace

std::string generate_model(std::size_t bytes) {
  std::string out = header;
  std::string parameters = "\nPARAMETERS\n";
  out.reserve(bytes + 1024);
  for (std::size_t i = 0; out.size() + parameters.size() < bytes; ++i) append_unit(out, parameters, i);
  return out + parameters;
}

std::string generate_rayleigh_model(const RayleighModel& shape) {
  std::string out =
      "TITLE\n    Closed-system Cr(VI) reduction in many aquifers\n\n"
      "UNITS\n    concentration umol/kgw\n    time d\n    temperature C\n\n"
      "CONDITIONS\n    temperature 15 C\n\n"
      "ISOTOPES\n    mode absolute\n    ratio 53Cr/52Cr standard NIST979\n\n"
      "STANDARD\n    standard NIST979 0.113386 ratio 53Cr/52Cr uncertainty 0.000005\n\n"
      "PARAMETERS\n";
  for (std::size_t i = 0; i < shape.unused; ++i) out += "    unused_" + std::to_string(i) + " = 2 * 3 + 1\n";
  for (std::size_t i = 0; i < shape.chain; ++i) {
    out += "    link_" + std::to_string(i) + " = " + (i == 0 ? std::string("1") : "link_" + std::to_string(i - 1)) +
           " * 1\n";
  }
  for (std::size_t i = 0; i < shape.processes; ++i) {
    // 1e-6 to 2e-6 per day: a million steps leave a third to two thirds of each pool.
    std::string rate = std::to_string(10 + i * 10 / shape.processes) + "e-7";
    if (shape.chain > 0) rate += " * link_" + std::to_string(shape.chain - 1);
    out += "    k_" + std::to_string(i) + " = " + rate + "\n";
  }
  for (std::size_t i = 0; i < shape.processes; ++i) {
    std::string n = std::to_string(i);
    out += "\nRESERVOIR Aquifer_" + n + "\n    volume 1000 L\n    temperature 15 C\n    Cr(VI) 20\n    Cr(III) 0\n" +
           "    delta53Cr 0.5\n";
    out += "\nPROCESS Reduction_" + n + "\n    type reduction\n    from Aquifer_" + n + "\n    into Aquifer_" + n +
           "\n    reactant Cr(VI)\n    product Cr(III)\n    context natural\n    regime kinetic\n";
    out += "\nFRACTIONATION Reduction_" + n + "\n    isotope 53Cr/52Cr\n    epsilon -3.4 permil\n";
    out += "\nKINETICS Reduction_" + n + "\n    rate first_order\n    constant k_" + n + "\n";
  }
  out += "\nMODEL Run\n    step 1 d\n    until time >= " + std::to_string(shape.steps) + " d\n";
  out += "\nOUTPUT\n    variable time\n    variable Aquifer_0.Cr(VI)\n    variable Aquifer_0.delta53Cr\n"
         "    variable Aquifer_" + std::to_string(shape.processes - 1) + ".Cr(III)\n";
  return out;
}

}  // namespace ovm::bench
