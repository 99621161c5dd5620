#include "web/Access.h"

#include "web/HttpHead.h"

#include <QPointer>

namespace web {

namespace {
// A digest to check an unknown user's password against, so that an unknown
// name costs as long as a known one and says nothing by its timing.
const UsersFile::User &decoy() {
    static const UsersFile::User user = [] {
        UsersFile::User u;
        u.name = QStringLiteral("-");
        u.salt = QByteArray(16, '\x5a');
        u.iterations = UsersFile::minIterations;
        u.hash = QByteArray(32, '\0');
        return u;
    }();
    return user;
}
} // namespace

Access::Access(UserStore &users, devicelink::Priorities priorities, std::function<qint64()> clock,
               QObject *parent)
    : QObject(parent)
    , m_users(users)
    , m_priorities(priorities)
    , m_clock(std::move(clock))
    , m_known(users.users()) {}

devicelink::Origin Access::originOf(const QString &user, Role role) const {
    const int priority =
        role == Role::Supervisor ? m_priorities.supervisor : m_priorities.webOperator;
    return devicelink::Origin(devicelink::Origin::Kind::Web, user, priority);
}

void Access::refreshUsers() {
    m_users.refresh();
    if (m_users.users() == m_known)
        return;
    const QList<UsersFile::User> before = std::exchange(m_known, m_users.users());
    for (const UsersFile::User &old : before) {
        const std::optional<UsersFile::User> now = m_users.find(old.name);
        if (!now || now->role != old.role || now->hash != old.hash) {
            m_tokens.revokeUser(old.name);
            emit userGone(old.name);
        }
    }
}

std::optional<Access::Caller> Access::caller(const HttpHead &head) {
    const QByteArray bearer = HttpHead::bearer(head.field("authorization"));
    if (!bearer.isEmpty())
        return callerOf(bearer, false);
    const QByteArray cookie = HttpHead::cookie(head.field("cookie"), cookieName);
    if (!cookie.isEmpty())
        return callerOf(cookie, true);
    return std::nullopt;
}

std::optional<Access::Caller> Access::callerOf(const QByteArray &token, bool byCookie) {
    if (token.isEmpty() || token.size() > 128)
        return std::nullopt;
    refreshUsers();
    const std::optional<TokenBook::Grant> grant = m_tokens.use(token, m_clock());
    if (!grant)
        return std::nullopt;
    return Caller{grant->user, grant->role, token, byCookie, originOf(grant->user, grant->role)};
}

void Access::login(const QString &user, const QByteArray &password, const QString &address,
                   std::function<void(const LoginResult &)> done) {
    const qint64 now = m_clock();
    if (m_checking >= checksLimit || !m_loginLimit.take(address, now)) {
        LoginResult limited;
        limited.kind = LoginResult::Kind::Limited;
        limited.retryMs = qMax<qint64>(m_loginLimit.waitMs(address, now), 1000);
        done(limited);
        return;
    }
    refreshUsers();
    const std::optional<UsersFile::User> known = m_users.find(user);
    ++m_checking;
    UserStore::matchLater(
        known ? *known : decoy(), password, this, [this, known, done = std::move(done)](bool ok) {
            --m_checking;
            LoginResult result;
            if (ok && known) {
                result.kind = LoginResult::Kind::Granted;
                result.role = known->role;
                result.token = m_tokens.issue(known->name, known->role, m_clock());
            }
            done(result);
        });
}

void Access::logout(const QByteArray &token) {
    m_tokens.revoke(token);
}

} // namespace web
