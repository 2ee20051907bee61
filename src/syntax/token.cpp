#include "syntax/token.hpp"

#include <array>

namespace ovm::syntax {
namespace {

constexpr std::array<std::string_view, token_kind_count> display_names = {{
#define OVM_TOKEN(kind, display) display,
#include "syntax/token_kinds.def"
#undef OVM_TOKEN
}};

}  // namespace

std::string_view display_name(TokenKind kind) { return display_names[static_cast<std::size_t>(kind)]; }

}  // namespace ovm::syntax
