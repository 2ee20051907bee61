#include "sema/message_number.hpp"

#include "diagnostics/number_text.hpp"

namespace ovm::sema {

std::string message_number_text(double value) { return diagnostics::plain_decimal(value); }

}  // namespace ovm::sema
