#pragma once
// Integer arithmetic for pixel coordinates that raises instead of wrapping, so
// absurd metrics or sizes give a clear error rather than a wrong picture.
#include <climits>
#include <stdexcept>

namespace corvane {

class EIntOverflow : public std::overflow_error {
 public:
  EIntOverflow() : std::overflow_error("Integer overflow") {}
};

class EDivByZero : public std::domain_error {
 public:
  EDivByZero() : std::domain_error("Division by zero") {}
};

namespace pixel {

inline int Add(int a, int b) {
  int r;
  if (__builtin_add_overflow(a, b, &r)) throw EIntOverflow();
  return r;
}
inline int Sub(int a, int b) {
  int r;
  if (__builtin_sub_overflow(a, b, &r)) throw EIntOverflow();
  return r;
}
inline int Mul(int a, int b) {
  int r;
  if (__builtin_mul_overflow(a, b, &r)) throw EIntOverflow();
  return r;
}
// Truncates toward zero.
inline int Div(int a, int b) {
  if (b == 0) throw EDivByZero();
  if (a == INT_MIN && b == -1) throw EIntOverflow();
  return a / b;
}

}  // namespace pixel
}  // namespace corvane
