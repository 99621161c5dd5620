#pragma once

#include <QString>
#include <optional>

namespace devicelink {

// The command value that a command code names: the code must be the upper-case
// hexadecimal text, without leading zeros, of a value from 0 to 32767 ("0",
// "2E", "B4"). Any other text names no value.
std::optional<int> commandValue(const QString &code);

// The code of a byte value: upper-case hexadecimal without leading zeros.
QString codeOf(int value);

// The code of number n (1 to 16) as cameras and presets send it: 0x30 + n.
QString numberCode(int n);

} // namespace devicelink
