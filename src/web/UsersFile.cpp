#include "web/UsersFile.h"

#include <QSet>

namespace web {

namespace {
QByteArrayView trimmed(QByteArrayView v) {
    while (!v.isEmpty() && (v.front() == ' ' || v.front() == '\t' || v.front() == '\r'))
        v = v.sliced(1);
    while (!v.isEmpty() && (v.back() == ' ' || v.back() == '\t' || v.back() == '\r'))
        v.chop(1);
    return v;
}

bool base64(QByteArrayView text, QByteArray *out) {
    const auto result =
        QByteArray::fromBase64Encoding(text.toByteArray(), QByteArray::AbortOnBase64DecodingErrors);
    if (!result)
        return false;
    *out = *result;
    return true;
}

struct Draft {
    QString name;
    int line = 0;
    bool hasRole = false, hasSalt = false, hasIterations = false, hasHash = false;
    UsersFile::User user;
};
} // namespace

bool UsersFile::validName(const QString &name) {
    if (name.isEmpty() || name.size() > 32 || name.front() == QLatin1Char('.') ||
        name.front() == QLatin1Char('-'))
        return false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        const bool ok = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
                        (u >= '0' && u <= '9') || u == '.' || u == '_' || u == '-';
        if (!ok)
            return false;
    }
    return true;
}

UsersFile::Parsed UsersFile::parse(QByteArrayView text) {
    Parsed parsed;
    if (text.size() > sizeLimit) {
        parsed.problems.append(QStringLiteral("the file is larger than 1 MiB"));
        return parsed;
    }
    std::optional<Draft> draft;
    QSet<QString> names;
    const auto finish = [&] {
        if (!draft)
            return;
        const Draft &d = *draft;
        QStringList missing;
        if (!d.hasRole)
            missing << QStringLiteral("Role");
        if (!d.hasSalt)
            missing << QStringLiteral("Salt");
        if (!d.hasIterations)
            missing << QStringLiteral("Iterations");
        if (!d.hasHash)
            missing << QStringLiteral("Hash");
        const bool duplicate = names.contains(d.user.name);
        if (!missing.isEmpty())
            parsed.problems.append(QStringLiteral("user %1 (line %2): no %3")
                                       .arg(d.name)
                                       .arg(d.line)
                                       .arg(missing.join(QStringLiteral(", "))));
        else if (duplicate)
            parsed.problems.append(
                QStringLiteral("user %1 (line %2): named twice").arg(d.name).arg(d.line));
        else if (parsed.users.size() >= userLimit)
            parsed.problems.append(QStringLiteral("user %1 (line %2): more than %3 users")
                                       .arg(d.name)
                                       .arg(d.line)
                                       .arg(userLimit));
        else {
            parsed.users.append(d.user);
            names.insert(d.user.name);
        }
        draft.reset();
    };

    int lineNumber = 0;
    qsizetype at = 0;
    bool skipping = false; // inside a section that is not a user
    while (at < text.size()) {
        qsizetype lf = text.indexOf('\n', at);
        if (lf < 0)
            lf = text.size();
        const QByteArrayView line = trimmed(text.sliced(at, lf - at));
        at = lf + 1;
        ++lineNumber;
        if (line.isEmpty() || line.front() == '#' || line.front() == ';')
            continue;
        const auto problem = [&](const QString &what) {
            parsed.problems.append(QStringLiteral("line %1: %2").arg(lineNumber).arg(what));
        };
        if (line.front() == '[') {
            finish();
            skipping = true;
            if (line.back() != ']') {
                problem(QStringLiteral("a section without its ]"));
                continue;
            }
            const QString name = QString::fromUtf8(line.sliced(1, line.size() - 2));
            if (!validName(name)) {
                problem(QStringLiteral("not a user name"));
                continue;
            }
            skipping = false;
            draft.emplace();
            draft->name = name;
            draft->line = lineNumber;
            draft->user.name = name;
            continue;
        }
        if (skipping)
            continue;
        const qsizetype eq = line.indexOf('=');
        if (!draft || eq <= 0) {
            problem(QStringLiteral("not a key=value line of a user"));
            continue;
        }
        const QByteArrayView key = trimmed(line.first(eq));
        const QByteArrayView value = trimmed(line.sliced(eq + 1));
        User &u = draft->user;
        if (key == "Role") {
            const std::optional<Role> role = roleFromName(QString::fromLatin1(value));
            if (!role) {
                problem(QStringLiteral("Role must be viewer, operator or supervisor"));
                continue;
            }
            u.role = *role;
            draft->hasRole = true;
        } else if (key == "Salt") {
            if (!base64(value, &u.salt) || u.salt.size() < 8 || u.salt.size() > 64) {
                problem(QStringLiteral("Salt must be 8 to 64 bytes in base64"));
                continue;
            }
            draft->hasSalt = true;
        } else if (key == "Iterations") {
            bool ok = false;
            const int n = value.toByteArray().toInt(&ok);
            if (!ok || n < minIterations || n > 100000000) {
                problem(
                    QStringLiteral("Iterations must be from %1 to 100000000").arg(minIterations));
                continue;
            }
            u.iterations = n;
            draft->hasIterations = true;
        } else if (key == "Hash") {
            if (!base64(value, &u.hash) || u.hash.size() != 32) {
                problem(QStringLiteral("Hash must be 32 bytes in base64"));
                continue;
            }
            draft->hasHash = true;
        } else {
            problem(QStringLiteral("unknown key"));
        }
    }
    finish();
    return parsed;
}

QByteArray UsersFile::write(const QList<User> &users) {
    QByteArray out = "# Users of the browser panel: velmar-controller --add-user NAME ROLE,\n"
                     "# --remove-user NAME, --list-users. Passwords are kept as salted\n"
                     "# PBKDF2-SHA256 digests only.\n";
    for (const User &u : users) {
        out += "\n[" + u.name.toUtf8() + "]\n";
        out += "Role=" + roleName(u.role).toLatin1() + '\n';
        out += "Salt=" + u.salt.toBase64() + '\n';
        out += "Iterations=" + QByteArray::number(u.iterations) + '\n';
        out += "Hash=" + u.hash.toBase64() + '\n';
    }
    return out;
}

} // namespace web
