#pragma once

#include "web/Role.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>

namespace web {

// The tokens handed out at log-in: 32 random bytes each (base64url), held
// only in memory, each naming its user and role. A token unused for 12 hours
// ends; at most 1,000 live at once, the longest unused going first.
class TokenBook {
public:
    static constexpr qint64 idleMs = 12 * 3600 * 1000;
    static constexpr int tokenLimit = 1000;

    struct Grant {
        QString user;
        Role role = Role::Viewer;
        qint64 lastUse = 0;
    };

    QByteArray issue(const QString &user, Role role, qint64 now);
    // The grant of a live token, which counts as used now.
    std::optional<Grant> use(const QByteArray &token, qint64 now);
    void revoke(const QByteArray &token);
    // Every token of a user (removed, or given another role).
    void revokeUser(const QString &user);
    // Whether a user still holds a live token.
    bool holds(const QString &user) const;
    int size() const { return int(m_grants.size()); }

private:
    QHash<QByteArray, Grant> m_grants;
};

} // namespace web
