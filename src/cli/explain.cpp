#include "cli/explain.hpp"

#include <array>

#include "diagnostics/utf8.hpp"

namespace ovm::cli {
namespace {

using diagnostics::DiagnosticCode;

constexpr std::array<Explanation, DiagnosticCode::count> explanations = {{
#define OVM_EXPLANATION(code, explanation, rejected, accepted) {DiagnosticCode::code, explanation, rejected, accepted},
#include "cli/explanations.def"
#undef OVM_EXPLANATION
}};

constexpr bool in_catalogue_order() {
  for (std::size_t i = 0; i < explanations.size(); ++i) {
    if (explanations[i].code.index() != i) return false;
  }
  return true;
}
static_assert(in_catalogue_order(), "explanations must follow the catalogue order");

void append_example(std::string& out, std::string_view heading, std::string_view example) {
  out += "\n";
  out += heading;
  out += ":\n\n";
  std::size_t begin = 0;
  while (true) {
    std::size_t end = example.find('\n', begin);
    out += "    ";
    out += example.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
    out += '\n';
    if (end == std::string_view::npos) break;
    begin = end + 1;
  }
}

}  // namespace

const Explanation& explanation_of(DiagnosticCode code) { return explanations[code.index()]; }

std::string explain_text(DiagnosticCode code) {
  const Explanation& entry = explanation_of(code);
  std::string out;
  out += code.as_str();
  out += ": ";
  out += code.title();
  out += "\nseverity: ";
  out += as_str(code.severity());
  out += "\nphase: ";
  out += as_str(code.phase());
  out += "\n\n";
  out += entry.explanation;
  out += '\n';
  if (!entry.rejected.empty()) {
    append_example(out, "Rejected", entry.rejected);
    append_example(out, "Accepted", entry.accepted);
  }
  return out;
}

int cmd_explain(std::span<const std::string> positionals, Console& console) {
  if (positionals.empty()) {
    write_err(console, "explain needs a code, for example OV213\n");
    return 2;
  }
  std::optional<DiagnosticCode> code = DiagnosticCode::parse(positionals[0]);
  if (!code) {
    write_err(console, diagnostics::display_text(positionals[0]) + " is not a known diagnostic code\n");
    return 2;
  }
  write_out(console, explain_text(*code));
  return 0;
}

}  // namespace ovm::cli
