#pragma once

#include "web/Role.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace web {

// users.ini as text: one section per user with its role and its password's
// salted PBKDF2 digest (never the password).
//
//   [alice]
//   Role=operator
//   Salt=<base64>
//   Iterations=100000
//   Hash=<base64>
//
// Reading is bounded (1 MiB, 1,000 users) and strict: a section that does
// not make a whole user is left out and named, never half-used.
class UsersFile {
public:
    static constexpr qsizetype sizeLimit = 1024 * 1024;
    static constexpr int userLimit = 1000;
    static constexpr int minIterations = 100000;

    struct User {
        QString name;
        Role role = Role::Viewer;
        QByteArray salt;
        int iterations = minIterations;
        QByteArray hash;
        bool operator==(const User &) const = default;
    };

    struct Parsed {
        QList<User> users;
        QStringList problems; // "line 7: ...", "user bob: no Hash"
    };

    static Parsed parse(QByteArrayView text);
    static QByteArray write(const QList<User> &users);

    // 1 to 32 of letters, digits, '.', '_', '-', not starting with '.' or '-'.
    static bool validName(const QString &name);
};

} // namespace web
