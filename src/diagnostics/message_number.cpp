#include "diagnostics/message_number.hpp"

#include "diagnostics/number_text.hpp"

namespace ovm::diagnostics {

std::string message_number_text(double value) { return diagnostics::plain_decimal(value); }

}  // namespace ovm::diagnostics
