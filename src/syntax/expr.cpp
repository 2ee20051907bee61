#include "syntax/expr.hpp"

#include <array>

namespace ovm::syntax {
namespace {

constexpr std::array<std::string_view, 5> binary_op_texts = {"+", "-", "*", "/", "^"};
constexpr std::array<std::string_view, 6> compare_op_texts = {"<", "<=", ">", ">=", "==", "!="};

}  // namespace

std::string_view as_str(SyntaxBinaryOp op) { return binary_op_texts[static_cast<std::size_t>(op)]; }

std::string_view as_str(CompareOp op) { return compare_op_texts[static_cast<std::size_t>(op)]; }

}  // namespace ovm::syntax
