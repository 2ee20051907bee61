#include "sema/validate_parameter_cycles.hpp"

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

struct Definition {
  std::optional<std::string_view> scope;  // the declaring block's name; none for PARAMETERS
  std::string_view name;
  const SyntaxExpr* value;
  std::vector<std::size_t> uses;  // definitions the value names, in the order written
  std::vector<Span> use_spans;
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
      expr.kind);
}

// The first definition of each parameter, in model order, with the definitions its value names.
struct Definitions {
  std::vector<Definition> list;
  ScopedNameMap<std::size_t> by_name;

  void add(std::optional<std::string_view> scope, std::string_view name, const SyntaxExpr* value) {
    if (by_name.emplace(ScopedName{scope, name}, list.size()).second) list.push_back(Definition{scope, name, value, {}, {}});
  }

  std::optional<std::size_t> find(std::optional<std::string_view> scope, std::string_view name) const {
    if (scope) {
      if (auto local = by_name.find(ScopedName{scope, name}); local != by_name.end()) return local->second;
    }
    if (auto global = by_name.find(ScopedName{std::nullopt, name}); global != by_name.end()) return global->second;
    return std::nullopt;
  }

  void link() {
    std::vector<Use> names;
    for (Definition& definition : list) {
      names.clear();
      collect_names(*definition.value, names);
      for (const Use& use : names) {
        if (std::optional<std::size_t> target = find(definition.scope, use.name)) {
          definition.uses.push_back(*target);
          definition.use_spans.push_back(use.span);
        }
      }
    }
  }
};

Definitions definitions_of(const syntax::ParseOutput& tree, const Resolution& resolution) {
  Definitions definitions;
  for (std::size_t i = 0; i < tree.blocks.size() && i < resolution.blocks.size(); ++i) {
    const BlockSpec* kind = resolution.blocks[i].spec;
    if (kind == nullptr) continue;
    for (const syntax::Statement& statement : tree.blocks[i].statements) {
      const syntax::AssignmentBody* assignment = statement.assignment();
      if (assignment == nullptr) continue;
      if (kind->expressions_only) {
        definitions.add(std::nullopt, statement.key().text(), assignment->expr);
      } else if (kind->local_parameters && resolution.blocks[i].name && assignment->target &&
                 key_is(statement, "parameter")) {
        definitions.add(resolution.blocks[i].name, assignment->target->text, assignment->expr);
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
  Definitions definitions = definitions_of(tree, resolution);
  enum class Mark : std::uint8_t { New, Open, Done };
  std::vector<Mark> marks(definitions.list.size(), Mark::New);
  // A walk with a stack of its own: a chain of any length of parameters cannot exhaust the call stack.
  struct Frame {
    std::size_t definition;
    std::size_t next_use = 0;
  };
  std::vector<Frame> stack;
  for (std::size_t root = 0; root < definitions.list.size(); ++root) {
    if (marks[root] != Mark::New) continue;
    marks[root] = Mark::Open;
    stack.push_back(Frame{root});
    while (!stack.empty()) {
      Frame& frame = stack.back();
      const Definition& definition = definitions.list[frame.definition];
      if (frame.next_use == definition.uses.size()) {
        marks[frame.definition] = Mark::Done;
        stack.pop_back();
        continue;
      }
      std::size_t use = frame.next_use++;
      std::size_t target = definition.uses[use];
      if (marks[target] == Mark::New) {
        marks[target] = Mark::Open;
        stack.push_back(Frame{target});
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
                      Diagnostic(DiagnosticCode::OV107, definition.use_spans[use])
                          .with_label(diagnostics::fill_message("the value of `{}` depends on itself", {name}))
                          .with_help(diagnostics::fill_message(path.size() == 1
                                                      ? "{}: give it a value that does not name itself"
                                                      : "{}: give one of them a value that does not lead back",
                                                  {cycle_text(definitions, path)})));
    }
  }
}

}  // namespace ovm::sema
