#pragma once
// Evaluator behind every numeric entry: a text such as "2*(pi/4)^2" or "$1F" becomes one extended real.
//
// Operators by level, each level left to right: "^"; "*", "/", "%", "&"; "+", "-", "|"; "=".
// Partial results travel as text with 18 significant digits and are read again where they are used,
// so '2(3)' reads as 23 and '1/3*3' is 0.999999999999999999. Arithmetic never traps: division by zero
// and invalid operations give infinite or undefined values, which no operand reader accepts.

#include <stdexcept>
#include <string>
#include <string_view>

namespace app::model {

/// A refused entry. The message is "Entry could not be evaluated:", a carriage return and the reason.
class EAssignError : public std::runtime_error {
public:
    explicit EAssignError(const std::string& message) : std::runtime_error(message) {}
};

/// Evaluates a whole entry; blanks and tabs anywhere are ignored. The result is always finite.
/// Throws EAssignError.
[[nodiscard]] long double EvaluateExpression(std::string_view text);

/// Refusal of an entry beyond what a data file holds.
inline constexpr const char* kEntryNotFiniteMessage =
    "Entry must be a finite number: at most 1.79769E308 in magnitude.";

/// A field's or a cell's entry: EvaluateExpression, refused with kEntryNotFiniteMessage beyond double
/// precision. Throws EAssignError.
[[nodiscard]] long double EvaluateEntry(std::string_view text);

/// Reads one operand: a constant (pi, e, optionally negated), a function application such as "sin-1",
/// a factorial "n!", a hexadecimal integer "$1F" (up to 64 bits) or a decimal number with "." as the
/// separator and an optional exponent. Case-insensitive. May return an infinite or undefined value
/// (as for "sqrt-1"). Throws EAssignError.
[[nodiscard]] long double EvaluateOperand(std::string_view text);

/// True when the lower-cased text is exactly one of the 25 function names, "!" or "$".
[[nodiscard]] bool IsFunctionName(std::string_view text);

/// n! of a whole number; -n! is the negated factorial of n. Throws EAssignError for a fractional value.
[[nodiscard]] long double factorial(long double n);
[[nodiscard]] long double secant(long double x);    // 1 / cos x, x [rad]
[[nodiscard]] long double cosecant(long double x);  // 1 / sin x, x [rad]

}  // namespace app::model
