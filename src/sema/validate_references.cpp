#include "sema/validate_references.hpp"

#include <algorithm>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <unordered_set>
#include <variant>
#include <vector>

#include "diagnostics/message_text.hpp"
#include "sema/block_table.hpp"
#include "sema/builtins.hpp"
#include "sema/isotope.hpp"
#include "sema/model_species.hpp"
#include "sema/resolution_messages.hpp"
#include "sema/suggest.hpp"
#include "sema/validate_facts.hpp"
#include "sema/validate_reading.hpp"
#include "sema/validate_reference_value.hpp"

namespace ovm::sema {
namespace {

using diagnostics::Diagnostic;
using diagnostics::DiagnosticCode;
using diagnostics::Span;
using syntax::ValueKind;

struct Part {
  std::string_view text;
  Span span;
};

constexpr std::string_view fraction_words[] = {"reacted", "remaining"};
constexpr std::string_view variable_help =
    "`variable` records `time`, a parameter, or what a reservoir holds written after a dot, as in `Sea.delta53Cr`";

// What the parts after a reservoir may name, as lowering resolves them. Gathered at the first
// dotted reference, the delta names at the first that needs them: most models have few.
class Names {
 public:
  Names(const ValidationContext& context, const syntax::ParseOutput& tree, const Resolution& resolution)
      : context_(context), tree_(tree), resolution_(resolution) {}

  bool is_species(std::string_view text) { return gathered().species_set.contains(text); }
  const std::vector<std::string_view>& species() { return gathered().species; }

  // The delta name of each declared ratio, once.
  const std::vector<std::string_view>& deltas() {
    if (!deltas_) {
      deltas_.emplace();
      std::unordered_set<std::string_view> seen;
      for (const DeclaredRatio& declared : context_.ratios) {
        std::string delta = "delta" + std::to_string(declared.ratio.numerator) + declared.ratio.element;
        if (seen.contains(delta)) continue;
        delta_texts_.push_back(std::move(delta));
        seen.insert(delta_texts_.back());
        deltas_->push_back(delta_texts_.back());
      }
    }
    return *deltas_;
  }

 private:
  struct Species {
    std::vector<std::string_view> species;
    std::unordered_set<std::string_view> species_set;
  };

  Species& gathered() {
    if (!species_) {
      species_.emplace();
      species_->species = model_species(tree_, resolution_);
      species_->species_set.insert(species_->species.begin(), species_->species.end());
    }
    return *species_;
  }

  const ValidationContext& context_;
  const syntax::ParseOutput& tree_;
  const Resolution& resolution_;
  std::optional<Species> species_;
  std::deque<std::string> delta_texts_;  // a deque: the views into it stay valid as it grows
  std::optional<std::vector<std::string_view>> deltas_;
};

// The parts of a qualified value with their spans. The parts are slices of the source text,
// like the value's span, so each lies at its distance from the first.
std::vector<Part> value_parts(const syntax::Value& value) {
  std::vector<Part> parts;
  std::span<const std::string_view> texts = value.parts();
  if (texts.empty()) return parts;
  const char* base = texts.front().data();
  for (std::string_view text : texts) {
    auto start = value.span.start + static_cast<std::uint32_t>(text.data() - base);
    parts.push_back(Part{text, Span{value.span.file, start, start + static_cast<std::uint32_t>(text.size())}});
  }
  return parts;
}

std::vector<Part> expr_parts(const syntax::SyntaxExpr::Qualified& node) {
  std::vector<Part> parts;
  for (const syntax::Name& name : node.path) parts.push_back(Part{name.text, name.span});
  return parts;
}

std::string joined(std::span<const Part> parts) {
  std::string text;
  for (const Part& part : parts) {
    if (!text.empty()) text += '.';
    text += part.text;
  }
  return text;
}

struct ReferenceCheck {
  ValidationContext& context;
  Names& names;

  void report(Diagnostic diagnostic) { push_diagnostic(context.diagnostics, std::move(diagnostic)); }

  void not_a_property(const Part& part, std::span<const Part> before, std::span<const std::string_view> candidates) {
    report(Diagnostic(DiagnosticCode::OV107, part.span)
               .with_label(diagnostics::fill_message("`{}` is not a property of `{}`", {part.text, joined(before)}))
               .with_help(unknown_name_help(part.text, candidates)));
  }

  void ends_here(const Part& part, std::span<const Part> before) {
    report(Diagnostic(DiagnosticCode::OV107, part.span)
               .with_label(diagnostics::fill_message("`{}` is not a property of `{}`", {part.text, joined(before)}))
               .with_help(diagnostics::fill_message("a reference ends at `{}`", {before.back().text})));
  }

  // A delta name: true when a declared ratio measures it; otherwise reported.
  bool delta_resolves(const Part& part, const Isotope& isotope) {
    if (find_declared_ratio(context, ratio_key(isotope.symbol, isotope.mass), isotope.symbol, isotope.mass)) {
      return true;
    }
    std::string isotope_text = std::to_string(isotope.mass) + isotope.symbol;
    const std::vector<std::string_view>& deltas = names.deltas();
    std::string help = deltas.empty() ? std::string("declare it in ISOTOPES before reading a composition")
                                      : unknown_name_help(part.text, deltas);
    report(Diagnostic(DiagnosticCode::OV107, part.span)
               .with_label(diagnostics::fill_message("no ratio for {} is declared", {isotope_text}))
               .with_help(help));
    return false;
  }

