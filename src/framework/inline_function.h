#pragma once
// A callable kept in place: a function pointer and room for a small capture that copies as
// plain bytes (member pointers, function pointers, empty lambdas). Unlike std::function it
// needs no manager per lambda type: the property tables of every class hold hundreds.
#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

namespace vsi {

template <class Sig>
class InlineFunction;

template <class R, class... A>
class InlineFunction<R(A...)> {
 public:
  InlineFunction() = default;
  InlineFunction(std::nullptr_t) {}
  template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, InlineFunction> &&
                                              !std::is_same_v<std::decay_t<F>, std::nullptr_t>>>
  InlineFunction(F f) {  // NOLINT: as a lambda converts to std::function
    static_assert(sizeof(F) <= kRoom && alignof(F) <= alignof(std::max_align_t),
                  "the capture does not fit: keep it to a few pointers");
    static_assert(std::is_trivially_copyable_v<F> && std::is_trivially_destructible_v<F>,
                  "the capture must copy as plain bytes");
    ::new (static_cast<void*>(room_)) F(f);
    call_ = [](const void* room, A... args) -> R { return (*static_cast<const F*>(room))(std::forward<A>(args)...); };
  }
  R operator()(A... args) const { return call_(room_, std::forward<A>(args)...); }
  explicit operator bool() const { return call_ != nullptr; }

 private:
  static constexpr size_t kRoom = 32;
  alignas(std::max_align_t) unsigned char room_[kRoom] = {};
  R (*call_)(const void*, A...) = nullptr;
};

}  // namespace vsi
