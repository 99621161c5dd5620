#pragma once

#include "link/Switcher.h"
#include "web/Access.h"
#include "web/HttpConnection.h"
#include "web/HttpHead.h"

#include <QJsonObject>
#include <QObject>
#include <functional>
#include <memory>

class QHttpServerResponse;

namespace automation {
class Automation;
}
namespace config {
class CameraModel;
}
namespace devicelink {
class LinkMonitor;
}
namespace events {
struct Event;
}

namespace web {

class EventRing;

// The JSON API under /api/v1 and the page's files: who may do what, each
// action through the switcher's operations as the user's own origin, and
// each outcome as its status (200 left, 400 bad input, 401 no or bad token,
// 403 the role, 409 refused with the holder, 429 too many, 503 not sent).
class Api : public QObject {
    Q_OBJECT
public:
    // An operation the switcher has not answered by then is reported as not sent.
    static constexpr int answerWaitMs = 10000;

    struct Request {
        HttpHead head;
        QByteArray body;
        QString address; // the client's, for the log-in limit and the event log
        bool secure = false;
    };
    using Reply = std::function<void(const QHttpServerResponse &, const HeaderList &)>;
    using Note = std::function<void(const events::Event &)>;

    Api(devicelink::Switcher &switcher, automation::Automation *automation,
        devicelink::LinkMonitor &link, config::CameraModel &cameras, Access &access,
        EventRing &events, Note note, QObject *parent = nullptr);

    void handle(const Request &request, Reply reply);

    static QHttpServerResponse error(int status, const QString &text, const QJsonObject &more = {});

private:
    struct Pending;
    using Caller = Access::Caller;

    void login(const Request &request, const Reply &reply);
    void page(const Request &request, const Reply &reply);
    void read(const QByteArrayList &path, const Request &request, const Caller &caller,
              const Reply &reply);
    void act(const QByteArrayList &path, const Request &request, const Caller &caller,
             const Reply &reply);
    // The switcher's answer as the HTTP answer, once, or 503 after answerWaitMs.
    devicelink::Done answer(const Reply &reply);
    void noteUser(const Caller &caller, const QString &address, const QString &what);

    devicelink::Switcher &m_switcher;
    automation::Automation *m_automation;
    devicelink::LinkMonitor &m_link;
    config::CameraModel &m_cameras;
    Access &m_access;
    EventRing &m_events;
    Note m_note;
};

} // namespace web