  // After the reservoir: a delta, or a species that `reacted`, `remaining` or a delta may follow.
  void tail(std::span<const Part> parts) {
    const Part& second = parts[1];
    if (std::optional<Isotope> isotope = parse_delta_name(second.text)) {
      if (delta_resolves(second, *isotope) && parts.size() > 2) ends_here(parts[2], parts.first(2));
      return;
    }
    if (!names.is_species(second.text)) {
      std::vector<std::string_view> candidates = names.species();
      candidates.insert(candidates.end(), names.deltas().begin(), names.deltas().end());
      return not_a_property(second, parts.first(1), candidates);
    }
    if (parts.size() == 2) return;
    const Part& third = parts[2];
    if (std::optional<Isotope> isotope = parse_delta_name(third.text)) {
      if (!delta_resolves(third, *isotope)) return;
    } else if (third.text != fraction_words[0] && third.text != fraction_words[1]) {
      std::vector<std::string_view> candidates(std::begin(fraction_words), std::end(fraction_words));
      candidates.insert(candidates.end(), names.deltas().begin(), names.deltas().end());
      return not_a_property(third, parts.first(2), candidates);
    }
    if (parts.size() > 3) ends_here(parts[3], parts.first(3));
  }

  // `head_reported`: resolution has already reported a head that names nothing.
  void dotted(std::span<const Part> parts, bool head_reported) {
    if (parts.size() < 2) return;
    const Part& head = parts.front();
    const Symbol* found = lookup_global(*context.symbols, head.text);
    if (found == nullptr) {
      if (!head_reported) report(no_entity_named(*context.symbols, head.span, "Reservoir", head.text));
      return;
    }
    if (found->kind.tag != SymbolKind::Tag::Entity) return;  // a scalar with properties: OV109
    if (!is_entity_of(*found, "Reservoir")) return report(not_of_kind(head.span, *found, "Reservoir"));
    tail(parts);
  }

  void output_variable(const syntax::Value& value) {
    if (value.kind == ValueKind::Qualified) return dotted(value_parts(value), false);
    if (value.kind != ValueKind::Identifier) {
      std::string label = diagnostics::fill_message("expected a name or a reference, found {}", {syntax::display_name(value.kind)});
      return report(Diagnostic(DiagnosticCode::OV202, value.span).with_label(label).with_help(variable_help));
    }
    std::string_view text = value_text(value);
    if (text == "time") return;
    const Symbol* found = lookup_global(*context.symbols, text);
    if (found == nullptr) {
      // Resolution reported an unknown name unless it took it for a built-in one.
      if (!is_builtin_name(text)) return;
      return report(Diagnostic(DiagnosticCode::OV101, value.span)
                        .with_label(diagnostics::fill_message("no parameter named `{}`", {text}))
                        .with_help(variable_help));
    }
    if (found->kind.tag != SymbolKind::Tag::Entity) return;
    report(Diagnostic(DiagnosticCode::OV101, value.span)
               .with_label(diagnostics::fill_message("`{}` is a {}, not a parameter", {text, found->kind.display_word()}))
               .with_help(variable_help));
  }

  void statement(const BlockSpec& kind, const syntax::Statement& statement) {
    const PropertySpec* property = find_property_spec(kind, statement.key().text());
    if (property == nullptr) return;
    if (kind.name == "MODEL" && property->key == "until") {
      const auto condition = syntax::body_as<syntax::ConditionBody>(statement);
      if (!condition) return;
      const syntax::SyntaxExpr::Kind lhs = condition->comparison->lhs->kind();
      if (const auto* subject = std::get_if<syntax::SyntaxExpr::Qualified>(&lhs)) dotted(expr_parts(*subject), true);
      return;
    }
    if (!property->reference_kind) return;
    std::string_view reference_kind = *property->reference_kind;
    if (kind.name == "OUTPUT" && property->key == "variable") {
      if (const syntax::Value* first = first_value(statement)) output_variable(*first);
      return;
    }
    // `any` and Species references are the endpoints of a process, checked with its type.
    if (reference_kind == "any" || reference_kind == "Species") return;
    if (property->shape != StatementShape::List) {
      if (const syntax::Value* first = first_value(statement)) {
        check_reference_value(context, *first, reference_kind, reference_kind);
      }
      return;
    }
    const auto list = syntax::body_as<syntax::ListBody>(statement);
    if (!list) {
      // Lowering reads the names of a list only; without brackets it would take every one.
      return report(Diagnostic(DiagnosticCode::OV202, key_span(statement))
                        .with_label(diagnostics::fill_message("`{}` takes a list of names in brackets", {property->key}))
                        .with_help(diagnostics::fill_message("write `{} [A, B]`", {property->key})));
    }
    for (const syntax::Value& item : list->items) check_reference_value(context, item, reference_kind, reference_kind);
  }
};

// Whether a statement of the kind can hold a reference these checks read: most blocks of a
// model are of kinds with none, whose statements need no property lookup.
bool reads_references(const BlockSpec& kind) {
  return kind.name == "MODEL" || std::any_of(kind.properties.begin(), kind.properties.end(),
                                             [](const PropertySpec& property) { return property.reference_kind.has_value(); });
}

}  // namespace

void check_references(ValidationContext& context, const syntax::ParseOutput& tree, const Resolution& resolution) {
  if (context.symbols == nullptr) return;
  Names names(context, tree, resolution);
  ReferenceCheck check{context, names};
  for (std::size_t i = 0; i < tree.blocks.size() && i < resolution.blocks.size(); ++i) {
    const BlockSpec* kind = resolution.blocks[i].spec;
    if (kind == nullptr || !kind->implemented || !reads_references(*kind)) continue;
    for (const syntax::Statement& statement : tree.blocks[i].statements) check.statement(*kind, statement);
  }
}

}  // namespace ovm::sema
