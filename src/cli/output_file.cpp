#include "cli/output_file.hpp"

#include "diagnostics/text_file.hpp"
#include "diagnostics/utf8.hpp"

namespace ovm::cli {

bool write_output_file(const std::string& input, const std::string& output, const std::string& text,
                       Console& console) {
  return write_output_file(
      input, output, [&text](const std::function<bool(std::string_view)>& put) { return put(text); }, console);
}

bool write_output_file(const std::string& input, const std::string& output, const diagnostics::TextPieces& pieces,
                       Console& console) {
  std::string shown = diagnostics::display_text(output);
  if (diagnostics::same_file(input, output)) {
    write_err(console, shown + ": is the same file as the input " + diagnostics::display_text(input) +
                           "; refusing to overwrite it\n");
    return false;
  }
  bool unmade = false;  // the pieces failed of themselves, not for want of room or rights
  auto watched = [&](const std::function<bool(std::string_view)>& put) {
    bool refused = false;
    bool done = pieces([&](std::string_view piece) { return put(piece) || (refused = true, false); });
    unmade = !done && !refused;
    return done;
  };
  if (auto failure = diagnostics::write_file(output, watched)) {
    if (!unmade) write_err(console, shown + ": " + failure->reason + "\n");
    return false;
  }
  return true;
}

}  // namespace ovm::cli
