#include "remote/AllowList.h"

#include <QRegularExpression>

namespace remote {

AllowList AllowList::parse(const QString &text, QString *bad) {
    AllowList out;
    static const QRegularExpression separators(QStringLiteral("[,;\\s]+"));
    const QStringList entries = text.split(separators, Qt::SkipEmptyParts);
    for (const QString &entry : entries) {
        QPair<QHostAddress, int> network;
        if (entry.contains(QLatin1Char('/'))) {
            network = QHostAddress::parseSubnet(entry);
        } else {
            const QHostAddress address(entry);
            if (!address.isNull())
                network = {address, address.protocol() == QHostAddress::IPv4Protocol ? 32 : 128};
        }
        if (network.first.isNull()) {
            out.m_networks.clear();
            out.m_everyone.clear();
            out.m_valid = false;
            if (bad)
                *bad = entry;
            return out;
        }
        network.first = plain(network.first);
        if (network.first.protocol() == QHostAddress::IPv4Protocol && network.second > 32)
            network.second -= 96; // ::ffff:10.0.0.0/104 is 10.0.0.0/8
        if (network.second == 0 && out.m_everyone.isEmpty())
            out.m_everyone = entry;
        out.m_networks.append(network);
    }
    return out;
}

QHostAddress AllowList::plain(const QHostAddress &address) {
    bool isIPv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isIPv4);
    if (isIPv4 && address.protocol() == QHostAddress::IPv6Protocol)
        return QHostAddress(ipv4);
    return address;
}

bool AllowList::allows(const QHostAddress &client) const {
    const QHostAddress address = plain(client);
    if (address.isNull())
        return false;
    if (address.isLoopback())
        return true;
    for (const auto &network : m_networks) {
        if (address.isInSubnet(network))
            return true;
    }
    return false;
}

} // namespace remote
