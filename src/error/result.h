// A small value-or-error type: failures travel as values, never as exceptions.
#pragma once

#include <cassert>
#include <utility>
#include <variant>

#include "error/error.h"

namespace tarn {

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : v_(std::in_place_index<0>, std::move(value)) {}
  Result(Error error) : v_(std::in_place_index<1>, std::move(error)) {}

  bool ok() const { return v_.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() & { assert(ok()); return std::get<0>(v_); }
  const T& value() const& { assert(ok()); return std::get<0>(v_); }
  T&& value() && { assert(ok()); return std::get<0>(std::move(v_)); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  Error& error() & { assert(!ok()); return std::get<1>(v_); }
  const Error& error() const& { assert(!ok()); return std::get<1>(v_); }
  Error&& error() && { assert(!ok()); return std::get<1>(std::move(v_)); }

 private:
  std::variant<T, Error> v_;
};

// Success without a value.
struct Unit {};
using Status = Result<Unit>;
inline Status ok_status() { return Status(Unit{}); }

}  // namespace tarn

#define TARN_CONCAT_INNER(a, b) a##b
#define TARN_CONCAT(a, b) TARN_CONCAT_INNER(a, b)

// TRY_ASSIGN(lhs, expr): evaluates expr (a Result); returns its error from the
// enclosing function, or moves its value into lhs (which may be a declaration).
#define TRY_ASSIGN(lhs, expr) TRY_ASSIGN_IMPL(TARN_CONCAT(tarn_result_, __LINE__), lhs, expr)
#define TRY_ASSIGN_IMPL(tmp, lhs, expr) \
  auto tmp = (expr);                    \
  if (!tmp.ok()) return std::move(tmp).error(); \
  lhs = std::move(tmp).value()

// TRY(expr): returns the error of a Result-valued expression, ignoring its value.
#define TRY(expr) TRY_IMPL(TARN_CONCAT(tarn_result_, __LINE__), expr)
#define TRY_IMPL(tmp, expr) \
  do {                      \
    auto tmp = (expr);      \
    if (!tmp.ok()) return std::move(tmp).error(); \
  } while (0)
