#include "web/Api.h"

#include "automation/Automation.h"
#include "config/CameraModel.h"
#include "events/Event.h"
#include "link/LinkMonitor.h"
#include "web/ApiInput.h"
#include "web/EventRing.h"
#include "web/PageFiles.h"
#include "web/StateJson.h"

#include <QHttpServerResponse>
#include <QJsonArray>
#include <QTimer>

namespace web {

namespace {
using Status = QHttpServerResponder::StatusCode;
using devicelink::Outcome;
using devicelink::Switcher;

QHttpServerResponse ok(const QJsonObject &object = {{QStringLiteral("ok"), true}}) {
    return QHttpServerResponse(object, Status::Ok);
}

QByteArray cookie(const QByteArray &token, bool secure, bool clear) {
    QByteArray c = Access::cookieName + '=' + token + "; Path=/; HttpOnly; SameSite=Strict";
    if (secure)
        c += "; Secure";
    if (clear)
        c += "; Max-Age=0";
    return c;
}

// The host a request was sent to, as its Origin would name it:
// "http://10.0.0.5:8080".
bool sameOrigin(const HttpHead &head, bool secure) {
    const QByteArray origin = head.field("origin");
    if (origin.isEmpty())
        return true;
    const QByteArray host = head.field("host");
    return !host.isEmpty() && origin == (secure ? "https://" : "http://") + host;
}
} // namespace

Api::Api(devicelink::Switcher &switcher, automation::Automation *automation,
         devicelink::LinkMonitor &link, config::CameraModel &cameras, Access &access,
         EventRing &events, Note note, QObject *parent)
    : QObject(parent)
    , m_switcher(switcher)
    , m_automation(automation)
    , m_link(link)
    , m_cameras(cameras)
    , m_access(access)
    , m_events(events)
    , m_note(std::move(note)) {}

QHttpServerResponse Api::error(int status, const QString &text, const QJsonObject &more) {
    QJsonObject body = more;
    body.insert(QStringLiteral("error"), text);
    return QHttpServerResponse(body, Status(status));
}

void Api::noteUser(const Caller &caller, const QString &address, const QString &what) {
    events::Event e;
    e.at = m_access.now();
    e.direction = events::Event::Direction::State;
    e.channel = address;
    e.origin = caller.origin.text();
    e.meaning = what;
    m_note(e);
}

void Api::handle(const Request &request, Reply reply) {
    const QByteArray &path = request.head.path;
    const QByteArray &method = request.head.method;
    if (!path.startsWith("/api/")) {
        page(request, reply);
        return;
    }
    if (!path.startsWith("/api/v1/")) {
        reply(error(404, QStringLiteral("no such resource")), {});
        return;
    }
    QByteArrayList segments = path.sliced(8).split('/');
    if (segments == QByteArrayList{"login"}) {
        if (method != "POST") {
            reply(error(405, QStringLiteral("log in with POST")), {{"Allow", "POST"}});
            return;
        }
        login(request, reply);
        return;
    }
    const std::optional<Caller> caller = m_access.caller(request.head);
    if (!caller) {
        reply(error(401, QStringLiteral("log in first: no token, or one that has ended")),
              {{"WWW-Authenticate", "Bearer"}});
        return;
    }
    if (method == "GET") {
        read(segments, request, *caller, reply);
        return;
    }
    if (method != "POST") {
        reply(error(405, QStringLiteral("only GET and POST")), {{"Allow", "GET, POST"}});
        return;
    }
    // A page of another site cannot send the cookie (SameSite=Strict); a
    // browser that would is stopped by the Origin it names.
    if (caller->byCookie && !sameOrigin(request.head, request.secure)) {
        reply(error(403, QStringLiteral("a request from another site")), {});
        return;
    }
    if (segments == QByteArrayList{"logout"}) {
        m_access.logout(caller->token);
        noteUser(*caller, request.address, QStringLiteral("logged out"));
        reply(ok(), {{"Set-Cookie", cookie({}, request.secure, true)}});
        return;
    }
    act(segments, request, *caller, reply);
}

void Api::page(const Request &request, const Reply &reply) {
    if (request.head.method != "GET" && request.head.method != "HEAD") {
        reply(error(405, QStringLiteral("the page is read with GET")), {{"Allow", "GET"}});
        return;
    }
    const std::optional<PageFiles::File> file = PageFiles::find(request.head.path);
    if (!file) {
        reply(error(404, QStringLiteral("no such page")), {});
        return;
    }
    reply(QHttpServerResponse(file->mimeType, file->bytes, Status::Ok),
          {{"Content-Security-Policy", PageFiles::contentSecurityPolicy()},
           {"Cache-Control", "no-cache"}});
}

void Api::login(const Request &request, const Reply &reply) {
    QString why;
    const std::optional<QJsonObject> body = ApiInput::object(request.body, &why);
    std::optional<QString> user, password;
    if (body) {
        user = ApiInput::text(*body, QStringLiteral("user"), 32, &why);
        if (user)
            password = ApiInput::text(*body, QStringLiteral("password"),
                                      int(UserStore::passwordLimit), &why);
    }
    if (!password) {
        reply(error(400, why), {});
        return;
    }
    const QString name = *user;
    const QString address = request.address;
    const bool secure = request.secure;
    m_access.login(
        name, password->toUtf8(), address,
        [this, name, address, secure, reply](const Access::LoginResult &result) {
            events::Event e;
            e.at = m_access.now();
            e.channel = address;
            e.origin = UsersFile::validName(name) ? QStringLiteral("web ") + name
                                                  : QStringLiteral("web ?");
            using Kind = Access::LoginResult::Kind;
            if (result.kind == Kind::Limited) {
                e.meaning = QStringLiteral("log-in refused: too many attempts");
                m_note(e);
                reply(error(429, QStringLiteral("too many log-in attempts")),
                      {{"Retry-After", QByteArray::number((result.retryMs + 999) / 1000)}});
                return;
            }
            if (result.kind == Kind::Denied) {
                e.meaning = QStringLiteral("log-in failed");
                m_note(e);
                reply(error(401, QStringLiteral("wrong user name or password")), {});
                return;
            }
            e.meaning = QStringLiteral("logged in as %1").arg(roleName(result.role));
            m_note(e);
            reply(ok({{QStringLiteral("token"), QString::fromLatin1(result.token)},
                      {QStringLiteral("role"), roleName(result.role)},
                      {QStringLiteral("user"), name}}),
                  {{"Set-Cookie", cookie(result.token, secure, false)}});
        });
}

void Api::read(const QByteArrayList &path, const Request &request, const Caller &caller,
               const Reply &reply) {
    const QByteArray what = path.value(0);
    if (path.size() == 1 && what == "me") {
        reply(ok({{QStringLiteral("user"), caller.user},
                  {QStringLiteral("role"), roleName(caller.role)},
                  {QStringLiteral("automation"), m_automation != nullptr}}),
              {});
    } else if (path.size() == 1 && what == "routing") {
        reply(ok({{QStringLiteral("monitors"), StateJson::monitors(m_switcher, m_cameras)}}), {});
    } else if (path.size() == 1 && what == "cameras") {
        reply(ok(StateJson::cameras(m_switcher, m_cameras)), {});
    } else if (path.size() == 1 && what == "link") {
        reply(ok(StateJson::link(m_link)), {});
    } else if (path.size() == 1 && what == "events") {
        int limit = 50;
        const QByteArray asked = HttpHead::queryValue(request.head.query, "limit");
        if (!asked.isEmpty()) {
            const std::optional<int> n = ApiInput::pathNumber(asked, 1, EventRing::capacity);
            if (!n) {
                reply(error(400,
                            QStringLiteral("limit must be from 1 to %1").arg(EventRing::capacity)),
                      {});
                return;
            }
            limit = *n;
        }
        reply(ok({{QStringLiteral("events"), StateJson::events(m_events.latest(limit))}}), {});
    } else if (path.size() == 1 && (what == "salvos" || what == "tours" || what == "alarms")) {
        if (!m_automation) {
            reply(error(404, QStringLiteral("automation is not running")), {});
            return;
        }
        if (what == "salvos")
            reply(ok({{QStringLiteral("salvos"), StateJson::salvos(*m_automation)}}), {});
        else if (what == "tours")
            reply(ok({{QStringLiteral("tours"), StateJson::tours(*m_automation)}}), {});
        else
            reply(ok({{QStringLiteral("alarms"), StateJson::alarms(*m_automation)}}), {});
    } else {
        reply(error(404, QStringLiteral("no such resource")), {});
    }
}

struct Api::Pending {
    Reply reply;
    bool answered = false;
};

devicelink::Done Api::answer(const Reply &reply) {
    auto pending = std::make_shared<Pending>(Pending{reply});
    QTimer::singleShot(answerWaitMs, this, [pending] {
        if (std::exchange(pending->answered, true))
            return;
        pending->reply(error(503, QStringLiteral("the switcher did not answer in time")), {});
    });
    return [pending](const Outcome &outcome) {
        if (std::exchange(pending->answered, true))
            return;
        switch (outcome.kind) {
        case Outcome::Kind::Done:
            pending->reply(ok(), {});
            return;
        case Outcome::Kind::Refused:
            pending->reply(error(409, outcome.reason,
                                 outcome.holder.isEmpty()
                                     ? QJsonObject()
                                     : QJsonObject{{QStringLiteral("holder"), outcome.holder}}),
                           {});
            return;
        case Outcome::Kind::NotSent:
            pending->reply(error(503, outcome.reason), {});
            return;
        }
    };
}

void Api::act(const QByteArrayList &path, const Request &request, const Caller &caller,
              const Reply &reply) {
    const QByteArray what = path.value(0);
    const bool automationPart = what == "salvos" || what == "tours" || what == "alarms";
    const QStringList known = {QStringLiteral("route"),   QStringLiteral("monitors"),
                               QStringLiteral("presets"), QStringLiteral("auxiliary"),
                               QStringLiteral("salvos"),  QStringLiteral("tours"),
                               QStringLiteral("alarms")};
    if (!known.contains(QString::fromLatin1(what))) {
        reply(error(404, QStringLiteral("no such action")), {});
        return;
    }
    // Raising or clearing an alarm input stands in for the site's sensors:
    // a supervisor's; every other action an operator's.
    const bool alarmInput = what == "alarms" && path.size() == 2;
    const bool allowed = alarmInput ? caller.role == Role::Supervisor : mayAct(caller.role);
    if (!allowed) {
        noteUser(caller, request.address,
                 QStringLiteral("%1 refused: the role %2 may not do it")
                     .arg(QString::fromLatin1(request.head.path), roleName(caller.role)));
        reply(error(403, QStringLiteral("the role %1 may not do this").arg(roleName(caller.role))),
              {});
        return;
    }
    if (automationPart && !m_automation) {
        reply(error(503, QStringLiteral("automation is not running")), {});
        return;
    }
    QString why;
    const std::optional<QJsonObject> body = ApiInput::object(request.body, &why);
    if (!body) {
        reply(error(400, why), {});
        return;
    }
    const auto bad = [&](const QString &text) { reply(error(400, text), {}); };
    const devicelink::Origin &origin = caller.origin;

    if (what == "route" && path.size() == 1) {
        const std::optional<int> monitor =
            ApiInput::number(*body, QStringLiteral("monitor"), 1, Switcher::monitors, &why);
        const std::optional<int> camera =
            monitor ? ApiInput::number(*body, QStringLiteral("camera"), 1, Switcher::cameras, &why)
                    : std::nullopt;
        if (!camera)
            return bad(why);
        m_switcher.route(*monitor, *camera, origin, answer(reply));
        return;
    }
    if (what == "monitors" && path.size() == 3 && (path[2] == "lock" || path[2] == "unlock")) {
        const std::optional<int> monitor = ApiInput::pathNumber(path[1], 1, Switcher::monitors);
        if (!monitor)
            return bad(QStringLiteral("monitors are 1 to %1").arg(Switcher::monitors));
        const std::optional<bool> force =
            ApiInput::flag(*body, QStringLiteral("force"), &why, false);
        if (!force)
            return bad(why);
        if (*force && !mayForce(caller.role)) {
            reply(error(403, QStringLiteral("only a supervisor forces a lock")), {});
            return;
        }
        if (path[2] == "lock")
            m_switcher.lockMonitor(*monitor, origin, *force, answer(reply));
        else
            m_switcher.unlockMonitor(*monitor, origin, *force, answer(reply));
        return;
    }
    if (what == "presets" && path.size() == 3 && (path[2] == "recall" || path[2] == "store")) {
        const std::optional<int> preset = ApiInput::pathNumber(path[1], 1, Switcher::presets);
        if (!preset)
            return bad(QStringLiteral("presets are 1 to %1").arg(Switcher::presets));
        const std::optional<int> camera =
            ApiInput::number(*body, QStringLiteral("camera"), 1, Switcher::cameras, &why, 0);
        if (!camera)
            return bad(why);
        if (path[2] == "recall")
            m_switcher.recallPreset(*preset, origin, *camera, answer(reply));
        else
            m_switcher.storePreset(*preset, origin, *camera, answer(reply));
        return;
    }
    if (what == "auxiliary" && path.size() == 2) {
        const std::optional<devicelink::Auxiliary> function =
            ApiInput::auxiliary(QString::fromLatin1(path[1]));
        if (!function)
            return bad(QStringLiteral("auxiliary functions are sequence, wiper, auto-pan, "
                                      "lamps, aux and tour"));
        m_switcher.auxiliary(*function, origin, answer(reply));
        return;
    }
    if (what == "salvos" && path.size() == 3 && path[2] == "recall") {
        const QString name = QString::fromUtf8(path[1]);
        if (!m_automation->salvos().contains(name)) {
            reply(error(404, QStringLiteral("no salvo named %1").arg(name.left(64))), {});
            return;
        }
        m_automation->recallSalvo(name, origin, answer(reply));
        return;
    }
    if (what == "tours" && path.size() == 3) {
        const std::optional<int> tour = ApiInput::pathNumber(path[1], 1, 999);
        bool exists = false;
        for (const auto &t : m_automation->tours())
            exists = exists || (tour && t.tour == *tour);
        if (!exists) {
            reply(error(404, QStringLiteral("no such tour")), {});
            return;
        }
        if (path[2] == "start")
            m_automation->startTour(*tour, origin, answer(reply));
        else if (path[2] == "stop")
            m_automation->stopTour(*tour, origin, answer(reply));
        else if (path[2] == "hold")
            m_automation->holdTour(*tour, origin, answer(reply));
        else if (path[2] == "step") {
            const std::optional<int> by =
                ApiInput::number(*body, QStringLiteral("by"), -1, 1, &why, 1);
            if (!by || *by == 0)
                return bad(QStringLiteral("\"by\" must be 1 or -1"));
            m_automation->stepTour(*tour, *by, origin, answer(reply));
        } else
            reply(error(404, QStringLiteral("tours start, stop, hold and step")), {});
        return;
    }
    if (what == "alarms" && (path.size() == 2 || (path.size() == 3 && path[2] == "ack"))) {
        const std::optional<int> input =
            ApiInput::pathNumber(path[1], 1, automation::Automation::alarmInputs);
        if (!input)
            return bad(QStringLiteral("alarm inputs are 1 to %1")
                           .arg(automation::Automation::alarmInputs));
        if (path.size() == 3) {
            m_automation->acknowledgeAlarm(*input, origin, answer(reply));
            return;
        }
        const std::optional<bool> active = ApiInput::flag(*body, QStringLiteral("active"), &why);
        if (!active)
            return bad(why);
        m_automation->setAlarm(*input, *active, origin, answer(reply));
        return;
    }
    reply(error(404, QStringLiteral("no such action")), {});
}

} // namespace web
