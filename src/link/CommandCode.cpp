#include "link/CommandCode.h"

#include "link/Codes.h"

namespace devicelink {

std::optional<int> commandValue(const QString &code) {
    if (code.isEmpty() || code.size() > 4)
        return std::nullopt;
    if (code.size() > 1 && code[0] == QLatin1Char('0'))
        return std::nullopt;
    int value = 0;
    for (const QChar c : code) {
        int digit;
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digit = c.unicode() - '0';
        else if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
            digit = c.unicode() - 'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + digit;
    }
    if (value > 32767)
        return std::nullopt;
    return value;
}

QString codeOf(int value) {
    return QString::number(value, 16).toUpper();
}

QString numberCode(int n) {
    return codeOf(number(n));
}

} // namespace devicelink
