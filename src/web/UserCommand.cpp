#include "web/UserCommand.h"

#include "web/UserStore.h"

#include <QDir>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace web {

namespace {
const QString addOption = QStringLiteral("--add-user");
const QString removeOption = QStringLiteral("--remove-user");
const QString listOption = QStringLiteral("--list-users");

// One line of the descriptor, without its line end; at most limit bytes
// (a longer one is refused whole).
std::optional<QByteArray> readLine(int fd, qsizetype limit) {
    QByteArray line;
    char c = 0;
    while (true) {
        const ssize_t n = ::read(fd, &c, 1);
        if (n <= 0)
            break;
        if (c == '\n')
            break;
        if (line.size() > limit)
            return std::nullopt;
        line.append(c);
    }
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

std::optional<QByteArray> consolePassword(const QString &prompt) {
    const qsizetype limit = UserStore::passwordLimit;
    if (!::isatty(STDIN_FILENO))
        return readLine(STDIN_FILENO, limit);
    std::fputs(qPrintable(prompt), stderr);
    std::fflush(stderr);
    termios before{};
    ::tcgetattr(STDIN_FILENO, &before);
    termios quiet = before;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    quiet.c_lflag |= ECHONL;
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    std::optional<QByteArray> line = readLine(STDIN_FILENO, limit);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &before);
    return line;
}
} // namespace

UserCommandIo UserCommandIo::console() {
    UserCommandIo io;
    io.password = [](const QString &prompt) -> std::optional<QByteArray> {
        std::optional<QByteArray> first = consolePassword(prompt);
        if (!first || !::isatty(STDIN_FILENO))
            return first;
        // Typed unseen: typed twice.
        const std::optional<QByteArray> again = consolePassword(QStringLiteral("Again: "));
        if (!again || *again != *first) {
            std::fputs("velmar-controller: the two passwords differ\n", stderr);
            return std::nullopt;
        }
        return first;
    };
    io.out = [](const QString &text) { std::fputs(qPrintable(text + QLatin1Char('\n')), stdout); };
    io.err = [](const QString &text) {
        std::fputs(qPrintable(QStringLiteral("velmar-controller: ") + text + QLatin1Char('\n')),
                   stderr);
    };
    return io;
}

std::optional<int> userCommand(const QStringList &arguments, const QString &storageFolder,
                               const UserCommandIo &io) {
    const QStringList args = arguments.mid(1);
    const bool asked =
        args.contains(addOption) || args.contains(removeOption) || args.contains(listOption);
    if (!asked)
        return std::nullopt;
    UserStore store(QDir(storageFolder).filePath(QStringLiteral("users.ini")));
    const auto usage = [&] {
        io.err(QStringLiteral("use --add-user NAME ROLE (ROLE: viewer, operator or supervisor), "
                              "--remove-user NAME or --list-users, alone"));
        return 2;
    };
    if (args.size() == 1 && args[0] == listOption) {
        if (!store.problems().isEmpty()) {
            for (const QString &problem : store.problems())
                io.err(store.path() + QLatin1String(": ") + problem);
        }
        for (const UsersFile::User &user : store.users())
            io.out(user.name + QLatin1Char(' ') + roleName(user.role));
        return store.problems().isEmpty() ? 0 : 1;
    }
    if (args.size() == 2 && args[0] == removeOption) {
        const QString error = store.remove(args[1]);
        if (!error.isEmpty()) {
            io.err(error);
            return 1;
        }
        io.out(QStringLiteral("user %1 removed").arg(args[1]));
        return 0;
    }
    if (args.size() == 3 && args[0] == addOption) {
        const std::optional<Role> role = roleFromName(args[2]);
        if (!role)
            return usage();
        if (!UsersFile::validName(args[1])) {
            io.err(QStringLiteral("a user name is 1 to 32 letters, digits, '.', '_' or '-'"));
            return 2;
        }
        const std::optional<QByteArray> password =
            io.password(QStringLiteral("Password for %1: ").arg(args[1]));
        if (!password || password->isEmpty()) {
            io.err(
                QStringLiteral("no password given (1 to %1 bytes)").arg(UserStore::passwordLimit));
            return 1;
        }
        const bool existed = store.find(args[1]).has_value();
        const QString error = store.add(args[1], *role, *password);
        if (!error.isEmpty()) {
            io.err(error);
            return 1;
        }
        io.out(QStringLiteral("user %1 %2 as %3")
                   .arg(args[1], existed ? QStringLiteral("changed") : QStringLiteral("added"),
                        roleName(*role)));
        return 0;
    }
    return usage();
}

} // namespace web
