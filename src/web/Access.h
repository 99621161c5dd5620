#pragma once

#include "link/Origin.h"
#include "link/Priorities.h"
#include "web/RateLimiter.h"
#include "web/Role.h"
#include "web/TokenBook.h"
#include "web/UserStore.h"

#include <QObject>
#include <functional>
#include <optional>

namespace web {

struct HttpHead;

// Who is asking: the users of users.ini, the tokens they were given at
// log-in (as a bearer token or the page's cookie), and the limit on log-in
// attempts per address (5 at once, then one every 12 s). A user removed or
// given another role loses every token at once.
class Access : public QObject {
    Q_OBJECT
public:
    static inline const QByteArray cookieName = "velmar_session";
    static constexpr int loginBurst = 5;
    static constexpr qint64 loginRefillMs = 12000;
    // Password checks running at once; more are asked to come back.
    static constexpr int checksLimit = 4;

    struct Caller {
        QString user;
        Role role = Role::Viewer;
        QByteArray token;
        bool byCookie = false;
        devicelink::Origin origin;
    };

    struct LoginResult {
        enum class Kind : quint8 { Granted, Denied, Limited };
        Kind kind = Kind::Denied;
        QByteArray token;
        Role role = Role::Viewer;
        qint64 retryMs = 0; // Limited: when to try again
    };

    Access(UserStore &users, devicelink::Priorities priorities, std::function<qint64()> clock,
           QObject *parent = nullptr);

    // The caller of a request: its bearer token, else its cookie.
    std::optional<Caller> caller(const HttpHead &head);
    // The caller of a token (the live socket's ?token=).
    std::optional<Caller> callerOf(const QByteArray &token, bool byCookie);
    // Checks the password off this thread; done is called on it.
    void login(const QString &user, const QByteArray &password, const QString &address,
               std::function<void(const LoginResult &)> done);
    void logout(const QByteArray &token);
    bool holdsToken(const QString &user) const { return m_tokens.holds(user); }

    devicelink::Origin originOf(const QString &user, Role role) const;
    UserStore &users() { return m_users; }
    qint64 now() const { return m_clock(); }

signals:
    // A user lost every token (removed from users.ini, or another role).
    void userGone(const QString &user);

private:
    void refreshUsers();

    UserStore &m_users;
    devicelink::Priorities m_priorities;
    std::function<qint64()> m_clock;
    QList<UsersFile::User> m_known; // the users as the tokens were given to them
    TokenBook m_tokens;
    RateLimiter m_loginLimit{loginBurst, loginRefillMs};
    int m_checking = 0;
};

} // namespace web
