#include "web/UserStore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPasswordDigestor>
#include <QPointer>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QThreadPool>
#include <memory>
#include <sys/stat.h>

namespace web {

namespace {
constexpr QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                            QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                            QFileDevice::WriteOther | QFileDevice::ExeOther;
} // namespace

UserStore::UserStore(QString path)
    : m_path(std::move(path)) {
    refresh();
}

bool UserStore::refresh() {
    const QFileInfo info(m_path);
    const qint64 size = info.exists() ? info.size() : -2;
    const QDateTime time = info.exists() ? info.lastModified() : QDateTime();
    if (size == m_seenSize && time == m_seenTime)
        return false;
    m_seenSize = size;
    m_seenTime = time;
    const QList<User> before = m_users;
    m_users.clear();
    m_problems.clear();
    if (!info.exists())
        return before != m_users;
    // Digests readable by others invite an offline guess: the file is made
    // the owner's alone again before it is used.
    if (info.permissions() & others)
        QFile::setPermissions(m_path, ownerOnly);
    QFile file(m_path);
    if (!info.isFile() || size > UsersFile::sizeLimit || !file.open(QIODevice::ReadOnly)) {
        m_problems.append(size > UsersFile::sizeLimit
                              ? QStringLiteral("%1 is larger than 1 MiB").arg(m_path)
                              : QStringLiteral("%1 cannot be read").arg(m_path));
        return before != m_users;
    }
    const UsersFile::Parsed parsed = UsersFile::parse(file.read(UsersFile::sizeLimit + 1));
    m_users = parsed.users;
    m_problems = parsed.problems;
    return before != m_users;
}

std::optional<UserStore::User> UserStore::find(const QString &name) const {
    for (const User &user : m_users) {
        if (user.name == name)
            return user;
    }
    return std::nullopt;
}

std::optional<QList<UserStore::User>> UserStore::readForChange(QString *error) const {
    const QFileInfo info(m_path);
    if (!info.exists())
        return QList<User>();
    QFile file(m_path);
    if (!info.isFile() || info.size() > UsersFile::sizeLimit || !file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1 cannot be read; it is left as it is").arg(m_path);
        return std::nullopt;
    }
    const UsersFile::Parsed parsed = UsersFile::parse(file.read(UsersFile::sizeLimit + 1));
    if (!parsed.problems.isEmpty()) {
        *error = QStringLiteral("%1 has lines that cannot be used (%2); mend them first, it is "
                                "left as it is")
                     .arg(m_path, parsed.problems.join(QStringLiteral("; ")));
        return std::nullopt;
    }
    return parsed.users;
}

QString UserStore::add(const QString &name, Role role, const QByteArray &password) {
    if (!UsersFile::validName(name))
        return QStringLiteral("a user name is 1 to 32 letters, digits, '.', '_' or '-'");
    if (password.isEmpty() || password.size() > passwordLimit)
        return QStringLiteral("a password is 1 to %1 bytes").arg(passwordLimit);
    QString error;
    std::optional<QList<User>> users = readForChange(&error);
    if (!users)
        return error;
    User user;
    user.name = name;
    user.role = role;
    user.salt.resize(saltBytes);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(user.salt.data()),
                                          saltBytes / sizeof(quint32));
    user.iterations = UsersFile::minIterations;
    user.hash = digest(password, user.salt, user.iterations);
    bool replaced = false;
    for (User &u : *users) {
        if (u.name == name) {
            u = user;
            replaced = true;
        }
    }
    if (!replaced) {
        if (users->size() >= UsersFile::userLimit)
            return QStringLiteral("there are %1 users already").arg(UsersFile::userLimit);
        users->append(user);
    }
    return save(*users);
}

QString UserStore::remove(const QString &name) {
    QString error;
    std::optional<QList<User>> users = readForChange(&error);
    if (!users)
        return error;
    const qsizetype before = users->size();
    users->removeIf([&](const User &u) { return u.name == name; });
    if (users->size() == before)
        return QStringLiteral("there is no user %1").arg(name);
    return save(*users);
}

QString UserStore::save(const QList<User> &users) {
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("%1 cannot be written: %2").arg(m_path, file.errorString());
    // The new file is the owner's alone from its first byte, whatever the umask.
    if (::fchmod(file.handle(), S_IRUSR | S_IWUSR) != 0) {
        file.cancelWriting();
        return QStringLiteral("%1 cannot be made owner-only").arg(m_path);
    }
    file.write(UsersFile::write(users));
    if (!file.commit())
        return QStringLiteral("%1 cannot be written: %2").arg(m_path, file.errorString());
    m_seenSize = -1;
    refresh();
    return {};
}

QByteArray UserStore::digest(const QByteArray &password, const QByteArray &salt, int iterations) {
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password, salt,
                                              iterations, 32);
}

bool UserStore::matches(const User &user, const QByteArray &password) {
    if (password.isEmpty() || password.size() > passwordLimit)
        return false;
    const QByteArray d = digest(password, user.salt, user.iterations);
    if (d.size() != user.hash.size())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < d.size(); ++i)
        diff |= static_cast<unsigned char>(d[i] ^ user.hash[i]);
    return diff == 0;
}

void UserStore::matchLater(const User &user, const QByteArray &password, QObject *context,
                           std::function<void(bool)> done) {
    // The relay lives on the caller's thread and is deleted there once the
    // worker has posted its answer.
    std::shared_ptr<QObject> relay(new QObject, [](QObject *o) { o->deleteLater(); });
    QPointer<QObject> guard(context);
    QThreadPool::globalInstance()->start(
        [user, password, relay, guard = std::move(guard), done = std::move(done)]() mutable {
            const bool ok = matches(user, password);
            QMetaObject::invokeMethod(
                relay.get(),
                [guard = std::move(guard), done = std::move(done), ok] {
                    if (guard)
                        done(ok);
                },
                Qt::QueuedConnection);
        });
}

} // namespace web
