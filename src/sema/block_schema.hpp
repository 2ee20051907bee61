#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "sema/profile.hpp"
#include "sema/property_schema.hpp"

namespace ovm::sema {

// One block kind. Every phase refers to a kind by a reference to its record in `block_table`.
struct BlockSpec {
  std::string_view name{};  // the keyword in upper case
  Profile profile = Profile::Core;
  bool takes_identifier = false;  // the header carries an identifier after the keyword
  // The entity kind the header identifier declares in the global namespace.
  std::optional<std::string_view> declares{};
  // The entity kind the header identifier must name instead (FRACTIONATION, KINETICS).
  std::optional<std::string_view> names{};
  // The key of the statement whose value selects the block's variant.
  std::optional<std::string_view> discriminator{};
  bool repeatable = false;
  bool content_line = false;      // the body is free content, not statements
  bool expressions_only = false;  // every statement is `name = expression`
  bool law_body = false;          // the body is a law
  bool species_lines = false;     // statements keyed by a chemical species are accepted
  bool delta_lines = false;       // statements keyed by a delta symbol are accepted
  bool local_parameters = false;  // `parameter` statements bind names local to the block
  bool implemented = true;        // clear for the reserved kinds, whose statements are not specified
  // The kind a shorthand stands for; documentation only.
  std::optional<std::string_view> expands_to{};
  std::string_view description{};  // documentation only
  std::span<const PropertySpec> properties{};
};

}  // namespace ovm::sema
