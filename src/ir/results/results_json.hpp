#pragma once

#include <string>
#include <variant>

#include "ir/json/json_writer.hpp"
#include "ir/results/results_file.hpp"

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

// The failure `results_to_json` would meet, found without writing the rows, which hold only
// numbers and so cannot fail.
std::optional<ResultsError> results_json_error(const ResultsFile& results);

// Writes the same text piece by piece into `put`, so that the rows are never held as text
// whole; false when `put` refused a piece or the results do not serialise.
bool write_results_json(const ResultsFile& results, const std::function<bool(std::string_view)>& put);

}  // namespace ovm::ir
