#include "diagnostics/diagnostic.hpp"

#include <algorithm>
#include <iterator>
#include <tuple>

namespace ovm::diagnostics {

Diagnostic Diagnostic::with_label(std::string_view text) && {
  label = std::string(text);
  return std::move(*this);
}

Diagnostic Diagnostic::with_help(std::string_view text) && {
  help = std::string(text);
  return std::move(*this);
}

Diagnostic Diagnostic::with_note(Span note_span, std::string_view text) && {
  notes.push_back(Note{std::string(text), note_span});
  return std::move(*this);
}

void push_diagnostic(Diagnostics& list, Diagnostic diagnostic) { list.push_back(std::move(diagnostic)); }

void append_diagnostics(Diagnostics& list, Diagnostics&& other) {
  list.insert(list.end(), std::make_move_iterator(other.begin()), std::make_move_iterator(other.end()));
  other.clear();
}

bool has_errors(const Diagnostics& list) {
  return std::any_of(list.begin(), list.end(), [](const Diagnostic& d) { return d.is_error(); });
}

Diagnostics sort_and_dedup(Diagnostics list) {
  auto key = [](const Diagnostic& d) { return std::tuple(d.span.file, d.span.start, d.code.index()); };
  std::stable_sort(list.begin(), list.end(), [&](const Diagnostic& a, const Diagnostic& b) { return key(a) < key(b); });

  Diagnostics kept;
  kept.reserve(list.size());
  for (Diagnostic& d : list) {
    if (!kept.empty()) {
      const Diagnostic& last = kept.back();
      if (last.code == d.code && last.span == d.span) continue;
    }
    kept.push_back(std::move(d));
  }
  return kept;
}

}  // namespace ovm::diagnostics
