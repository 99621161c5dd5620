#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace web {

// Where the user commands read the password and write their answers: the
// real terminal by default, something else in a test.
struct UserCommandIo {
    // From the terminal without echo, or one line of standard input when it
    // is not a terminal; nullopt when there is none.
    std::function<std::optional<QByteArray>(const QString &prompt)> password;
    std::function<void(const QString &)> out;
    std::function<void(const QString &)> err;

    static UserCommandIo console();
};

// velmar-controller --add-user NAME ROLE | --remove-user NAME | --list-users:
// the exit status when the arguments (argv[0] first) ask for one of these,
// nullopt when they ask for none.
std::optional<int> userCommand(const QStringList &arguments, const QString &storageFolder,
                               const UserCommandIo &io = UserCommandIo::console());

} // namespace web
