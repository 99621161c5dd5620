#pragma once

#include "FakeSwitcher.h"
#include "Fakes.h"
#include "config/CameraModel.h"
#include "events/EventStore.h"
#include "events/SessionLog.h"
#include "link/LinkMonitor.h"
#include "link/Session.h"
#include "web/WebServer.h"

#include <QByteArray>
#include <QJsonObject>
#include <QMap>
#include <QTemporaryDir>
#include <memory>

namespace webtest {

// An answer as it came over the wire.
struct HttpReply {
    int status = 0;                      // 0: no answer (the connection closed or timed out)
    QMap<QByteArray, QByteArray> fields; // names in lower case
    QByteArrayList cookies;
    QByteArray body;
    bool closed = false; // the server closed the connection after it
    QJsonObject json() const;
};

// Sends raw bytes to the loopback port and reads one answer, letting the
// event loop run (the server is on this thread).
HttpReply exchange(quint16 port, const QByteArray &raw, int timeoutMs = 5000);
QByteArray request(const QByteArray &method, const QByteArray &path, const QByteArray &body = {},
                   const QByteArray &extraFields = {});

// The browser panel's server on a loopback port of its own, with a fake
// switcher and automation, a real session on fake devices for the link
// state, and a real event log in a folder of its own. Users: alice
// (operator), bob (viewer), sue (supervisor), each with the password
// NAME-pw.
struct WebRig {
    explicit WebRig(bool withAutomation = true);
    ~WebRig();

    quint16 start();
    // Logs in and returns the token ("" when refused).
    QByteArray login(const QString &user);
    HttpReply get(const QByteArray &path, const QByteArray &token);
    HttpReply post(const QByteArray &path, const QByteArray &body, const QByteArray &token,
                   const QByteArray &extraFields = {});

    QTemporaryDir dir;
    fakes::SerialPort port;
    fakes::DatagramSocket socket;
    fakes::Clock clock;
    devicelink::Session session{port, socket, clock};
    devicelink::LinkMonitor link{session};
    config::CameraModel cameras;
    std::unique_ptr<events::EventStore> store;
    std::unique_ptr<events::SessionLog> log;
    fakes::SettingsStore settings;
    fakes::Switcher switcher;
    fakes::Automation automation;
    std::unique_ptr<web::WebServer> server;
    qint64 now = 1'800'000'000'000; // the server's clock, for tokens and limits
    QList<events::Event> noted;
};

} // namespace webtest
