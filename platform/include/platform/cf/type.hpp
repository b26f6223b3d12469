#pragma once

#include <atomic>

// Reference-counted platform objects. Every object starts with one reference, held by whoever
// created it; the last release destroys it.
namespace platform::cf {

class type;
using type_ref = const type*;

type_ref retain(type_ref object) noexcept;
void release(type_ref object) noexcept;
long get_retain_count(type_ref object) noexcept;

class type {
public:
  type(const type&) = delete;
  type& operator=(const type&) = delete;

protected:
  type() = default;
  // Only release destroys an object, so nobody deletes one behind the count's back.
  virtual ~type() = default;

private:
  friend type_ref retain(type_ref object) noexcept;
  friend void release(type_ref object) noexcept;
  friend long get_retain_count(type_ref object) noexcept;

  // Objects are shared as pointers to const, so the count has to be changeable through them.
  mutable std::atomic<long> retain_count_{1};
};

} // namespace platform::cf
