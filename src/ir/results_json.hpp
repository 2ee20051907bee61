#pragma once

#include <string>
#include <variant>

#include "ir/json_writer.hpp"
#include "ir/results_file.hpp"

namespace ovm::ir {

// The results file could not be written.
struct ResultsError {
  JsonWriteError writer_error;
};

// "writing results: {}" with the writer's message.
std::string results_error_text(const ResultsError& error);

// The text of the results file: pretty JSON with two blanks of indent and no newline at the
// end. Absent column fields, row indexes and database digests leave their keys out, and so
// does an empty list of backend runs; absent model texts are written `null`.
std::variant<std::string, ResultsError> results_to_json(const ResultsFile& results);

}  // namespace ovm::ir
