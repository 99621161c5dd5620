#include "bus/Command.h"

#include <QByteArrayList>
#include <QStringDecoder>
#include <optional>

namespace bus {

namespace {

Command invalid(const QString &why) {
    Command c;
    c.error = why;
    return c;
}

// A whole number in plain decimal digits, at most four of them (every number
// a command takes is smaller); surrounding blanks are allowed.
std::optional<int> number(QByteArrayView text) {
    text = text.trimmed();
    if (text.isEmpty() || text.size() > 4)
        return std::nullopt;
    int n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

// Text for a reason: what was sent, cut short and with anything unprintable
// shown as '?', so that a reason never carries what it complains of whole.
QString quoted(QByteArrayView bytes) {
    constexpr qsizetype shown = 32;
    QString out;
    for (qsizetype i = 0; i < bytes.size() && i < shown; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        out += (c >= 0x20 && c < 0x7F) ? QChar(c) : QLatin1Char('?');
    }
    if (bytes.size() > shown)
        out += QStringLiteral("...");
    return QLatin1Char('"') + out + QLatin1Char('"');
}

std::optional<QString> utf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

bool hasControl(const QString &text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    }
    return false;
}

// A number from the topic or the payload, in 1..last, or why not.
std::optional<int> ranged(QByteArrayView text, int last, const char *what, const char *many,
                          QString *why) {
    const std::optional<int> n = number(text);
    if (!n) {
        *why = QStringLiteral("%1 is not a %2 number").arg(quoted(text), QLatin1String(what));
        return std::nullopt;
    }
    if (*n < 1 || *n > last) {
        *why = QStringLiteral("no %1 %2: %3 are 1 to %4")
                   .arg(QLatin1String(what))
                   .arg(*n)
                   .arg(QLatin1String(many))
                   .arg(last);
        return std::nullopt;
    }
    return n;
}

Command readRoute(QByteArrayView monitorText, QByteArrayView payload, const QStringList &options) {
    QString why;
    const std::optional<int> monitor =
        ranged(monitorText, Command::monitors, "monitor", "monitors", &why);
    if (!monitor)
        return invalid(why);
    Command c;
    if (number(payload)) {
        const std::optional<int> camera =
            ranged(payload, Command::cameras, "camera", "cameras", &why);
        if (!camera)
            return invalid(why);
        c.camera = *camera;
    } else {
        const std::optional<QString> name = utf8(payload);
        const qsizetype at = name ? options.indexOf(name->trimmed()) : -1;
        if (at < 0 || at >= Command::cameras)
            return invalid(QStringLiteral("no camera named %1").arg(quoted(payload)));
        c.camera = int(at) + 1;
    }
    c.kind = Command::Kind::Route;
    c.monitor = *monitor;
    return c;
}

Command readPreset(QByteArrayView cameraText, QByteArrayView payload) {
    QString why;
    const std::optional<int> camera =
        ranged(cameraText, Command::cameras, "camera", "cameras", &why);
    if (!camera)
        return invalid(why);
    const std::optional<int> preset = ranged(payload, Command::presets, "preset", "presets", &why);
    if (!preset)
        return invalid(why);
    Command c;
    c.kind = Command::Kind::RecallPreset;
    c.camera = *camera;
    c.preset = *preset;
    return c;
}

Command readSalvo(QByteArrayView payload) {
    const std::optional<QString> name = utf8(payload);
    if (!name)
        return invalid(QStringLiteral("a salvo's name is UTF-8 text"));
    const QString trimmed = name->trimmed();
    if (trimmed.isEmpty())
        return invalid(QStringLiteral("no salvo named: the payload is empty"));
    if (hasControl(trimmed))
        return invalid(QStringLiteral("a salvo's name has no control characters"));
    Command c;
    c.kind = Command::Kind::RecallSalvo;
    c.salvo = trimmed;
    return c;
}

Command readTour(QByteArrayView tourText, QByteArrayView payload) {
    QString why;
    const std::optional<int> tour = ranged(tourText, Command::tourLimit, "tour", "tours", &why);
    if (!tour)
        return invalid(why);
    const QByteArrayView word = payload.trimmed();
    Command c;
    c.tour = *tour;
    if (word.compare("ON", Qt::CaseInsensitive) == 0)
        c.kind = Command::Kind::StartTour;
    else if (word.compare("OFF", Qt::CaseInsensitive) == 0)
        c.kind = Command::Kind::StopTour;
    else
        return invalid(QStringLiteral("a tour takes ON or OFF, not %1").arg(quoted(payload)));
    return c;
}

Command readAlarm(QByteArrayView inputText, QByteArrayView payload) {
    QString why;
    const std::optional<int> input =
        ranged(inputText, Command::alarmInputs, "alarm input", "alarm inputs", &why);
    if (!input)
        return invalid(why);
    const QByteArrayView word = payload.trimmed();
    Command c;
    c.alarm = *input;
    if (word.compare("ON", Qt::CaseInsensitive) == 0)
        c.kind = Command::Kind::RaiseAlarm;
    else if (word.compare("OFF", Qt::CaseInsensitive) == 0)
        c.kind = Command::Kind::ClearAlarm;
    else if (word.compare("ACK", Qt::CaseInsensitive) == 0)
        c.kind = Command::Kind::AckAlarm;
    else
        return invalid(
            QStringLiteral("an alarm input takes ON, OFF or ACK, not %1").arg(quoted(payload)));
    return c;
}

} // namespace

Command Command::read(QByteArrayView topic, QByteArrayView payload,
                      const QStringList &cameraOptions) {
    if (payload.size() > payloadLimit)
        return invalid(QStringLiteral("the payload is too large: %1 bytes, at most %2")
                           .arg(payload.size())
                           .arg(payloadLimit));
    // Command topics have two to four levels; anything longer is not one.
    if (topic.size() > 64)
        return invalid(QStringLiteral("not a command topic"));
    const QByteArrayList levels = topic.toByteArray().split('/');
    const auto is = [&](qsizetype n, const char *first, const char *last) {
        return levels.size() == n && levels.first() == first && levels.last() == last;
    };
    if (is(3, "monitor", "set"))
        return readRoute(levels[1], payload, cameraOptions);
    if (is(4, "camera", "set") && levels[2] == "preset")
        return readPreset(levels[1], payload);
    if (is(2, "salvo", "set"))
        return readSalvo(payload);
    if (is(3, "tour", "set"))
        return readTour(levels[1], payload);
    if (is(3, "alarm", "set"))
        return readAlarm(levels[1], payload);
    return invalid(QStringLiteral("not a command topic"));
}

QStringList Command::subscriptions() {
    return {QStringLiteral("monitor/+/set"), QStringLiteral("camera/+/preset/set"),
            QStringLiteral("salvo/set"), QStringLiteral("tour/+/set"),
            QStringLiteral("alarm/+/set")};
}

} // namespace bus
