#include "engine/simulation/evaluate_expr.hpp"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "diagnostics/message_text.hpp"
#include "diagnostics/number_text.hpp"
#include "ir/graph/debug_text.hpp"

namespace ovm::engine {
namespace {

constexpr double not_a_number = std::numeric_limits<double>::quiet_NaN();

EngineError setup_error(std::string message) { return EngineError{"OV402", std::move(message)}; }

// A backend series read at the clock: the last point at or before it, never interpolated.
EvalResult read_series(const BackendSeries& series, const std::string& name, double clock) {
  if (series.empty()) return setup_error(diagnostics::fill_message("`{}` was exported as a series with no states", {name}));
  double first = series.front().time;
  if (first > clock) {
    return EngineError{"OV404", diagnostics::fill_message("`{}` is read at {} s and its backend recorded nothing before {} s",
                                                   {name, diagnostics::plain_decimal(clock),
                                                    diagnostics::plain_decimal(first)})};
  }
  if (!(clock >= first)) {  // the clock or the first time is not a number
    return EngineError{"OV404",
                       diagnostics::fill_message("`{}` has no state at {} s", {name, diagnostics::plain_decimal(clock)})};
  }
  std::size_t at = 0;
  while (at + 1 < series.size() && series[at + 1].time <= clock) ++at;
  return series[at].value;
}

double apply_function(ir::Function function, double x0, double x1) {
  switch (function) {
    case ir::Function::Exp: return std::exp(x0);
    case ir::Function::Ln: return std::log(x0);
    case ir::Function::Log10: return std::log10(x0);
    case ir::Function::Sqrt: return std::sqrt(x0);
    case ir::Function::Abs: return std::fabs(x0);
    case ir::Function::Pow: return std::pow(x0, x1);
    case ir::Function::Min:
      if (std::isnan(x0)) return x1;
      if (std::isnan(x1)) return x0;
      return x1 < x0 ? x1 : x0;
    case ir::Function::Max:
      if (std::isnan(x0)) return x1;
      if (std::isnan(x1)) return x0;
      return x1 > x0 ? x1 : x0;
  }
  return not_a_number;
}

class Evaluator {
 public:
  Evaluator(const SimulationState& state, EvalScratch& scratch) : state_(state), s_(scratch) {
    // A new walk number marks every parameter not started; only when the numbers run out are
    // the marks cleared, so a walk costs nothing for the parameters it does not read.
    std::size_t count = state.model.parameters.size();
    if (s_.entered.size() != count || s_.walk == std::numeric_limits<std::uint32_t>::max()) {
      s_.entered.assign(count, 0);
      s_.finished_at.assign(count, 0);
      s_.finished.assign(count, 0.0);
      s_.walk = 0;
    }
    ++s_.walk;
    s_.tasks.clear();
    s_.values.clear();
  }

  EvalResult run(const ir::Expr& root) {
    s_.tasks.push_back(EvalTask{EvalTask::Kind::Visit, &root, 0});
    while (!s_.tasks.empty()) {
      EvalTask task = s_.tasks.back();
      s_.tasks.pop_back();
      std::optional<EngineError> error;
      switch (task.kind) {
        case EvalTask::Kind::Visit: error = visit(*task.expr); break;
        case EvalTask::Kind::Negate: s_.values.back() = -s_.values.back(); break;
        case EvalTask::Kind::Binary: error = combine(std::get<ir::Expr::Binary>(task.expr->kind).op); break;
        case EvalTask::Kind::Call: error = call(std::get<ir::Expr::Call>(task.expr->kind)); break;
        case EvalTask::Kind::LeaveParameter:
          s_.finished_at[task.parameter] = s_.walk;
          s_.finished[task.parameter] = s_.values.back();
          break;
      }
      if (error) return std::move(*error);
    }
    return s_.values.back();
  }

 private:
  void push(EvalTask::Kind kind, const ir::Expr* expr, std::uint32_t parameter = 0) {
    s_.tasks.push_back(EvalTask{kind, expr, parameter});
  }

