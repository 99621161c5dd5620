#include "remote/ClientPriorities.h"

#include "remote/AllowList.h"

#include <QStringList>

namespace remote {

ClientPriorities ClientPriorities::parse(const QString &text, QStringList *bad) {
    ClientPriorities out;
    const QStringList items = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &raw : items) {
        const QString item = raw.trimmed();
        // The priority follows the last '=': an IPv6 address has colons, never '='.
        const qsizetype equals = item.lastIndexOf(QLatin1Char('='));
        bool ok = false;
        const int priority = equals > 0 ? item.mid(equals + 1).trimmed().toInt(&ok) : 0;
        const QPair<QHostAddress, int> network =
            ok ? QHostAddress::parseSubnet(item.left(equals).trimmed())
               : QPair<QHostAddress, int>{QHostAddress(), -1};
        if (!ok || network.first.isNull() || network.second < 0) {
            if (bad)
                bad->append(item);
            continue;
        }
        out.m_entries.append({AllowList::plain(network.first), network.second, priority});
    }
    return out;
}

int ClientPriorities::of(const QHostAddress &client, int fallback) const {
    const QHostAddress address = AllowList::plain(client);
    int best = -1;
    int priority = fallback;
    for (const Entry &e : m_entries) {
        if (e.length > best && address.isInSubnet(e.network, e.length)) {
            best = e.length;
            priority = e.priority;
        }
    }
    return priority;
}

} // namespace remote
