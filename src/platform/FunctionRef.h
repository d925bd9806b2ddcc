// A non-owning reference to a callable, cheap to pass and never allocating; the callable must
// outlive every call through the reference.
#pragma once

#include <memory>
#include <type_traits>
#include <utility>

namespace quelmo::platform {

// A callable that a FunctionRef of signature R(Args...) can refer to (not another FunctionRef).
template <class F, class Self, class R, class... Args>
concept BindableTo = !std::is_same_v<std::remove_cvref_t<F>, Self> && std::is_invocable_r_v<R, F&, Args...>;

template <class Signature>
class FunctionRef;

template <class R, class... Args>
class FunctionRef<R(Args...)> {
public:
    template <BindableTo<FunctionRef, R, Args...> F>
    // NOLINTNEXTLINE(bugprone-forwarding-reference-overload): copies are excluded by the concept.
    FunctionRef(F&& callable) noexcept
        : object_(const_cast<void*>(static_cast<const void*>(std::addressof(callable)))),
          call_([](void* object, Args... args) -> R {
              return (*static_cast<std::remove_reference_t<F>*>(object))(std::forward<Args>(args)...);
          }) {}

    R operator()(Args... args) const { return call_(object_, std::forward<Args>(args)...); }

private:
    void* object_;
    R (*call_)(void*, Args...);
};

} // namespace quelmo::platform
