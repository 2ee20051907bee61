#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "sema/resolution.hpp"
#include "sema/validate_context.hpp"
#include "syntax/tree.hpp"

namespace ovm::sema {

// A context holding every model-wide fact the block checks read, and no diagnostic yet.
// Declarations it cannot understand are left out silently: the block checks report them.
ValidationContext gather_model_facts(const syntax::ParseOutput& tree, const Resolution& resolution);

// The index key of a declared ratio: its element and numerator, what a delta symbol names.
std::uint32_t ratio_key(std::string_view element, std::uint16_t numerator);

// The first declared ratio with this element and numerator, or null; `key` is their ratio_key.
const DeclaredRatio* find_declared_ratio(const ValidationContext& context, std::uint32_t key,
                                         std::string_view element, std::uint16_t numerator);

// Whether statements of the block may define parameters: PARAMETERS, and a named block of a
// kind with local ones. The statements of other blocks need not be read.
bool defines_parameters(const BlockSpec& kind, const syntax::Block& block);

// The parameter the statement of the block defines (PARAMETERS: `name = expression`; a kind
// with local ones: `parameter name = expression`), or none.
std::optional<KeyedDefinition> parameter_definition(const BlockSpec& kind, const syntax::Block& block,
                                                    const syntax::Statement& statement);

// The place in `parameter_definitions` of the parameter `name` of the block named `owner`, or of
// PARAMETERS when `owner` is empty; none when no such parameter is defined.
std::optional<std::size_t> parameter_position(const ValidationContext& context, std::string_view owner,
                                              std::string_view name);

// Whether the name is a parameter or a backend value of the model.
bool is_scalar_name(const ValidationContext& context, std::string_view name);

// Whether a STANDARD block declares the name.
bool is_declared_standard(const ValidationContext& context, std::string_view name);

}  // namespace ovm::sema
