#pragma once

#include "automation/Automation.h"
#include "link/LinkMonitor.h"
#include "link/Switcher.h"

#include <QByteArray>
#include <QString>

namespace events {
struct Event;
}

namespace bus {

// The JSON the station publishes: one function per kind of message, each a
// compact object whose keys stay as they are (a site's dashboards and
// loggers read them).
namespace Payloads {

// monitor/N: {"camera": 5, "title": "Gate", "stale": false, "lock": null};
// camera and title are null while the switcher has not said.
QByteArray monitor(const devicelink::Switcher::MonitorState &state, const QString &title);
// link: {"level": "good", "ok": true, "state": "Open", "channel": "...", "answer": "..."}.
QByteArray link(devicelink::LinkMonitor::Level level, const QString &state, const QString &channel,
                const QString &answer);
// tour/N: {"tour": 2, "monitor": 1, "state": "running", "step": 1, "steps": 3}.
QByteArray tour(const automation::Automation::TourState &tour);
// alarm/N: {"input": 7, "active": true, "acknowledged": false, "shown": true, ...}.
QByteArray alarm(const automation::Automation::AlarmState &alarm);
// events: one event as the event log keeps it.
QByteArray event(const events::Event &event);
// events: how many events were left out since the last one published.
QByteArray dropped(qint64 count, qint64 atMs);
// result: {"topic": "...", "ok": false, "outcome": "refused", "reason": "...", "holder": "..."}.
QByteArray result(const QByteArray &topic, const devicelink::Outcome &outcome);

} // namespace Payloads

} // namespace bus
