// The command code encoder: a code names a value only when it is that value's
// own code (so code to value to code gives the same text), and every value a
// panel sends comes back from its code.
#include "FuzzCheck.h"
#include "link/CommandCode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString code = fuzz::latin1(data, size);
    const std::optional<int> value = devicelink::commandValue(code);
    if (value) {
        FUZZ_CHECK(*value >= 0 && *value <= 32767);
        FUZZ_CHECK(devicelink::codeOf(*value) == code);
    }
    // Read another way: hexadecimal text of at most four digits that is its
    // value's own code names that value.
    bool ok = false;
    const int hex = code.size() <= 4 ? code.toInt(&ok, 16) : 0;
    const bool named = ok && hex >= 0 && hex <= 32767 && devicelink::codeOf(hex) == code;
    FUZZ_CHECK(value.has_value() == named);
    if (named)
        FUZZ_CHECK(*value == hex);

    // Any value from the input, and the number codes of cameras and presets.
    const int sent = size >= 2 ? (data[0] << 8 | data[1]) & 0x7FFF : 0;
    const QString sentCode = devicelink::codeOf(sent);
    FUZZ_CHECK(devicelink::commandValue(sentCode) == sent);
    for (const QChar c : sentCode)
        FUZZ_CHECK((c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                   (c >= QLatin1Char('A') && c <= QLatin1Char('F')));
    const int n = size > 0 ? 1 + data[0] % 16 : 1;
    FUZZ_CHECK(devicelink::commandValue(devicelink::numberCode(n)) == 0x30 + n);
    return 0;
}
