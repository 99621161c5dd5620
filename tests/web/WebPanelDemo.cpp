// The browser panel's real page and API against a fake switcher, for the
// browser test: it prints each operation the switcher is asked for, with the
// monotonic time in ms ("call 1234.5 route 2 5 web alice"), and takes lines
// on standard input that stand for the panel ("show 3 9": the switcher
// reports camera 9 on monitor 3; "quit").
//
// Usage: web-panel-demo FOLDER [NAME:ROLE:PASSWORD]...
#include "FakeSwitcher.h"
#include "Fakes.h"
#include "config/CameraModel.h"
#include "events/EventStore.h"
#include "events/SessionLog.h"
#include "link/LinkMonitor.h"
#include "link/Session.h"
#include "web/ApiInput.h"
#include "web/UserStore.h"
#include "web/WebServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QSocketNotifier>
#include <chrono>
#include <cstdio>
#include <unistd.h>

namespace {
double monotonicMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

QString describe(const fakes::Switcher::Call &call) {
    QString args = QString::number(call.a) + QLatin1Char(' ') + QString::number(call.b);
    if (call.what == QLatin1String("startMove") || call.what == QLatin1String("stopMove"))
        args = web::ApiInput::moveName(devicelink::Move(call.a)) + QLatin1Char(' ') +
               QString::number(call.b);
    return call.what + QLatin1Char(' ') + args + QLatin1Char(' ') + call.origin.text();
}
} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: web-panel-demo FOLDER [NAME:ROLE:PASSWORD]...\n");
        return 2;
    }
    const QString folder = args[1];
    QDir().mkpath(folder);
    web::UserStore users(QDir(folder).filePath(QStringLiteral("users.ini")));
    for (const QString &entry : args.mid(2)) {
        const QStringList parts = entry.split(QLatin1Char(':'));
        const std::optional<web::Role> role = web::roleFromName(parts.value(1));
        if (parts.size() != 3 || !role ||
            !users.add(parts[0], *role, parts[2].toUtf8()).isEmpty()) {
            std::fprintf(stderr, "web-panel-demo: cannot add user %s\n", qPrintable(entry));
            return 2;
        }
    }

    fakes::SerialPort port;
    fakes::DatagramSocket socket;
    devicelink::Session session(port, socket, devicelink::Clock::system());
    devicelink::LinkMonitor link(session);
    config::CameraModel cameras;
    const char *titles[] = {"GATE NORTH", "GATE SOUTH", "LOADING BAY", "CAR PARK",
                            "LOBBY",      "STAIRS A",   "STAIRS B",    "ROOF",
                            "YARD",       "FENCE EAST", "FENCE WEST",  "OFFICE",
                            "STORE",      "DOCK 1",     "DOCK 2",      "CANTEEN"};
    for (int c = 1; c <= 16; ++c) {
        cameras.setTitle(c, QLatin1String(titles[c - 1]));
        cameras.setType(c, c <= 4 ? QStringLiteral("Dome") : QStringLiteral("F"));
    }
    events::EventStore store(QDir(folder).filePath(QStringLiteral("events.sqlite")));
    events::SessionLog log(session, store);
    fakes::SettingsStore settings;
    settings.setValue(QStringLiteral("Web"), QStringLiteral("Enabled"), QStringLiteral("true"));
    settings.setValue(QStringLiteral("Web"), QStringLiteral("Port"), QStringLiteral("0"));
    fakes::Switcher switcher;
    fakes::Automation automation;
    switcher.show(1, 1);
    switcher.show(4, 14);
    switcher.onCall = [&](const fakes::Switcher::Call &call) {
        std::printf("call %.1f %s\n", monotonicMs(), qPrintable(describe(call)));
        std::fflush(stdout);
        // The switcher's own words for what it did, in the event log.
        events::Event e;
        e.at = QDateTime::currentMSecsSinceEpoch();
        e.direction = events::Event::Direction::Sent;
        e.channel = QStringLiteral("serial Com1");
        e.origin = call.origin.text();
        e.meaning = call.what;
        log.note(e);
    };

    web::WebServer server(switcher, &automation, link, cameras, log, settings, folder);
    server.start();
    if (server.state() != web::WebServer::State::Listening) {
        std::fprintf(stderr, "web-panel-demo: %s\n", qPrintable(server.stateText()));
        return 1;
    }
    std::printf("listening %d\n", int(server.port()));
    std::fflush(stdout);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[512];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            app.quit();
            return;
        }
        pending.append(buffer, n);
        qsizetype lf;
        while ((lf = pending.indexOf('\n')) >= 0) {
            const QList<QByteArray> words = pending.left(lf).trimmed().split(' ');
            pending.remove(0, lf + 1);
            if (words.value(0) == "quit")
                app.quit();
            else if (words.value(0) == "show" && words.size() == 3)
                switcher.show(words[1].toInt(), words[2].toInt());
        }
    });
    return app.exec();
}
