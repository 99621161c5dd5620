#include "link/Origin.h"

namespace devicelink {

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
        break;
    }
    return detail;
}

} // namespace devicelink
