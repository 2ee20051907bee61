#include "sema/validate_parameter_cycles.hpp"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "diagnostics/message_text.hpp"
#include "sema/builtins.hpp"
#include "sema/name_index.hpp"
#include "sema/scoped_name.hpp"
#include "sema/validate_reading.hpp"

namespace ovm::sema {
namespace {

using diagnostics::Diagnostic;
using diagnostics::DiagnosticCode;
using diagnostics::Span;
using syntax::SyntaxExpr;

struct Use {
  std::string_view name;
  Span span;
};

// 48 bytes, one per parameter; the uses of all definitions are in lists of their own.
struct Definition {
  std::string_view scope;  // the declaring block's name; empty for PARAMETERS, as no block's name is
  std::string_view name;
  const SyntaxExpr* value;
  std::uint32_t uses_end = 0;  // its uses run from the end of the definition before's to here
};

// Recursive: the parser bounds the height of every expression tree.
void collect_names(const SyntaxExpr& expr, std::vector<Use>& names) {
  std::visit(
      [&](const auto& node) {
        using Node = std::decay_t<decltype(node)>;
        if constexpr (std::is_same_v<Node, SyntaxExpr::Ident>) {
          if (!is_builtin_name(node.name)) names.push_back(Use{node.name, expr.span});
        } else if constexpr (std::is_same_v<Node, SyntaxExpr::Call>) {
          for (const SyntaxExpr& argument : node.args) collect_names(argument, names);
        } else if constexpr (std::is_same_v<Node, SyntaxExpr::Unary>) {
          collect_names(*node.operand, names);
        } else if constexpr (std::is_same_v<Node, SyntaxExpr::Binary>) {
          collect_names(*node.lhs, names);
          collect_names(*node.rhs, names);
        }
      },
      expr.kind());
}

// The first definition of each parameter, in model order, with the definitions its value names.
struct Definitions {
  std::vector<Definition> list;
  NameIndex by_name;  // positions in `list`
  std::vector<std::uint32_t> uses;  // definitions the values name, in the order written
  std::vector<Span> use_spans;

  std::optional<std::size_t> position(std::string_view scope, std::string_view name) const {
    return by_name.find(scoped_name_hash(scope, name), [&](std::size_t at) { return list[at].scope == scope && list[at].name == name; });
  }

  void add(std::string_view scope, std::string_view name, const SyntaxExpr* value) {
    if (position(scope, name)) return;
    by_name.add(scoped_name_hash(scope, name), list.size());
    list.push_back(Definition{scope, name, value});
  }

  std::optional<std::size_t> find(std::string_view scope, std::string_view name) const {
    if (!scope.empty()) {
      if (std::optional<std::size_t> local = position(scope, name)) return local;
    }
    return position({}, name);
  }

  std::size_t uses_begin(std::size_t definition) const { return definition == 0 ? 0 : list[definition - 1].uses_end; }

  void link() {
    std::vector<Use> names;
    for (Definition& definition : list) {
      names.clear();
      collect_names(*definition.value, names);
      for (const Use& use : names) {
        if (std::optional<std::size_t> target = find(definition.scope, use.name)) {
          uses.push_back(static_cast<std::uint32_t>(*target));
          use_spans.push_back(use.span);
        }
      }
      definition.uses_end = static_cast<std::uint32_t>(uses.size());
    }
  }
};

// `expected`: about how many definitions there are, so that the list and the map are made
// once at their size instead of growing step by step.
Definitions definitions_of(const syntax::ParseOutput& tree, const Resolution& resolution, std::size_t expected) {
  Definitions definitions;
  definitions.list.reserve(expected);
  definitions.by_name.reserve(expected);
  for (std::size_t i = 0; i < tree.blocks.size() && i < resolution.blocks.size(); ++i) {
    const BlockSpec* kind = resolution.blocks[i].spec;
    // Other kinds define nothing: their statements are not read.
    if (kind == nullptr || !(kind->expressions_only || (kind->local_parameters && resolution.blocks[i].name()))) continue;
    for (const syntax::Statement& statement : tree.blocks[i].statements) {
      const syntax::AssignmentBody* assignment = statement.assignment();
      if (assignment == nullptr) continue;
      if (kind->expressions_only) {
        definitions.add({}, statement.key().text(), assignment->expr);
      } else if (assignment->target && key_is(statement, "parameter")) {
        definitions.add(*resolution.blocks[i].name(), assignment->target->text, assignment->expr);
      }
    }
  }
  definitions.link();
  return definitions;
}

std::string cycle_text(const Definitions& definitions, const std::vector<std::size_t>& path) {
  std::string text;
  for (std::size_t at : path) text += std::string(definitions.list[at].name) + " -> ";
  return text + std::string(definitions.list[path.front()].name);
}

}  // namespace

void check_parameter_cycles(ValidationContext& context, const syntax::ParseOutput& tree, const Resolution& resolution) {
  // Nearly every scalar is a parameter with a definition.
  Definitions definitions = definitions_of(tree, resolution, context.scalar_names.size());
  enum class Mark : std::uint8_t { New, Open, Done };
  std::vector<Mark> marks(definitions.list.size(), Mark::New);
  // A walk with a stack of its own: a chain of any length of parameters cannot exhaust the call stack.
  struct Frame {
    std::size_t definition;
    std::size_t next_use;  // in the definitions' list of uses
  };
  std::vector<Frame> stack;
  for (std::size_t root = 0; root < definitions.list.size(); ++root) {
    if (marks[root] != Mark::New) continue;
    marks[root] = Mark::Open;
    stack.push_back(Frame{root, definitions.uses_begin(root)});
    while (!stack.empty()) {
      Frame& frame = stack.back();
      if (frame.next_use == definitions.list[frame.definition].uses_end) {
        marks[frame.definition] = Mark::Done;
        stack.pop_back();
        continue;
      }
      std::size_t use = frame.next_use++;
      std::size_t target = definitions.uses[use];
      if (marks[target] == Mark::New) {
        marks[target] = Mark::Open;
        stack.push_back(Frame{target, definitions.uses_begin(target)});
        continue;
      }
      if (marks[target] != Mark::Open) continue;
      // The walk holds every definition from the target to this one: they go round.
      std::vector<std::size_t> path;
      bool inside = false;
      for (const Frame& open : stack) {
        inside = inside || open.definition == target;
        if (inside) path.push_back(open.definition);
      }
      std::string_view name = definitions.list[target].name;
      push_diagnostic(context.diagnostics,
                      Diagnostic(DiagnosticCode::OV107, definitions.use_spans[use])
                          .with_label(diagnostics::fill_message("the value of `{}` depends on itself", {name}))
                          .with_help(diagnostics::fill_message(path.size() == 1
                                                      ? "{}: give it a value that does not name itself"
                                                      : "{}: give one of them a value that does not lead back",
                                                  {cycle_text(definitions, path)})));
    }
  }
}

}  // namespace ovm::sema
