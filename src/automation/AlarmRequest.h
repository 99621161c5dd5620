#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace automation {

// One request on the alarm socket and its answer, each one line of ASCII:
//   alarm 7 on          ->  ok
//   alarm 7 off         ->  refused alarm 7 is not bound to a monitor
// A line is at most maxLine bytes with its LF; anything else is refused
// without being acted on.
struct AlarmRequest {
    static constexpr int maxLine = 64;

    int input = 0;
    bool active = false;

    // The request on one line, without its LF (CR LF is taken too); nothing
    // when it is not one, with why.
    static std::optional<AlarmRequest> parse(const QByteArray &line, QString *why = nullptr);
    QByteArray line() const;

    // The answers: "ok", or "refused " and the reason on one line.
    static QByteArray okLine();
    static QByteArray refusedLine(const QString &reason);
    // An answer read back; nothing when it is not one.
    struct Answer {
        bool ok = false;
        QString reason;
    };
    static std::optional<Answer> answer(const QByteArray &line);
};

} // namespace automation
