#include "terminal/PortProfile.h"

#include "ui/SettingsStore.h"

namespace terminal {

namespace {
const QString section = QStringLiteral("Properties");
const QString keys[] = {QStringLiteral("Settings"), QStringLiteral("CommPort"),
                        QStringLiteral("Handshaking"), QStringLiteral("Echo")};
} // namespace

PortProfile PortProfile::read(const ui::SettingsStore &store) {
    return {store.value(section, keys[0]), store.value(section, keys[1]),
            store.value(section, keys[2]), store.value(section, keys[3])};
}

void PortProfile::write(ui::SettingsStore &store) const {
    store.setValue(section, keys[0], settings);
    store.setValue(section, keys[1], commPort);
    store.setValue(section, keys[2], handshaking);
    store.setValue(section, keys[3], echo);
}

std::optional<bool> PortProfile::echoFlag() const {
    const QString text = echo.trimmed();
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool isNumber = false;
    const double number = text.toDouble(&isNumber);
    if (isNumber)
        return number != 0;
    return std::nullopt;
}

QString PortProfile::echoText(bool on) {
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace terminal
