#include "ui/SerialSettings.h"

#include <QCoreApplication>
#include <QStringList>

namespace ui {

QString SerialSettings::text() const {
    return QStringLiteral("%1,%2,%3,%4")
        .arg(speed)
        .arg(QLatin1Char(parity))
        .arg(dataBits)
        .arg(stopBits);
}

std::optional<SerialSettings> SerialSettings::parse(const QString &text, QString *error) {
    const auto fail = [&]() -> std::optional<SerialSettings> {
        if (error)
            *error =
                QCoreApplication::translate("ui::SerialSettings", "Invalid port settings \"%1\"")
                    .arg(text);
        return std::nullopt;
    };
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return fail();
    SerialSettings s;
    bool ok = false;
    s.speed = parts[0].trimmed().toInt(&ok);
    if (!ok || s.speed <= 0)
        return fail();
    const QString parity = parts[1].trimmed().toLower();
    if (parity.size() != 1 || !QStringLiteral("neoms").contains(parity))
        return fail();
    s.parity = parity[0].toLatin1();
    s.dataBits = parts[2].trimmed().toInt(&ok);
    if (!ok || s.dataBits < 4 || s.dataBits > 8)
        return fail();
    s.stopBits = parts[3].trimmed();
    if (s.stopBits != QLatin1String("1") && s.stopBits != QLatin1String("1.5") &&
        s.stopBits != QLatin1String("2"))
        return fail();
    return s;
}

} // namespace ui
