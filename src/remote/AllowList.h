#pragma once

#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QString>

namespace remote {

// The clients that may drive the switcher: the [Videohub] Allow list of
// addresses and networks ("10.0.0.5, 10.1.0.0/16"), and this machine itself
// always. An IPv4 client seen through an IPv6 socket is its IPv4 address.
class AllowList {
public:
    // An entry that is not an address or a network makes the whole list
    // invalid (*bad names it): a typing error must not open the server wider.
    static AllowList parse(const QString &text, QString *bad = nullptr);

    bool isValid() const { return m_valid; }
    bool isEmpty() const { return m_networks.isEmpty(); }
    bool allows(const QHostAddress &client) const;
    // The first entry that lets every address in ("10.0.0.5/0"), as written;
    // empty when there is none.
    QString everyone() const { return m_everyone; }

    // The address as this list compares it: IPv4-mapped IPv6 taken as IPv4.
    static QHostAddress plain(const QHostAddress &address);

private:
    QList<QPair<QHostAddress, int>> m_networks;
    bool m_valid = true;
    QString m_everyone;
};

} // namespace remote
