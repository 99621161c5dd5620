// The real program, without a window, on the site's broker and the
// simulator's serial line: a route published on the bus reaches the line and
// the switcher's reply comes back as the retained monitor topic; an alarm
// raised on the bus calls its camera; a broker started again finds the
// state current; the program killed leaves "offline".
#include "Broker.h"
#include "Observer.h"
#include "SimProcess.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class TestBusE2E : public QObject {
    Q_OBJECT

    static void write(const QString &path, const QByteArray &bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private slots:
    void theProgramOnTheBus() {
        testbus::Broker broker;
        START_BROKER(broker);
        QTemporaryDir dir;
        const QString tty = dir.filePath(QStringLiteral("tty"));
        SimProcess sim{{QStringLiteral("--serial"), tty}};
        QVERIFY(sim.said("line ready"));
        const QString folder = dir.filePath(QStringLiteral("velmar-controller"));
        QVERIFY(QDir().mkpath(folder));
        write(folder + QStringLiteral("/settings.ini"),
              "[Ports]\nCom1=" + QFile::encodeName(tty) +
                  "\n[MQTT]\nEnabled=true\nHost=127.0.0.1\nStation=e2e\nPort=" +
                  QByteArray::number(broker.port()) + "\n");
        write(folder + QStringLiteral("/automation.ini"), "[Alarm5]\nMonitor=3\nCamera=8\n");

        QProcess controller;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(display));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
        env.insert(QStringLiteral("XDG_STATE_HOME"), dir.path());
        const QString runtime = dir.filePath(QStringLiteral("run"));
        QVERIFY(QDir().mkpath(runtime));
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        controller.setProcessEnvironment(env);
        controller.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        controller.start(QStringLiteral(VELMAR_PANEL_EXE), {QStringLiteral("--headless")});
        QVERIFY(controller.waitForStarted());

        auto observer = std::make_unique<testbus::Observer>(broker.port(), "velmar/e2e/#");
        QTRY_COMPARE_WITH_TIMEOUT(observer->last("velmar/e2e/status"), QByteArray("online"), 5000);

        QVERIFY(observer->publish("velmar/e2e/monitor/2/set", "5"));
        QVERIFY(sim.said("monitor 2 <- camera 5"));
        QTRY_VERIFY_WITH_TIMEOUT(observer->last("velmar/e2e/result").contains("\"ok\":true"), 3000);
        // The status request a second later; the reply is what is published.
        QTRY_VERIFY_WITH_TIMEOUT(observer->last("velmar/e2e/monitor/2").contains("\"camera\":5"),
                                 4000);

        QVERIFY(observer->publish("velmar/e2e/alarm/5/set", "ON"));
        QVERIFY(sim.said("monitor 3 <- camera 8"));

        // The broker goes and comes back empty: the client finds it again
        // and a newcomer is told what holds now.
        observer.reset();
        broker.stop();
        QTRY_VERIFY_WITH_TIMEOUT(broker.stopped(), 5000);
        START_BROKER(broker);
        observer = std::make_unique<testbus::Observer>(broker.port(), "velmar/e2e/#");
        QTRY_VERIFY_WITH_TIMEOUT(observer->last("velmar/e2e/monitor/2").contains("\"camera\":5"),
                                 10000);
        QVERIFY(observer->retained("velmar/e2e/monitor/2") ||
                observer->last("velmar/e2e/status") == "online");

        // Killed, it cannot say goodbye: its last will does.
        ::kill(pid_t(controller.processId()), SIGKILL);
        QVERIFY(controller.waitForFinished(5000));
        QTRY_COMPARE_WITH_TIMEOUT(observer->last("velmar/e2e/status"), QByteArray("offline"), 5000);
    }
};

VELMAR_TEST_MAIN(TestBusE2E)
#include "tst_bus_e2e.moc"
