#pragma once

#include "web/UsersFile.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace web {

// users.ini in the storage folder: read when it changes, written whole and
// atomically with owner-only permissions (0600), and the password checks
// against its digests (PBKDF2-SHA256 through QPasswordDigestor, a salt of
// 16 random bytes per user, 100,000 iterations or more).
class UserStore {
public:
    using User = UsersFile::User;

    static constexpr int saltBytes = 16;
    static constexpr qsizetype passwordLimit = 1024;

    explicit UserStore(QString path);

    QString path() const { return m_path; }
    // Reads the file again if its size or time changed since; true when the
    // users changed.
    bool refresh();
    const QList<User> &users() const { return m_users; }
    std::optional<User> find(const QString &name) const;
    bool isEmpty() const { return m_users.isEmpty(); }
    // What made parts of the file unusable, or why it could not be read.
    QStringList problems() const { return m_problems; }

    // Adds the user, or gives an existing one a new role and password. An
    // error text when it cannot: a bad name or password, or a file that
    // cannot be read whole (it is then never rewritten).
    QString add(const QString &name, Role role, const QByteArray &password);
    QString remove(const QString &name);

    static QByteArray digest(const QByteArray &password, const QByteArray &salt, int iterations);
    // In time independent of where the digests differ.
    static bool matches(const User &user, const QByteArray &password);
    // The check on a worker thread (100,000 rounds take a tenth of a second
    // or more); done is called on context's thread, unless context is gone.
    static void matchLater(const User &user, const QByteArray &password, QObject *context,
                           std::function<void(bool)> done);

private:
    // The file as it is on disk now; nullopt (with *error) when it cannot be used whole.
    std::optional<QList<User>> readForChange(QString *error) const;
    QString save(const QList<User> &users);

    QString m_path;
    QList<User> m_users;
    QStringList m_problems;
    qint64 m_seenSize = -1;
    QDateTime m_seenTime;
};

} // namespace web
