#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>

namespace remote {

// The priority of each Videohub client by its address, from [Videohub]
// Priorities ("10.0.0.5=30, 10.1.0.0/16=25, ::1=45"): the most specific
// network that holds the address names it; a client no entry names has the
// priority of every Videohub client ([Priorities] Videohub).
class ClientPriorities {
public:
    // An entry that makes no sense is left out and named in *bad.
    static ClientPriorities parse(const QString &text, QStringList *bad = nullptr);

    // The client's priority, or fallback when no entry names it.
    int of(const QHostAddress &client, int fallback) const;
    bool isEmpty() const { return m_entries.isEmpty(); }

private:
    struct Entry {
        QHostAddress network;
        int length = 0;
        int priority = 0;
    };
    QList<Entry> m_entries;
};

} // namespace remote
