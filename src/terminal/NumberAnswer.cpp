#include "terminal/NumberAnswer.h"

#include <cfenv>
#include <cmath>
#include <string>

namespace terminal {

std::optional<double> leadingNumber(const QString &answer) {
    std::string digits;
    bool seenDigit = false;
    bool seenPoint = false;
    bool inExponent = false;
    bool exponentDigit = false;
    for (const QChar c : answer) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n'))
            continue;
        const char ch = c.toLatin1();
        const bool digit = ch >= '0' && ch <= '9';
        if (digit) {
            digits += ch;
            (inExponent ? exponentDigit : seenDigit) = true;
        } else if ((ch == '+' || ch == '-') &&
                   (digits.empty() || (inExponent && digits.back() == 'e'))) {
            digits += ch;
        } else if (ch == '.' && !seenPoint && !inExponent) {
            digits += ch;
            seenPoint = true;
        } else if ((ch == 'e' || ch == 'E' || ch == 'd' || ch == 'D') && seenDigit && !inExponent) {
            digits += 'e';
            inExponent = true;
        } else {
            break;
        }
    }
    // A dangling exponent ("12e", "12e-") reads as the mantissa alone.
    if (inExponent && !exponentDigit)
        digits.erase(digits.find('e'));
    if (!seenDigit)
        return 0.0;
    // Read in the C locale, whatever the operator's decimal separator.
    bool ok = false;
    const double value = QString::fromLatin1(digits.c_str()).toDouble(&ok);
    if (ok)
        return value;
    // Out of range: too large to hold is an overflow, too small is 0.
    return std::isinf(value) || std::abs(value) > 1.0 ? std::nullopt : std::optional(0.0);
}

std::optional<qint16> toInt16(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(saved);
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<qint16>(rounded);
}

} // namespace terminal
