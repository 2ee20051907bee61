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

#include "diagnostics/internal_error.hpp"
#include "diagnostics/message_text.hpp"
#include "sema/builtins.hpp"
#include "sema/validate_facts.hpp"
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

// The parameters are the context's definitions, by their places there: in the order of each
// name's first definition, which is the one whose value counts here. What that value names,
// among the defined parameters, in the order written.
struct Links {
  std::vector<std::uint32_t> ends;  // by parameter: its uses run from the end of the one before to here
  std::vector<std::uint32_t> targets;
  std::vector<Span> spans;

  std::size_t begin(std::size_t parameter) const { return parameter == 0 ? 0 : ends[parameter - 1]; }
};

// Names resolve as in expressions: the block's own parameters first, then the model-wide ones.
std::optional<std::size_t> find_parameter(const ValidationContext& context, std::string_view scope, std::string_view name) {
  if (!scope.empty()) {
    if (std::optional<std::size_t> local = parameter_position(context, scope, name)) return local;
  }
  return parameter_position(context, {}, name);
}

// Links the value of each first definition, in model order; a later definition of a name is
// passed over.
Links link_definitions(const ValidationContext& context, const syntax::ParseOutput& tree, const Resolution& resolution) {
  Links links;
  links.ends.reserve(context.parameter_definitions.size());
  std::vector<Use> names;
  for (std::size_t i = 0; i < tree.blocks.size() && i < resolution.blocks.size(); ++i) {
    const BlockSpec* kind = resolution.blocks[i].spec;
    const syntax::Block& block = tree.blocks[i];
    if (kind == nullptr || !defines_parameters(*kind, block)) continue;
    for (const syntax::Statement& statement : block.statements) {
      // Most statements are no assignment: the test inline spares them the call.
      if (statement.assignment() == nullptr) continue;
      std::optional<KeyedDefinition> keyed = parameter_definition(*kind, block, statement);
      if (!keyed) continue;
      std::string_view scope = keyed->scope();
      // The first definitions come in the order of their places, each at the next one, as the
      // context gathered them.
      std::optional<std::size_t> place = parameter_position(context, scope, keyed->name());
      if (!place || *place != links.ends.size()) continue;
      names.clear();
      collect_names(*keyed->assignment().expr, names);
      for (const Use& use : names) {
        if (std::optional<std::size_t> target = find_parameter(context, scope, use.name)) {
          links.targets.push_back(static_cast<std::uint32_t>(*target));
          links.spans.push_back(use.span);
        }
      }
      links.ends.push_back(static_cast<std::uint32_t>(links.targets.size()));
    }
  }
  if (links.ends.size() != context.parameter_definitions.size()) {
    diagnostics::internal_error("the cycle check did not meet each parameter's first definition");
  }
  return links;
}

std::string cycle_text(const ValidationContext& context, const std::vector<std::size_t>& path) {
  std::string text;
  for (std::size_t at : path) text += std::string(context.parameter_definitions[at].name()) + " -> ";
  return text + std::string(context.parameter_definitions[path.front()].name());
}

}  // namespace

void check_parameter_cycles(ValidationContext& context, const syntax::ParseOutput& tree, const Resolution& resolution) {
  Links links = link_definitions(context, tree, resolution);
  enum class Mark : std::uint8_t { New, Open, Done };
  std::vector<Mark> marks(links.ends.size(), Mark::New);
  // A walk with a stack of its own: a chain of any length of parameters cannot exhaust the call stack.
  struct Frame {
    std::size_t definition;
    std::size_t next_use;  // in the definitions' list of uses
  };
  std::vector<Frame> stack;
  for (std::size_t root = 0; root < links.ends.size(); ++root) {
    if (marks[root] != Mark::New) continue;
    marks[root] = Mark::Open;
    stack.push_back(Frame{root, links.begin(root)});
    while (!stack.empty()) {
      Frame& frame = stack.back();
      if (frame.next_use == links.ends[frame.definition]) {
        marks[frame.definition] = Mark::Done;
        stack.pop_back();
        continue;
      }
      std::size_t use = frame.next_use++;
      std::size_t target = links.targets[use];
      if (marks[target] == Mark::New) {
        marks[target] = Mark::Open;
        stack.push_back(Frame{target, links.begin(target)});
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
      std::string_view name = context.parameter_definitions[target].name();
      push_diagnostic(context.diagnostics,
                      Diagnostic(DiagnosticCode::OV107, links.spans[use])
                          .with_label(diagnostics::fill_message("the value of `{}` depends on itself", {name}))
                          .with_help(diagnostics::fill_message(path.size() == 1
                                                      ? "{}: give it a value that does not name itself"
                                                      : "{}: give one of them a value that does not lead back",
                                                  {cycle_text(context, path)})));
    }
  }
}

}  // namespace ovm::sema
