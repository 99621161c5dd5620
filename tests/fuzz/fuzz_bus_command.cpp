// The message bus's command reader: a message on any topic below the
// station with any payload is either a command whose numbers are in range
// and which reads the same from its own plain payload, or a refusal with a
// short reason; a payload over the limit is refused unread. The cameras'
// names made from any titles are unique and none reads as a number.
//
// Input: byte 0 picks one of the command topics (or, past them, takes the
// topic from the input up to its first NUL byte); the rest is the payload,
// and its lines are also the cameras' titles.
#include "FuzzCheck.h"
#include "bus/CameraOptions.h"
#include "bus/Command.h"

#include <QByteArrayList>
#include <QSet>

namespace {
using bus::Command;

const char *const topics[] = {"monitor/2/set", "camera/7/preset/set", "salvo/set", "tour/3/set",
                              "alarm/64/set",  "monitor/0/set",       "monitor/1"};
constexpr size_t topicCount = sizeof topics / sizeof *topics;

bool isDigits(const QString &text) {
    for (const QChar ch : text) {
        if (!ch.isDigit())
            return false;
    }
    return true;
}

// The payload that names the command plainly.
QByteArray plain(const Command &c) {
    using Kind = Command::Kind;
    switch (c.kind) {
    case Kind::Route:
        return QByteArray::number(c.camera);
    case Kind::RecallPreset:
        return QByteArray::number(c.preset);
    case Kind::RecallSalvo:
        return c.salvo.toUtf8();
    case Kind::StartTour:
    case Kind::RaiseAlarm:
        return "ON";
    case Kind::StopTour:
    case Kind::ClearAlarm:
        return "OFF";
    case Kind::AckAlarm:
        return "ACK";
    case Kind::Invalid:
        break;
    }
    return {};
}

bool same(const Command &a, const Command &b) {
    return a.kind == b.kind && a.monitor == b.monitor && a.camera == b.camera &&
           a.preset == b.preset && a.tour == b.tour && a.alarm == b.alarm && a.salvo == b.salvo;
}

void checkCommand(const QByteArray &topic, const QByteArray &payload, const QStringList &options) {
    const Command c = Command::read(topic, payload, options);
    if (payload.size() > Command::payloadLimit)
        FUZZ_CHECK(!c.valid());
    if (!c.valid()) {
        FUZZ_CHECK(!c.error.isEmpty() && c.error.size() <= 160);
        return;
    }
    FUZZ_CHECK(c.error.isEmpty());
    using Kind = Command::Kind;
    switch (c.kind) {
    case Kind::Route:
        FUZZ_CHECK(c.monitor >= 1 && c.monitor <= Command::monitors);
        FUZZ_CHECK(c.camera >= 1 && c.camera <= Command::cameras);
        // ... and its camera's name routes the same camera.
        if (c.camera <= options.size())
            FUZZ_CHECK(same(Command::read(topic, options[c.camera - 1].toUtf8(), options), c));
        break;
    case Kind::RecallPreset:
        FUZZ_CHECK(c.camera >= 1 && c.camera <= Command::cameras);
        FUZZ_CHECK(c.preset >= 1 && c.preset <= Command::presets);
        break;
    case Kind::RecallSalvo:
        FUZZ_CHECK(!c.salvo.isEmpty() && c.salvo.trimmed() == c.salvo);
        for (const QChar ch : c.salvo)
            FUZZ_CHECK(ch.unicode() >= 0x20 && ch.unicode() != 0x7F);
        break;
    case Kind::StartTour:
    case Kind::StopTour:
        FUZZ_CHECK(c.tour >= 1 && c.tour <= Command::tourLimit);
        break;
    default:
        FUZZ_CHECK(c.alarm >= 1 && c.alarm <= Command::alarmInputs);
        break;
    }
    FUZZ_CHECK(same(Command::read(topic, plain(c), options), c));
}

void checkOptions(const QStringList &titles, QStringList *options) {
    *options = bus::cameraOptions(titles);
    FUZZ_CHECK(options->size() == titles.size());
    const QSet<QString> unique(options->cbegin(), options->cend());
    FUZZ_CHECK(unique.size() == options->size());
    for (qsizetype k = 0; k < options->size(); ++k) {
        const QString &option = options->at(k);
        FUZZ_CHECK(!option.isEmpty() && !isDigits(option) && option.trimmed() == option);
        for (const QChar ch : option)
            FUZZ_CHECK(ch.unicode() >= 0x20 && ch.unicode() != 0x7F);
        // Each name routes its own camera, whatever else the names are.
        if (option.toUtf8().size() <= Command::payloadLimit)
            FUZZ_CHECK(Command::read("monitor/1/set", option.toUtf8(), *options).camera == k + 1);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const uint8_t pick = size > 0 ? data[0] : 0;
    const QByteArray rest = size > 1 ? fuzz::bytes(data + 1, size - 1) : QByteArray();

    QStringList titles;
    for (const QByteArray &line : rest.split('\n')) {
        if (titles.size() == Command::cameras)
            break;
        titles << QString::fromLatin1(line);
    }
    QStringList options;
    checkOptions(titles, &options);
    while (options.size() < Command::cameras)
        options << QStringLiteral("Camera %1").arg(options.size() + 1);

    if (pick < topicCount) {
        checkCommand(topics[pick], rest, options);
    } else {
        const qsizetype nul = rest.indexOf('\0');
        checkCommand(nul < 0 ? rest : rest.left(nul), nul < 0 ? QByteArray() : rest.mid(nul + 1),
                     options);
    }
    return 0;
}
