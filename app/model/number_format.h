#pragma once
// Numbers as the desktop program writes them: the general format of fields, cells, legends and tick
// labels, the partial results of the expression evaluator, and the labels of a table's preview axes.
// "." is the separator whatever the locale.

#include <string>

namespace app::model {

/// General number format with the given significant digits (1 to 18): fixed-point when the rounded
/// magnitude is at least 0.00001 and has at most that many integer digits, otherwise a mantissa, "E"
/// and the exponent without leading zeros or plus sign (1.5E-6, 1E20); trailing zeros dropped, "."
/// as the separator whatever the locale. Zero gives "0"; non-finite values "NAN", "INF", "-INF".
[[nodiscard]] std::string FormatGeneral(long double value, int significantDigits);

/// A partial result of the expression evaluator, as its operand reader reads it back: the general
/// format with 18 significant digits, except that it turns scientific one decade earlier (1E-5, not
/// 0.00001). The exponent carries no "+", which would split the text when a parenthesised result is
/// put back in place; infinite and undefined values print as words no operand rule accepts.
[[nodiscard]] std::string FormatExpressionResult(long double value);

/// Whether a preview axis spanning `minimum` … `maximum` labels in scientific form: a magnitude above
/// 100000, or both below 0.001 and not both zero.
[[nodiscard]] bool ScientificAxis(long double minimum, long double maximum);
/// An axis label: "#,##0.###" (thousands separated by ",", at most three decimals) or, scientific,
/// "#.0##E-0" (one to three decimals, the exponent signed only when negative).
[[nodiscard]] std::string FormatAxisNumber(long double value, bool scientific);

}  // namespace app::model
