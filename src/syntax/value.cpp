#include "syntax/value.hpp"

#include <array>

namespace ovm::syntax {
namespace {

constexpr std::array<std::string_view, 9> value_kind_names = {
    "identifier", "chemical species", "delta symbol", "isotope ratio",    "number",
    "string",     "date",             "qualified name", "unreadable value",
};

}  // namespace

std::string_view display_name(ValueKind kind) { return value_kind_names[static_cast<std::size_t>(kind)]; }

}  // namespace ovm::syntax
