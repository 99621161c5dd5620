// The real program run without a window and without a display, as a service
// beside the switcher: a Videohub client routes a camera on the simulator's
// line; with the line gone, a client's route is refused and the event log
// says it was not sent, and for whom; SIGTERM ends it with status 0, its
// configuration file's window positions as they were.
#include "SimProcess.h"
#include "TestMain.h"
#include "config/ConfigFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class TestHeadless : public QObject {
    Q_OBJECT

    static void write(const QString &path, const QByteArray &bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private slots:
    void aServiceWithoutADisplay() {
        QTemporaryDir dir;
        const QString tty = dir.filePath(QStringLiteral("tty"));
        auto sim = std::make_unique<SimProcess>(QStringList{QStringLiteral("--serial"), tty});
        QVERIFY(sim->said("line ready"));
        const QString folder = dir.filePath(QStringLiteral("velmar-controller"));
        QVERIFY(QDir().mkpath(folder));
        write(folder + QStringLiteral("/settings.ini"),
              "[Ports]\nCom1=" + QFile::encodeName(tty) + "\n[Videohub]\nEnabled=true\nPort=0\n");
        config::ConfigFile stored = config::ConfigFile::defaults();
        stored.left = QStringLiteral("1234");
        stored.top = QStringLiteral("567");
        stored.titles[4] = QStringLiteral("GATE NORTH");
        stored.languageFile = dir.filePath(QStringLiteral("none.lng"));
        const QString configuration = folder + QStringLiteral("/velmarcontroller.ini");
        write(configuration, stored.bytes());

        QProcess controller;
        QByteArray said;
        QObject::connect(&controller, &QProcess::readyReadStandardError,
                         [&] { said += controller.readAllStandardError(); });
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(display));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
        env.insert(QStringLiteral("XDG_STATE_HOME"), dir.path());
        controller.setProcessEnvironment(env);
        controller.start(QStringLiteral(VELMAR_PANEL_EXE), {QStringLiteral("--headless")});
        QVERIFY(controller.waitForStarted());

        // It says where it listens, as the status bar would.
        const QRegularExpression listening(QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)"));
        QRegularExpressionMatch match;
        QVERIFY2(SimProcess::waitUntil(
                     [&] {
                         match = listening.match(QString::fromLocal8Bit(said));
                         return match.hasMatch();
                     },
                     5000),
                 said.constData());
        // No bus is set up, so its library and the OpenSSL it brings stay
        // out of memory.
        QFile maps(QStringLiteral("/proc/%1/maps").arg(controller.processId()));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        QVERIFY(!maps.readAll().contains("libmosquitto"));
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, match.captured(1).toUShort());
        QByteArray heard;
        const auto hear = [&](const QByteArray &text) {
            return SimProcess::waitUntil(
                [&] {
                    heard += client.readAll();
                    return heard.contains(text);
                },
                4000);
        };
        QVERIFY(hear("END PRELUDE:\n\n"));
        QVERIFY(heard.contains("4 GATE NORTH\n"));
        heard.clear();
        client.write("VIDEO OUTPUT ROUTING:\n1 4\n\n");
        QVERIFY(hear("ACK\n\n"));
        QVERIFY(sim->said("monitor 2 <- camera 5"));
        QVERIFY(hear("VIDEO OUTPUT ROUTING:\n1 4\n\n"));

        // The line goes: a route cannot leave, and the client is told so.
        sim.reset();
        QVERIFY(SimProcess::waitUntil([&] { return said.contains("Lost"); }, 5000));
        heard.clear();
        client.write("VIDEO OUTPUT ROUTING:\n2 6\n\n");
        QVERIFY(hear("NAK\n\n"));

        ::kill(static_cast<pid_t>(controller.processId()), SIGTERM);
        QVERIFY(controller.waitForFinished(7000));
        QCOMPARE(controller.exitStatus(), QProcess::NormalExit);
        QCOMPARE(controller.exitCode(), 0);
        QFile file(configuration);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const config::ConfigReading reading = config::ConfigFile::read(file.readAll());
        QCOMPARE(reading.left, QStringLiteral("1234"));
        QCOMPARE(reading.top, QStringLiteral("567"));

        // The event log has the route that did not leave, with whose it was.
        QProcess events;
        events.setProcessEnvironment(env);
        events.start(QStringLiteral(VELMAR_PANEL_EXE),
                     {QStringLiteral("--events"), QStringLiteral("2000-01-01"),
                      QStringLiteral("2999-12-31")});
        QVERIFY(events.waitForFinished(10000));
        const QByteArray rows = events.readAllStandardOutput();
        QVERIFY2(rows.contains("videohub 127.0.0.1:") &&
                     rows.contains("not sent: the port is lost"),
                 rows.constData());
        QVERIFY(rows.contains("program started (headless)"));
        QVERIFY(rows.contains("program ended"));
    }
};

VELMAR_TEST_MAIN(TestHeadless)
#include "tst_headless.moc"
