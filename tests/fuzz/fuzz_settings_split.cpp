// The properties dialog's split of a port settings string into its four
// fields, cut at fixed places from the end: on any string the fields are the
// characters at those places, and with the three separators between them
// they make up the whole string.
#include "FuzzCheck.h"
#include "terminal/PortSettingsFields.h"

namespace {
using terminal::PortSettingsFields;

// The characters at [from, from + count) that the string has, or nothing
// when the place starts outside it.
QString at(const QString &s, qsizetype from, qsizetype count) {
    return from < 0 || count <= 0 || from >= s.size() ? QString() : s.mid(from, count);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString settings = fuzz::latin1(data, size);
    const PortSettingsFields fields = PortSettingsFields::split(settings);
    const qsizetype length = settings.size();
    const qsizetype k = settings.contains(QLatin1Char('.')) ? 2 : 0;

    FUZZ_CHECK(fields.parity.size() <= 1 && fields.dataBits.size() <= 1);
    FUZZ_CHECK(fields.stopBits.size() <= k + 1);
    FUZZ_CHECK(fields.speed == at(settings, 0, length - k - 6));
    FUZZ_CHECK(fields.parity == at(settings, length - k - 5, 1));
    FUZZ_CHECK(fields.dataBits == at(settings, length - k - 3, 1));
    FUZZ_CHECK(fields.stopBits == at(settings, length - k - 1, k + 1));
    if (length >= k + 6) {
        const QString whole = fields.speed + settings[length - k - 6] + fields.parity +
                              settings[length - k - 4] + fields.dataBits +
                              settings[length - k - 2] + fields.stopBits;
        FUZZ_CHECK(whole == settings);
    }

    const int entry = terminal::parityEntryFor(fields.parity);
    FUZZ_CHECK(entry >= -1 && entry < 5);
    if (entry >= 0)
        FUZZ_CHECK(fields.parity ==
                   QString(QLatin1Char(terminal::parityEntries[entry][0])).toLower());
    else
        FUZZ_CHECK(fields.parity.size() != 1 ||
                   !QStringLiteral("eonms").contains(fields.parity, Qt::CaseSensitive));
    return 0;
}
