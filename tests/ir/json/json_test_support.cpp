#include "json_test_support.hpp"

#include <gtest/gtest.h>

#include "ir/json/json_text.hpp"

namespace ovm::ir::testing {

std::string outcome(std::string_view text, const Read& read) {
  JsonStatus status = read_json_document(text, read);
  return status ? json_error_text(*status) : "ok";
}

KeptValue keep(std::string_view text) {
  KeptValue value;
  JsonStatus status = read_json_document(text, [&](JsonInput in) { return keep_value(*in.reader, &value); });
  EXPECT_FALSE(status) << text << ": " << json_error_text(*status);
  return value;
}

std::string kept_outcome(std::string_view text, const Read& read) {
  KeptValue value = keep(text);
  JsonStatus status = read(kept_input(value));
  if (!status) return "ok";
  if (status->placed()) return "placed: " + json_error_text(*status);
  return status->message;
}

}  // namespace ovm::ir::testing
