// The port settings string parser: any text is a valid setting or an error
// with its description; a valid one is given back as text that parses to the
// same setting, that the properties dialog splits into the same fields, and
// the dialog's own OK string (parity letter in upper case) parses to it too.
#include "FuzzCheck.h"
#include "terminal/PortSettingsFields.h"
#include "ui/SerialSettings.h"

namespace {
using ui::SerialSettings;

bool same(const SerialSettings &a, const SerialSettings &b) {
    return a.speed == b.speed && a.parity == b.parity && a.dataBits == b.dataBits &&
           a.stopBits == b.stopBits;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text = fuzz::latin1(data, size);
    QString error;
    const std::optional<SerialSettings> parsed = SerialSettings::parse(text, &error);
    if (!parsed) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    const SerialSettings &s = *parsed;
    FUZZ_CHECK(s.speed > 0);
    FUZZ_CHECK(s.parity != 0 && QByteArrayView("neoms").contains(s.parity));
    FUZZ_CHECK(s.dataBits >= 4 && s.dataBits <= 8);
    FUZZ_CHECK(s.stopBits == QLatin1String("1") || s.stopBits == QLatin1String("1.5") ||
               s.stopBits == QLatin1String("2"));

    const QString given = s.text();
    const std::optional<SerialSettings> again = SerialSettings::parse(given, nullptr);
    FUZZ_CHECK(again && same(*again, s) && again->text() == given);

    const terminal::PortSettingsFields fields = terminal::PortSettingsFields::split(given);
    FUZZ_CHECK(fields.speed == QString::number(s.speed));
    FUZZ_CHECK(fields.parity == QString(QLatin1Char(s.parity)));
    FUZZ_CHECK(fields.dataBits == QString::number(s.dataBits));
    FUZZ_CHECK(fields.stopBits == s.stopBits);
    const int entry = terminal::parityEntryFor(fields.parity);
    FUZZ_CHECK(entry >= 0);
    FUZZ_CHECK(QChar(QLatin1Char(terminal::parityEntries[entry][0])).toLower() == s.parity);

    const QString ok = QStringLiteral("%1,%2,%3,%4")
                           .arg(fields.speed, QString(QLatin1Char(s.parity)).toUpper(),
                                fields.dataBits, fields.stopBits);
    const std::optional<SerialSettings> chosen = SerialSettings::parse(ok, nullptr);
    FUZZ_CHECK(chosen && same(*chosen, s));
    return 0;
}
