#pragma once

#include <cstddef>
#include <string>

namespace ovm::bench {

// A valid model of at least `bytes` bytes: one Cr(VI) reduction unit (reservoir, process,
// fractionation, kinetics and a rate parameter) after another, each with names of its own.
std::string generate_model(std::size_t bytes);

}  // namespace ovm::bench
