#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace terminal {

// The number at the start of an operator's answer: blanks (spaces, tabs,
// line feeds) are skipped wherever they are, then an optional sign, digits,
// a decimal fraction and an exponent (E or D) are read. An answer that does
// not begin with a number reads as 0. Empty when the number is too large to
// hold at all.
std::optional<double> leadingNumber(const QString &answer);

// A number rounded to a 16-bit integer, halves to the even neighbour; empty
// when it falls outside -32768 to 32767.
std::optional<qint16> toInt16(double value);

} // namespace terminal
