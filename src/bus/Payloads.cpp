#include "bus/Payloads.h"

#include "events/Event.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace bus {

namespace {
QByteArray compact(const QJsonObject &object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QLatin1String levelName(devicelink::LinkMonitor::Level level) {
    switch (level) {
    case devicelink::LinkMonitor::Level::Good:
        return QLatin1String("good");
    case devicelink::LinkMonitor::Level::Warning:
        return QLatin1String("warning");
    case devicelink::LinkMonitor::Level::Fault:
        break;
    }
    return QLatin1String("fault");
}

QLatin1String runName(automation::Automation::TourState::Run run) {
    using Run = automation::Automation::TourState::Run;
    switch (run) {
    case Run::Running:
        return QLatin1String("running");
    case Run::Held:
        return QLatin1String("held");
    case Run::Stopped:
        break;
    }
    return QLatin1String("stopped");
}

QLatin1String outcomeName(devicelink::Outcome::Kind kind) {
    switch (kind) {
    case devicelink::Outcome::Kind::Done:
        return QLatin1String("done");
    case devicelink::Outcome::Kind::NotSent:
        return QLatin1String("not sent");
    case devicelink::Outcome::Kind::Refused:
        break;
    }
    return QLatin1String("refused");
}
} // namespace

namespace Payloads {

QByteArray monitor(const devicelink::Switcher::MonitorState &state, const QString &title) {
    const bool known = state.camera >= 1 && state.camera <= devicelink::Switcher::cameras;
    return compact({
        {QStringLiteral("camera"), known ? QJsonValue(state.camera) : QJsonValue()},
        {QStringLiteral("title"), known ? QJsonValue(title) : QJsonValue()},
        {QStringLiteral("stale"), state.stale},
        {QStringLiteral("lock"), state.lockHolder.isEmpty()
                                     ? QJsonValue()
                                     : QJsonObject{{QStringLiteral("holder"), state.lockHolder}}},
    });
}

QByteArray link(devicelink::LinkMonitor::Level level, const QString &state, const QString &channel,
                const QString &answer) {
    return compact({
        {QStringLiteral("level"), levelName(level)},
        {QStringLiteral("ok"), level == devicelink::LinkMonitor::Level::Good},
        {QStringLiteral("state"), state},
        {QStringLiteral("channel"), channel},
        {QStringLiteral("answer"), answer},
    });
}

QByteArray tour(const automation::Automation::TourState &tour) {
    return compact({
        {QStringLiteral("tour"), tour.tour},
        {QStringLiteral("monitor"), tour.monitor},
        {QStringLiteral("state"), runName(tour.run)},
        {QStringLiteral("step"), tour.step},
        {QStringLiteral("steps"), tour.steps},
    });
}

QByteArray alarm(const automation::Automation::AlarmState &alarm) {
    return compact({
        {QStringLiteral("input"), alarm.input},
        {QStringLiteral("bound"), alarm.bound},
        {QStringLiteral("monitor"), alarm.monitor},
        {QStringLiteral("camera"), alarm.camera},
        {QStringLiteral("active"), alarm.active},
        {QStringLiteral("acknowledged"), alarm.acknowledged},
        {QStringLiteral("shown"), alarm.shown},
    });
}

QByteArray event(const events::Event &event) {
    const events::Record r = events::EventText::record(event, event.bytes.size());
    return compact({
        {QStringLiteral("time"), r.time},
        {QStringLiteral("direction"), r.direction},
        {QStringLiteral("channel"), r.channel},
        {QStringLiteral("origin"), r.origin},
        {QStringLiteral("bytes"), r.bytes},
        {QStringLiteral("meaning"), r.meaning},
    });
}

QByteArray dropped(qint64 count, qint64 atMs) {
    return compact({
        {QStringLiteral("time"), events::EventText::time(atMs)},
        {QStringLiteral("dropped"), count},
    });
}

QByteArray result(const QByteArray &topic, const devicelink::Outcome &outcome) {
    QJsonObject object{
        {QStringLiteral("topic"), QString::fromUtf8(topic)},
        {QStringLiteral("ok"), outcome.ok()},
        {QStringLiteral("outcome"), outcomeName(outcome.kind)},
        {QStringLiteral("reason"), outcome.reason},
    };
    if (!outcome.holder.isEmpty())
        object.insert(QStringLiteral("holder"), outcome.holder);
    return compact(object);
}

} // namespace Payloads

} // namespace bus
