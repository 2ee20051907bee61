#pragma once

#include <array>
#include <string>
#include <string_view>

namespace ovm::sema {

// The functions an expression may call, in the order of the model graph's `Function`.
inline constexpr auto function_names = std::to_array<std::string_view>({
    "exp", "ln", "log10", "sqrt", "abs", "pow", "min", "max",
});

// Byte for byte: `Exp` is no function.
bool is_function_name(std::string_view name);

}  // namespace ovm::sema
