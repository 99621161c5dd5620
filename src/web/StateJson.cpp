#include "web/StateJson.h"

#include "automation/Automation.h"
#include "config/CameraModel.h"
#include "events/Event.h"
#include "link/LinkMonitor.h"
#include "link/Switcher.h"

namespace web::StateJson {

namespace {
QJsonValue orNull(int n) {
    return n > 0 ? QJsonValue(n) : QJsonValue(QJsonValue::Null);
}
QJsonValue holder(const QString &who) {
    return who.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(who);
}
} // namespace

QJsonArray monitors(const devicelink::Switcher &switcher, const config::CameraModel &cameras) {
    QJsonArray out;
    for (int m = 1; m <= devicelink::Switcher::monitors; ++m) {
        const devicelink::Switcher::MonitorState state = switcher.monitor(m);
        const bool known = state.camera >= 1 && state.camera <= devicelink::Switcher::cameras;
        out.append(QJsonObject{
            {QStringLiteral("monitor"), m},
            {QStringLiteral("camera"), orNull(known ? state.camera : 0)},
            {QStringLiteral("title"),
             known ? QJsonValue(cameras.title(state.camera)) : QJsonValue(QJsonValue::Null)},
            {QStringLiteral("stale"), state.stale},
            {QStringLiteral("lock"),
             state.lockHolder.isEmpty()
                 ? QJsonValue(QJsonValue::Null)
                 : QJsonValue(QJsonObject{{QStringLiteral("holder"), state.lockHolder}})},
        });
    }
    return out;
}

QJsonObject cameras(const devicelink::Switcher &switcher, const config::CameraModel &model) {
    QJsonArray list;
    for (int c = 1; c <= devicelink::Switcher::cameras; ++c) {
        list.append(QJsonObject{
            {QStringLiteral("camera"), c},
            {QStringLiteral("title"), model.title(c)},
            {QStringLiteral("type"), model.type(c)},
            {QStringLiteral("holder"), holder(switcher.cameraHolder(c))},
        });
    }
    return {
        {QStringLiteral("cameras"), list},
        {QStringLiteral("speeds"),
         QJsonObject{{QStringLiteral("pan"), switcher.speed(devicelink::Axis::Pan)},
                     {QStringLiteral("tilt"), switcher.speed(devicelink::Axis::Tilt)}}},
        {QStringLiteral("selected"),
         QJsonObject{{QStringLiteral("camera"), orNull(switcher.selectedCamera())},
                     {QStringLiteral("monitor"), orNull(switcher.selectedMonitor())}}},
    };
}

QJsonObject link(const devicelink::LinkMonitor &link) {
    const char *level = "good";
    if (link.level() == devicelink::LinkMonitor::Level::Warning)
        level = "warning";
    else if (link.level() == devicelink::LinkMonitor::Level::Fault)
        level = "fault";
    return {
        {QStringLiteral("state"), link.stateText()},
        {QStringLiteral("channel"), link.channelText()},
        {QStringLiteral("answer"), link.answerText()},
        {QStringLiteral("level"), QLatin1String(level)},
    };
}

QJsonObject event(const events::Event &event) {
    const events::Record r = events::EventText::record(event, event.bytes.size());
    return {
        {QStringLiteral("time"), r.time},       {QStringLiteral("direction"), r.direction},
        {QStringLiteral("channel"), r.channel}, {QStringLiteral("origin"), r.origin},
        {QStringLiteral("bytes"), r.bytes},     {QStringLiteral("meaning"), r.meaning},
    };
}

QJsonArray events(const QList<events::Event> &list) {
    QJsonArray out;
    for (const events::Event &e : list)
        out.append(event(e));
    return out;
}

QJsonArray tours(const automation::Automation &automation) {
    QJsonArray out;
    for (const automation::Automation::TourState &t : automation.tours()) {
        const char *run = "stopped";
        if (t.run == automation::Automation::TourState::Run::Running)
            run = "running";
        else if (t.run == automation::Automation::TourState::Run::Held)
            run = "held";
        out.append(QJsonObject{
            {QStringLiteral("tour"), t.tour},
            {QStringLiteral("monitor"), t.monitor},
            {QStringLiteral("run"), QLatin1String(run)},
            {QStringLiteral("step"), t.step},
            {QStringLiteral("steps"), t.steps},
        });
    }
    return out;
}

QJsonArray alarms(const automation::Automation &automation) {
    QJsonArray out;
    for (const automation::Automation::AlarmState &a : automation.alarms()) {
        if (!a.bound && !a.active)
            continue;
        out.append(QJsonObject{
            {QStringLiteral("input"), a.input},
            {QStringLiteral("bound"), a.bound},
            {QStringLiteral("monitor"), orNull(a.monitor)},
            {QStringLiteral("camera"), orNull(a.camera)},
            {QStringLiteral("active"), a.active},
            {QStringLiteral("acknowledged"), a.acknowledged},
            {QStringLiteral("shown"), a.shown},
        });
    }
    return out;
}

QJsonArray salvos(const automation::Automation &automation) {
    return QJsonArray::fromStringList(automation.salvos());
}

} // namespace web::StateJson
