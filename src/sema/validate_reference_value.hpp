#pragma once

#include <string>
#include <string_view>

#include "sema/validate_context.hpp"
#include "syntax/value.hpp"

namespace ovm::sema {

// Checks that a value names what lowering reads it as: an entity of `kind` (Reservoir,
// Process, Sample, Law) written as its name, or for the kind Species a chemical species.
// `resolved_as` is the kind name resolution looked the value up as; whatever resolution
// reports for it is not reported again. A built-in name is accepted by resolution but names
// no entity, so it is looked up here.
void check_reference_value(ValidationContext& context, const syntax::Value& value, std::string_view kind,
                           std::string_view resolved_as);

// The value as the model writes it: a qualified name with its parts joined by dots, a number
// in its shortest form, anything else as its text.
std::string written_text(const syntax::Value& value);

}  // namespace ovm::sema
