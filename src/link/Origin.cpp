#include "link/Origin.h"

namespace devicelink {

namespace {
QString named(const char *what, const QString &detail) {
    if (detail.isEmpty())
        return QLatin1String(what);
    return QLatin1String(what) + QLatin1Char(' ') + detail;
}
} // namespace

QString Origin::text() const {
    switch (kind) {
    case Kind::Panel:
        return QStringLiteral("panel");
    case Kind::Keyboard:
        return QStringLiteral("keyboard");
    case Kind::Joystick:
        return QStringLiteral("joystick");
    case Kind::CodeBox:
        return QStringLiteral("code box");
    case Kind::Terminal:
        return QStringLiteral("terminal");
    case Kind::StatusPoll:
        return QStringLiteral("status poll");
    case Kind::Shutdown:
        return QStringLiteral("shutdown");
    case Kind::SiteChooser:
        return QStringLiteral("site chooser");
    case Kind::Acknowledgement:
        return QStringLiteral("acknowledgement");
    case Kind::Modem:
        return QStringLiteral("modem");
    case Kind::Transmission:
        return QStringLiteral("transmission");
    case Kind::Remote:
        return detail;
    case Kind::Videohub:
        return named("videohub", detail);
    case Kind::Web:
        return named("web", detail);
    case Kind::Bus:
        return named("mqtt", detail);
    case Kind::Tour:
        return named("tour", detail);
    case Kind::Alarm:
        return named("alarm", detail);
    case Kind::Salvo:
        return named("salvo", detail);
    case Kind::Schedule:
        return named("schedule", detail);
    }
    return detail;
}

bool Origin::isPanel() const {
    switch (kind) {
    case Kind::Panel:
    case Kind::Keyboard:
    case Kind::Joystick:
    case Kind::CodeBox:
    case Kind::Terminal:
    case Kind::StatusPoll:
    case Kind::Shutdown:
    case Kind::SiteChooser:
    case Kind::Acknowledgement:
    case Kind::Modem:
    case Kind::Transmission:
        return true;
    default:
        return false;
    }
}

QString Origin::source() const {
    return isPanel() ? QStringLiteral("panel") : text();
}

} // namespace devicelink
