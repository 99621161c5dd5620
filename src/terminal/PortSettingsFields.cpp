#include "terminal/PortSettingsFields.h"

namespace terminal {

namespace {
// The characters from a 0-based position, or empty text when the position
// falls outside the string (a settings string too short to hold a field).
QString cut(const QString &s, qsizetype from, qsizetype count) {
    if (from < 0 || count <= 0 || from >= s.size())
        return {};
    return s.mid(from, count);
}
} // namespace

PortSettingsFields PortSettingsFields::split(const QString &settings) {
    const qsizetype k = settings.contains(QLatin1Char('.')) ? 2 : 0;
    const qsizetype length = settings.size();
    PortSettingsFields fields;
    fields.speed = cut(settings, 0, length - k - 6);
    fields.parity = cut(settings, length - k - 5, 1);
    fields.dataBits = cut(settings, length - k - 3, 1);
    fields.stopBits = cut(settings, length - k - 1, k + 1);
    return fields;
}

int parityEntryFor(const QString &letter) {
    static const QString letters = QStringLiteral("eonms");
    if (letter.size() != 1)
        return -1;
    const qsizetype at = letters.indexOf(letter.at(0), 0, Qt::CaseSensitive);
    return at < 0 ? -1 : static_cast<int>(at);
}

} // namespace terminal
