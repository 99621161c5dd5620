// The number at the start of a prompt's answer, and its rounding to the 16 bits
// of a port property. Checked against the answer's grammar read another way
// (blanks dropped first, then sign, digits, fraction and exponent matched)
// and the C library's own conversion of what matched.
#include "FuzzCheck.h"
#include "terminal/NumberAnswer.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The longest number at the start of text without blanks, written for strtod.
std::string numberAtStart(const std::string &s) {
    size_t i = 0;
    std::string out;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        out += s[i++];
    size_t digits = 0;
    while (i < s.size() && isDigit(s[i]))
        out += s[i++], ++digits;
    if (i < s.size() && s[i] == '.') {
        out += s[i++];
        while (i < s.size() && isDigit(s[i]))
            out += s[i++], ++digits;
    }
    if (digits == 0)
        return {};
    if (i + 1 < s.size() && std::string("eEdD").find(s[i]) != std::string::npos) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (s[j] == '+' || s[j] == '-')
            exponent += s[j++];
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j]))
                exponent += s[j++];
            out += exponent;
        }
    }
    return out;
}

// Rounded to the nearest whole number, halves to the even one.
double roundHalfEven(double v) {
    const double r = std::round(v);
    if (std::fabs(v - std::trunc(v)) == 0.5)
        return 2.0 * std::round(v / 2.0);
    return r;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString answer = fuzz::latin1(data, size);
    const std::optional<double> number = terminal::leadingNumber(answer);

    std::string plain;
    for (size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c != ' ' && c != '\t' && c != '\n')
            plain += c;
    }
    const std::string matched = numberAtStart(plain);
    if (matched.empty()) {
        FUZZ_CHECK(number && *number == 0.0);
    } else {
        errno = 0;
        const double expected = std::strtod(matched.c_str(), nullptr);
        if (errno == ERANGE && std::isinf(expected)) {
            FUZZ_CHECK(!number);
        } else {
            FUZZ_CHECK(number && std::isfinite(*number));
            // Below the smallest normal number either reading is good enough.
            if (std::fabs(expected) >= DBL_MIN || expected == 0.0)
                FUZZ_CHECK(*number == expected);
            else
                FUZZ_CHECK(*number == expected || *number == 0.0);
        }
    }

    if (number) {
        const std::optional<qint16> value = terminal::toInt16(*number);
        const double rounded = roundHalfEven(*number);
        if (rounded >= -32768.0 && rounded <= 32767.0)
            FUZZ_CHECK(value && *value == rounded);
        else
            FUZZ_CHECK(!value);
    }

    // The prompt's default text, a property's value with a blank for its
    // sign, reads back as that value.
    const int current = size >= 2 ? static_cast<qint16>(data[0] << 8 | data[1]) : 0;
    const QString shown =
        current < 0 ? QString::number(current) : QLatin1Char(' ') + QString::number(current);
    FUZZ_CHECK(terminal::leadingNumber(shown) == double(current));
    FUZZ_CHECK(terminal::toInt16(current) == current);
    return 0;
}
