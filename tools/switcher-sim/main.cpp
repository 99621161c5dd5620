// switcher-sim: a stand-in for the 16-input, 4-output CCTV matrix switcher,
// reachable over a pseudo-terminal and over UDP, for demonstrations and
// end-to-end tests of the control panel.
#include "Endpoint.h"
#include "SignalWatcher.h"
#include "Simulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <csignal>
#include <cstdio>

namespace {
const QString defaultUdp = QStringLiteral("127.0.0.1:2000");

// "--udp" may be given without a value; it then means the default address.
QStringList withUdpDefault(QStringList args) {
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] != QLatin1String("--udp"))
            continue;
        const bool valueFollows = i + 1 < args.size() && !args[i + 1].startsWith(QLatin1Char('-'));
        if (!valueFollows)
            args[i] = QStringLiteral("--udp=") + defaultUdp;
        else
            ++i;
    }
    return args;
}

const char *description = R"(
A simulator of the 16-input, 4-output CCTV matrix switcher that the Velmar
Controller panel drives. It keeps the routing of the four monitors
(monitor n shows camera n at start), answers status requests for the
selected monitor, and prints one line for every action it understands, for
example "monitor 2 <- camera 5", "camera 5: pan left, speed 5" or
"camera 5: preset 12 stored". Input it does not understand is printed as
"ignored: ..." and otherwise skipped. A repeated movement or speed code that
changes nothing (the joystick repeats them) prints nothing.

Serial line: one command byte followed by CR; 0x2E asks for the status, which
is answered with four bytes: 0x2E, the monitor (bit 6 = low bit, bit 5 = high
bit of monitor-1), cameras 1-8 one-hot (0x80 = camera 1), cameras 9-16
one-hot when the byte before is 0.
UDP: 0x00 command CR; "1" 0x2E CR asks for the status, answered to the
sender with 0x01 followed by the four status bytes; "0" acknowledges a reply
or signs off.
Codes: 0x31-0x40 camera 1-16 to the selected monitor; 0x51-0x54 select
monitor 1-4; 0x60/61/62 pan left/stop/right; 0x64/65/66 tilt up/stop/down;
0x6C/6D/6E zoom; 0x70/71/72 focus; 0x74/75/76 iris; 0x90-0x97 pan speed 0-7;
0x98-0x9F tilt speed 0-7; 5D n 5E recall preset n; F7 5D n F8 5E store
preset n; 5D BC tour; BC A/P; BA aux; B6 lamps; B4 wiper; B7 release; 8C seq.

Stops cleanly on SIGINT, SIGTERM or SIGHUP and removes its symlink.
Exit status: 0 after a signal, 1 when a link cannot be set up, 2 for wrong
options.)";
} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("switcher-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0"));
    // A log reader that went away must not take the switcher with it.
    std::signal(SIGPIPE, SIG_IGN);

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(description).trimmed());
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption serial(
        QStringLiteral("serial"),
        QStringLiteral("Create a pseudo-terminal and offer it at <path>, a symlink to its "
                       "device (an old symlink there is replaced, any other file is not)."),
        QStringLiteral("path"));
    const QCommandLineOption udp(
        QStringLiteral("udp"),
        QStringLiteral("Listen for datagrams on <address:port> (IPv6 as [::1]:2000; a bare "
                       "port means 127.0.0.1; port 0 picks a free one). Without a value: %1.")
            .arg(defaultUdp),
        QStringLiteral("address:port"));
    const QCommandLineOption rate(QStringLiteral("log-rate"),
                                  QStringLiteral("Print at most <n> lines a second; the rest are "
                                                 "counted (default 200)."),
                                  QStringLiteral("n"), QStringLiteral("200"));
    parser.addOptions({serial, udp, rate});
    parser.process(withUdpDefault(app.arguments()));

    QTextStream err(stderr);
    const auto usageError = [&](const QString &text) {
        err << "switcher-sim: " << text << "\nTry 'switcher-sim --help'." << Qt::endl;
        return 2;
    };
    if (!parser.positionalArguments().isEmpty())
        return usageError(QStringLiteral("unexpected argument %1")
                              .arg(parser.positionalArguments().constFirst()));
    if (!parser.isSet(serial) && !parser.isSet(udp))
        return usageError(QStringLiteral("nothing to simulate: give --serial, --udp or both"));
    bool rateOk = false;
    const int linesPerSecond = parser.value(rate).toInt(&rateOk);
    if (!rateOk || linesPerSecond < 1)
        return usageError(QStringLiteral("--log-rate needs a whole number of at least 1"));
    std::optional<sim::Endpoint> endpoint;
    if (parser.isSet(udp)) {
        QString error;
        endpoint = sim::Endpoint::parse(parser.value(udp), &error);
        if (!endpoint)
            return usageError(QStringLiteral("--udp ") + error);
    }

    sim::SignalWatcher watcher({SIGINT, SIGTERM, SIGHUP});
    if (!watcher.isValid()) {
        err << "switcher-sim: cannot watch for signals" << Qt::endl;
        return 1;
    }
    QTextStream out(stdout);
    sim::Simulator simulator(out, linesPerSecond);
    QObject::connect(&watcher, &sim::SignalWatcher::caught, &app, [&](int signalNumber) {
        simulator.log(QStringLiteral("sim"),
                      QStringLiteral("stopping on signal %1").arg(signalNumber));
        QCoreApplication::quit();
    });
    if (parser.isSet(serial)) {
        const QString error = simulator.openSerial(parser.value(serial));
        if (!error.isEmpty()) {
            err << "switcher-sim: " << error << Qt::endl;
            return 1;
        }
    }
    if (endpoint) {
        const QString error = simulator.listen(*endpoint);
        if (!error.isEmpty()) {
            err << "switcher-sim: " << error << Qt::endl;
            return 1;
        }
    }
    return app.exec();
}
