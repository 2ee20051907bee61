#include "engine/evaluate_expr.hpp"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "diagnostics/number_text.hpp"
#include "ir/debug_text.hpp"
#include "sema/message_text.hpp"

namespace ovm::engine {
namespace {

constexpr double not_a_number = std::numeric_limits<double>::quiet_NaN();

EngineError setup_error(std::string message) { return EngineError{"OV402", std::move(message)}; }

// One step of the walk: evaluate a node and push its value, or combine the values its operands
// pushed, or mark a parameter's value as finished.
struct Task {
  enum class Kind : std::uint8_t { Visit, Negate, Binary, Call, LeaveParameter };
  Kind kind = Kind::Visit;
  const ir::Expr* expr = nullptr;  // the node, for every kind but LeaveParameter
  std::uint32_t parameter = 0;     // for LeaveParameter
};

// A backend series read at the clock: the last point at or before it, never interpolated.
EvalResult read_series(const BackendSeries& series, const std::string& name, double clock) {
  if (series.empty()) return setup_error(sema::fill_message("`{}` was exported as a series with no states", {name}));
  double first = series.front().time;
  if (first > clock) {
    return EngineError{"OV404", sema::fill_message("`{}` is read at {} s and its backend recorded nothing before {} s",
                                                   {name, diagnostics::plain_decimal(clock),
                                                    diagnostics::plain_decimal(first)})};
  }
  if (!(clock >= first)) {  // the clock or the first time is not a number
    return EngineError{"OV404",
                       sema::fill_message("`{}` has no state at {} s", {name, diagnostics::plain_decimal(clock)})};
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
  explicit Evaluator(const SimulationState& state)
      : state_(state), progress_(state.model.parameters.size(), Progress::NotStarted),
        finished_(state.model.parameters.size(), 0.0) {}

  EvalResult run(const ir::Expr& root) {
    tasks_.push_back(Task{Task::Kind::Visit, &root, 0});
    while (!tasks_.empty()) {
      Task task = tasks_.back();
      tasks_.pop_back();
      std::optional<EngineError> error;
      switch (task.kind) {
        case Task::Kind::Visit: error = visit(*task.expr); break;
        case Task::Kind::Negate: values_.back() = -values_.back(); break;
        case Task::Kind::Binary: error = combine(std::get<ir::Expr::Binary>(task.expr->kind).op); break;
        case Task::Kind::Call: error = call(std::get<ir::Expr::Call>(task.expr->kind)); break;
        case Task::Kind::LeaveParameter:
          progress_[task.parameter] = Progress::Finished;
          finished_[task.parameter] = values_.back();
          break;
      }
      if (error) return std::move(*error);
    }
    return values_.back();
  }

 private:
  std::optional<EngineError> visit(const ir::Expr& expr) {
    if (const auto* constant = std::get_if<ir::Expr::Constant>(&expr.kind)) {
      values_.push_back(constant->value);
    } else if (const auto* parameter = std::get_if<ir::Expr::Parameter>(&expr.kind)) {
      return enter_parameter(parameter->id);
    } else if (std::holds_alternative<ir::Expr::Temperature>(expr.kind)) {
      const std::optional<double>& temperature = state_.model.conditions.temperature_k;
      if (!temperature) return setup_error("`T` is read but no temperature is declared");
      values_.push_back(*temperature);
    } else if (std::holds_alternative<ir::Expr::Time>(expr.kind)) {
      values_.push_back(state_.clock);
    } else if (const auto* unary = std::get_if<ir::Expr::Unary>(&expr.kind)) {
      tasks_.push_back(Task{Task::Kind::Negate, &expr, 0});
      tasks_.push_back(Task{Task::Kind::Visit, unary->operand.get(), 0});
    } else if (const auto* binary = std::get_if<ir::Expr::Binary>(&expr.kind)) {
      // The left operand goes on top, so it is evaluated (and fails) first.
      tasks_.push_back(Task{Task::Kind::Binary, &expr, 0});
      tasks_.push_back(Task{Task::Kind::Visit, binary->rhs.get(), 0});
      tasks_.push_back(Task{Task::Kind::Visit, binary->lhs.get(), 0});
    } else {
      const auto& call = std::get<ir::Expr::Call>(expr.kind);
      tasks_.push_back(Task{Task::Kind::Call, &expr, 0});
      for (auto arg = call.args.rbegin(); arg != call.args.rend(); ++arg) {
        tasks_.push_back(Task{Task::Kind::Visit, &*arg, 0});
      }
    }
    return std::nullopt;
  }

  std::optional<EngineError> enter_parameter(ir::ParameterId id) {
    const std::vector<ir::Parameter>& parameters = state_.model.parameters;
    std::string index = std::to_string(id.index);
    if (id.index >= parameters.size()) return setup_error(sema::fill_message("parameter {} does not exist", {index}));
    const ir::Parameter& parameter = parameters[id.index];
    if (auto series = state_.series.find(id); series != state_.series.end()) {
      EvalResult value = read_series(series->second, parameter.name, state_.clock);
      if (auto* error = std::get_if<EngineError>(&value)) return std::move(*error);
      values_.push_back(std::get<double>(value));
      return std::nullopt;
    }
    if (!parameter.value) {
      return setup_error(sema::fill_message("`{}` has no value; a backend was meant to supply it", {parameter.name}));
    }
    if (progress_[id.index] == Progress::Finished) {
      values_.push_back(finished_[id.index]);
      return std::nullopt;
    }
    if (progress_[id.index] == Progress::Active) {
      return setup_error(sema::fill_message("the value of `{}` depends on itself", {parameter.name}));
    }
    progress_[id.index] = Progress::Active;
    tasks_.push_back(Task{Task::Kind::LeaveParameter, nullptr, id.index});
    tasks_.push_back(Task{Task::Kind::Visit, &*parameter.value, 0});
    return std::nullopt;
  }

  std::optional<EngineError> combine(ir::BinaryOp op) {
    double r = values_.back();
    values_.pop_back();
    double l = values_.back();
    double result = 0;
    switch (op) {
      case ir::BinaryOp::Add: result = l + r; break;
      case ir::BinaryOp::Subtract: result = l - r; break;
      case ir::BinaryOp::Multiply: result = l * r; break;
      case ir::BinaryOp::Power: result = std::pow(l, r); break;
      case ir::BinaryOp::Divide:
        if (r == 0) {
          return EngineError{"OV303", sema::fill_message("division by zero: {} / 0", {diagnostics::plain_decimal(l)})};
        }
        result = l / r;
        break;
    }
    values_.back() = result;
    return std::nullopt;
  }

  std::optional<EngineError> call(const ir::Expr::Call& call) {
    std::size_t count = call.args.size();
    std::size_t first = values_.size() - count;
    double x0 = count > 0 ? values_[first] : not_a_number;
    double x1 = count > 1 ? values_[first + 1] : not_a_number;
    values_.resize(first);
    double result = apply_function(call.function, x0, x1);
    if (!std::isfinite(result)) {
      return EngineError{"OV302", sema::fill_message("{} produced a non-finite value from {}",
                                                     {ir::debug_text(call.function), diagnostics::plain_decimal(x0)})};
    }
    values_.push_back(result);
    return std::nullopt;
  }

  const SimulationState& state_;
  std::vector<Task> tasks_;
  std::vector<double> values_;
  // A parameter's value is evaluated once per walk: the state does not change during a walk,
  // so a second reference reads the same value, and a chain of parameters that each refer to
  // the one before twice takes linear time instead of doubling at each link.
  enum class Progress : std::uint8_t { NotStarted, Active, Finished };
  std::vector<Progress> progress_;  // by parameter index
  std::vector<double> finished_;    // the value of each finished parameter
};

}  // namespace

EvalResult eval_expr(const SimulationState& state, const ir::Expr& expr) { return Evaluator(state).run(expr); }

}  // namespace ovm::engine
