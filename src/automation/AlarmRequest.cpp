#include "automation/AlarmRequest.h"

#include <QList>

namespace automation {

namespace {
constexpr int highestInput = 64;
}

std::optional<AlarmRequest> AlarmRequest::parse(const QByteArray &line, QString *why) {
    const auto refuse = [why](const char *reason) {
        if (why)
            *why = QLatin1String(reason);
        return std::nullopt;
    };
    if (line.size() >= maxLine)
        return refuse("the line is too long");
    QByteArray text = line;
    if (text.endsWith('\r'))
        text.chop(1);
    const QList<QByteArray> words = text.split(' ');
    if (words.size() != 3 || words[0] != "alarm")
        return refuse("a request is: alarm N on|off");
    const QByteArray &n = words[1];
    bool digits = !n.isEmpty() && n.size() <= 2 && n[0] != '0';
    for (const char c : n)
        digits = digits && c >= '0' && c <= '9';
    const int input = digits ? n.toInt() : 0;
    if (input < 1 || input > highestInput)
        return refuse("an alarm input is 1 to 64");
    if (words[2] != "on" && words[2] != "off")
        return refuse("an alarm is on or off");
    AlarmRequest out;
    out.input = input;
    out.active = words[2] == "on";
    return out;
}

QByteArray AlarmRequest::line() const {
    return "alarm " + QByteArray::number(input) + (active ? " on" : " off");
}

QByteArray AlarmRequest::okLine() {
    return "ok\n";
}

QByteArray AlarmRequest::refusedLine(const QString &reason) {
    QByteArray text = reason.toUtf8();
    for (char &c : text) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return "refused " + text.left(400) + '\n';
}

std::optional<AlarmRequest::Answer> AlarmRequest::answer(const QByteArray &line) {
    QByteArray text = line;
    if (text.endsWith('\n'))
        text.chop(1);
    if (text == "ok")
        return Answer{true, {}};
    if (text.startsWith("refused "))
        return Answer{false, QString::fromUtf8(text.mid(8))};
    return std::nullopt;
}

} // namespace automation
