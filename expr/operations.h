#pragma once
// What each operator and built-in function of the expression language does to
// its values, apart from reading the text: the one definition that the
// evaluator and the compiled form both apply, so that they give the same bits.
#include "expr/portable_math.h"
#include "text/convert.h"

#include <cmath>
#include <cstdint>

enum class Operation : uint8_t {
    // Two operands.
    Or,
    Xor,
    And,
    BitOr,
    BitXor,
    BitAnd,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
    Add,
    Subtract,
    Multiply,
    Divide,
    Remainder,
    Power,
    Minimum,
    Maximum,
    Gcd,
    Lcm,
    Round,      // rnd(value, step) with the step's magnitude already taken
    WholePower, // Power when the exponent is known to suit PortableWholePow
    // One operand.
    Negate,
    Not,
    Sqrt,
    Inverse,
    Abs,
    Cos,
    Sin,
    Tan,
    Acos,
    Asin,
    Atan,
    Log10,
    Ln,
    Exp,
    Int,
    Fact,
};

constexpr bool IsUnary(Operation op) {
    return op >= Operation::Negate;
}

// Truth of a value: everything but 0 is true, NaN included.
inline bool IsTrue(double value) {
    return value != 0;
}

inline double Truth(bool value) {
    return value ? 1.0 : 0.0;
}

// The four arithmetic operations. When the left operand is a NaN it is the
// result (made quiet): the processor would give that too, but a compiler may
// swap the operands of + and *, and the two NaNs may differ in their bits.
inline double AddValues(double a, double b) {
    return a != a ? a + a : a + b;
}
inline double SubtractValues(double a, double b) {
    return a != a ? a + a : a - b;
}
inline double MultiplyValues(double a, double b) {
    return a != a ? a + a : a * b;
}
inline double DivideValues(double a, double b) {
    return a != a ? a + a : a / b;
}
inline double RemainderOfValues(double a, double b) {
    return a != a ? a + a : std::fmod(a, b);
}

double Factorial(double x);
double GcdOf(double a, double b);
// The larger argument added up until the smaller divides the sum exactly:
// the sum where that search ends within 100,000 sums; beyond, the multiple
// when every sum is exact, else NaN.
double LcmOf(double a, double b);
// Whether fmod(m, d) is 0, for m and d not NaN and d finite and not 0: m a
// whole multiple of d. Told from the significands in a few steps, where fmod
// takes a step for each bit of m / d, which for a large m and a small d makes
// LcmOf's search of many sums take seconds.
bool IsWholeMultiple(double m, double d);
// The nearest multiple of step (>= 0) to value, halves away from zero.
double RoundToStep(double value, double step);

inline double ApplyBinary(Operation op, double a, double b) {
    switch (op) {
    case Operation::Or: return Truth(IsTrue(a) || IsTrue(b));
    case Operation::Xor: return Truth(IsTrue(a) != IsTrue(b));
    case Operation::And: return Truth(IsTrue(a) && IsTrue(b));
    case Operation::BitOr: return TruncateToInt32(a) | TruncateToInt32(b);
    case Operation::BitXor: return TruncateToInt32(a) ^ TruncateToInt32(b);
    case Operation::BitAnd: return TruncateToInt32(a) & TruncateToInt32(b);
    case Operation::Equal: return Truth(a == b);
    case Operation::NotEqual: return Truth(!(a == b));
    case Operation::Less: return Truth(a < b);
    case Operation::Greater: return Truth(a > b);
    case Operation::LessEqual: return Truth(a <= b);
    case Operation::GreaterEqual: return Truth(a >= b);
    case Operation::Add: return AddValues(a, b);
    case Operation::Subtract: return SubtractValues(a, b);
    case Operation::Multiply: return MultiplyValues(a, b);
    case Operation::Divide: return DivideValues(a, b);
    case Operation::Remainder: return RemainderOfValues(a, b);
    case Operation::Power: return PortablePow(a, b);
    case Operation::Minimum: return a < b ? a : b;
    case Operation::Maximum: return a > b ? a : b;
    case Operation::Gcd: return GcdOf(a, b);
    case Operation::Lcm: return LcmOf(a, b);
    case Operation::Round: return RoundToStep(a, b);
    default: return PortableWholePow(a, static_cast<int>(b));
    }
}

inline double ApplyUnary(Operation op, double x) {
    switch (op) {
    case Operation::Negate: return -x;
    case Operation::Not: return Truth(x == 0);
    case Operation::Sqrt: return std::sqrt(x);
    case Operation::Inverse: return 1 / x;
    case Operation::Abs: return std::fabs(x);
    case Operation::Cos: return PortableCos(x);
    case Operation::Sin: return PortableSin(x);
    case Operation::Tan: return PortableTan(x);
    case Operation::Acos: return PortableAcos(x);
    case Operation::Asin: return PortableAsin(x);
    case Operation::Atan: return PortableAtan(x);
    case Operation::Log10: return PortableLog10(x);
    case Operation::Ln: return PortableLog(x);
    case Operation::Exp: return PortableExp(x);
    case Operation::Int: return TruncateToInt32(x);
    default: return Factorial(x);
    }
}

// The count of extra draws of "rand": NaN and values outside the signed
// 32-bit range give 0, and the magnitude is cut to kMaxRandomCount.
int32_t RandomCount(double value);

// rand(low, high, step, target, count): the draw nearest to target among
// count + 1 (count > 0), or farthest among 1 - count (count < 0).
double DrawNearestOrFarthest(double low, double high, double step, double target, int32_t count);
