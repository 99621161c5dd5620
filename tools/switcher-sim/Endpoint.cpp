#include "Endpoint.h"

namespace sim {

std::optional<Endpoint> Endpoint::parse(const QString &text, QString *error) {
    const auto fail = [&](const QString &why) -> std::optional<Endpoint> {
        if (error)
            *error = QStringLiteral("\"%1\": %2").arg(text, why);
        return std::nullopt;
    };
    QString host = QStringLiteral("127.0.0.1");
    QString port = text.trimmed();
    const int colon = port.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) {
        host = port.left(colon);
        port = port.mid(colon + 1);
        if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
            host = host.mid(1, host.size() - 2);
        else if (host.contains(QLatin1Char(':')))
            return fail(QStringLiteral("write an IPv6 address in brackets, as [::1]:2000"));
    }
    Endpoint e;
    if (!e.address.setAddress(host))
        return fail(QStringLiteral("not an IP address"));
    bool ok = false;
    const uint number = port.toUInt(&ok);
    if (!ok || number > 65535 || port.startsWith(QLatin1Char('+')))
        return fail(QStringLiteral("not a port number (0 to 65535)"));
    e.port = static_cast<quint16>(number);
    return e;
}

QString Endpoint::text() const {
    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
                             ? QStringLiteral("[%1]").arg(address.toString())
                             : address.toString();
    return QStringLiteral("%1:%2").arg(host).arg(port);
}

} // namespace sim
