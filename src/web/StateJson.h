#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QList>

namespace automation {
class Automation;
}
namespace config {
class CameraModel;
}
namespace devicelink {
class LinkMonitor;
class Switcher;
} // namespace devicelink
namespace events {
struct Event;
}

namespace web {

// What the API answers and the live socket pushes, built in one place so
// that both say the same: the routing (a camera only when the switcher
// reported it, stale marked, the lock's holder), the cameras, the link,
// events, tours and alarms.
namespace StateJson {

QJsonArray monitors(const devicelink::Switcher &switcher, const config::CameraModel &cameras);
QJsonObject cameras(const devicelink::Switcher &switcher, const config::CameraModel &cameras);
QJsonObject link(const devicelink::LinkMonitor &link);
QJsonObject event(const events::Event &event);
QJsonArray events(const QList<events::Event> &list);
QJsonArray tours(const automation::Automation &automation);
// The inputs bound in automation.ini, and any other that is raised.
QJsonArray alarms(const automation::Automation &automation);
QJsonArray salvos(const automation::Automation &automation);

} // namespace StateJson

} // namespace web