  std::optional<EngineError> visit(const ir::Expr& expr) {
    if (const auto* constant = std::get_if<ir::Expr::Constant>(&expr.kind)) {
      s_.values.push_back(constant->value);
    } else if (const auto* parameter = std::get_if<ir::Expr::Parameter>(&expr.kind)) {
      return enter_parameter(parameter->id);
    } else if (std::holds_alternative<ir::Expr::Temperature>(expr.kind)) {
      const std::optional<double>& temperature = state_.model.conditions.temperature_k;
      if (!temperature) return setup_error("`T` is read but no temperature is declared");
      s_.values.push_back(*temperature);
    } else if (std::holds_alternative<ir::Expr::Time>(expr.kind)) {
      s_.values.push_back(state_.clock);
    } else if (const auto* unary = std::get_if<ir::Expr::Unary>(&expr.kind)) {
      push(EvalTask::Kind::Negate, &expr);
      push(EvalTask::Kind::Visit, unary->operand.get());
    } else if (const auto* binary = std::get_if<ir::Expr::Binary>(&expr.kind)) {
      // The left operand goes on top, so it is evaluated (and fails) first.
      push(EvalTask::Kind::Binary, &expr);
      push(EvalTask::Kind::Visit, binary->rhs.get());
      push(EvalTask::Kind::Visit, binary->lhs.get());
    } else {
      const auto& call = std::get<ir::Expr::Call>(expr.kind);
      push(EvalTask::Kind::Call, &expr);
      for (auto arg = call.args.rbegin(); arg != call.args.rend(); ++arg) push(EvalTask::Kind::Visit, &*arg);
    }
    return std::nullopt;
  }

  std::optional<EngineError> enter_parameter(ir::ParameterId id) {
    const std::vector<ir::Parameter>& parameters = state_.model.parameters;
    if (id.index >= parameters.size()) {
      return setup_error(diagnostics::fill_message("parameter {} does not exist", {std::to_string(id.index)}));
    }
    const ir::Parameter& parameter = parameters[id.index];
    if (!state_.series.empty()) {
      if (auto series = state_.series.find(id); series != state_.series.end()) {
        EvalResult value = read_series(series->second, parameter.name, state_.clock);
        if (auto* error = std::get_if<EngineError>(&value)) return std::move(*error);
        s_.values.push_back(std::get<double>(value));
        return std::nullopt;
      }
    }
    if (!parameter.value) {
      return setup_error(diagnostics::fill_message("`{}` has no value; a backend was meant to supply it", {parameter.name}));
    }
    if (s_.finished_at[id.index] == s_.walk) {
      s_.values.push_back(s_.finished[id.index]);
      return std::nullopt;
    }
    if (s_.entered[id.index] == s_.walk) {
      return setup_error(diagnostics::fill_message("the value of `{}` depends on itself", {parameter.name}));
    }
    s_.entered[id.index] = s_.walk;
    push(EvalTask::Kind::LeaveParameter, nullptr, id.index);
    push(EvalTask::Kind::Visit, &*parameter.value);
    return std::nullopt;
  }

  std::optional<EngineError> combine(ir::BinaryOp op) {
    double r = s_.values.back();
    s_.values.pop_back();
    double l = s_.values.back();
    double result = 0;
    switch (op) {
      case ir::BinaryOp::Add: result = l + r; break;
      case ir::BinaryOp::Subtract: result = l - r; break;
      case ir::BinaryOp::Multiply: result = l * r; break;
      case ir::BinaryOp::Power: result = std::pow(l, r); break;
      case ir::BinaryOp::Divide:
        if (r == 0) {
          return EngineError{"OV303", diagnostics::fill_message("division by zero: {} / 0", {diagnostics::plain_decimal(l)})};
        }
        result = l / r;
        break;
    }
    s_.values.back() = result;
    return std::nullopt;
  }

  std::optional<EngineError> call(const ir::Expr::Call& call) {
    std::size_t count = call.args.size();
    std::size_t first = s_.values.size() - count;
    double x0 = count > 0 ? s_.values[first] : not_a_number;
    double x1 = count > 1 ? s_.values[first + 1] : not_a_number;
    s_.values.resize(first);
    double result = apply_function(call.function, x0, x1);
    if (!std::isfinite(result)) {
      return EngineError{"OV302", diagnostics::fill_message("{} produced a non-finite value from {}",
                                                     {ir::debug_text(call.function), diagnostics::plain_decimal(x0)})};
    }
    s_.values.push_back(result);
    return std::nullopt;
  }

  const SimulationState& state_;
  EvalScratch& s_;
};

}  // namespace

// The rate constants of most models are one of these.
const double* constant_value(const SimulationState& state, const ir::Expr& expr) {
  if (const auto* constant = std::get_if<ir::Expr::Constant>(&expr.kind)) return &constant->value;
  const auto* parameter = std::get_if<ir::Expr::Parameter>(&expr.kind);
  if (parameter == nullptr || parameter->id.index >= state.model.parameters.size() || !state.series.empty()) {
    return nullptr;
  }
  const std::optional<ir::Expr>& value = state.model.parameters[parameter->id.index].value;
  if (!value) return nullptr;
  const auto* constant = std::get_if<ir::Expr::Constant>(&value->kind);
  return constant ? &constant->value : nullptr;
}

EvalResult eval_expr(const SimulationState& state, const ir::Expr& expr) {
  if (const double* value = constant_value(state, expr)) return *value;
  return Evaluator(state, state.eval_scratch).run(expr);
}

}  // namespace ovm::engine
