#pragma once

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace ovm::ir {

// A callable handed to a reader for the length of one call: it points at the caller's
// callable, which outlives the call (a lambda written in the call does), or holds a function,
// so that handing it on copies two pointers and calling it is one indirect call, with nothing
// to destroy.
template <class Signature>
class JsonCallback;

template <class R, class... Args>
class JsonCallback<R(Args...)> {
 public:
  template <class F>
    requires(!std::is_same_v<std::remove_cvref_t<F>, JsonCallback> && !std::is_function_v<std::remove_reference_t<F>> &&
             !std::is_pointer_v<std::remove_cvref_t<F>> && std::is_invocable_r_v<R, F&, Args...>)
  JsonCallback(F&& callable) noexcept  // converts as std::function does
      : object_(const_cast<void*>(static_cast<const void*>(std::addressof(callable)))),
        call_([](const JsonCallback& self, Args... args) -> R {
          return std::invoke(*static_cast<std::remove_reference_t<F>*>(self.object_), std::forward<Args>(args)...);
        }) {}

  JsonCallback(R (*function)(Args...)) noexcept
      : function_(function),
        call_([](const JsonCallback& self, Args... args) -> R { return self.function_(std::forward<Args>(args)...); }) {}

  R operator()(Args... args) const { return call_(*this, std::forward<Args>(args)...); }

 private:
  union {
    void* object_;
    R (*function_)(Args...);
  };
  R (*call_)(const JsonCallback&, Args...);
};

}  // namespace ovm::ir
