// The real program ended from outside (logout, shutdown, a service manager,
// Ctrl+C) while its port is open on the simulator's line: it runs its own
// shutdown, without a box, and ends with status 0, its port's lock file
// gone and its configuration file whole.
#include "SimProcess.h"
#include "TestMain.h"
#include "config/ConfigFile.h"
#include "events/EventQuery.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class TestSignals : public QObject {
    Q_OBJECT

    static bool write(const QString &path, const QByteArray &bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    // The real panel, offscreen, with its folders in dir.
    static void start(QProcess &panel, const QTemporaryDir &dir) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
        env.insert(QStringLiteral("XDG_STATE_HOME"), dir.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        panel.setProcessEnvironment(env);
        panel.start(QStringLiteral(VELMAR_PANEL_EXE), {});
    }
    // The lock file of the open port.
    static QString lockOf(const QString &tty) {
        return QStringLiteral("/run/lock/LCK..") + QString(tty).replace(QLatin1Char('/'), '_');
    }

private slots:
    void endsCleanly_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void endsCleanly() {
        QFETCH(int, signal);
        QTemporaryDir dir;
        const QString tty = dir.filePath(QStringLiteral("tty"));
        SimProcess sim{{QStringLiteral("--serial"), tty}};
        QVERIFY(sim.said("line ready"));
        const QString folder = dir.filePath(QStringLiteral("velmar-controller"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(write(folder + QStringLiteral("/settings.ini"),
                      "[Ports]\nCom1=" + QFile::encodeName(tty) + "\n"));
        config::ConfigFile stored = config::ConfigFile::defaults();
        stored.titles[0] = QStringLiteral("GATE NORTH");
        stored.languageFile = dir.filePath(QStringLiteral("none.lng"));
        const QString configuration = folder + QStringLiteral("/velmarcontroller.ini");
        QVERIFY(write(configuration, stored.bytes()));

        QProcess panel;
        start(panel, dir);
        QVERIFY(panel.waitForStarted());
        // The port is open once its lock file is there.
        const QString lock = lockOf(tty);
        QVERIFY(SimProcess::waitUntil([&] { return QFile::exists(lock); }, 5000));
        QTest::qWait(1200); // a rewrite of the configuration has been made

        ::kill(static_cast<pid_t>(panel.processId()), signal);
        QVERIFY(panel.waitForFinished(7000));
        QCOMPARE(panel.exitStatus(), QProcess::NormalExit);
        QCOMPARE(panel.exitCode(), 0);
        QVERIFY(!QFile::exists(lock));
        QFile file(configuration);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const config::ConfigReading reading = config::ConfigFile::read(file.readAll());
        QVERIFY(!reading.fresh);
        QCOMPARE(reading.file.titles.value(0), QStringLiteral("GATE NORTH"));
    }

    // A signal while a start-up box is up (a port map entry that names no
    // port) ends the program too: the box goes, the port is never opened,
    // and the end is recorded.
    void endsDuringAStartUpBox() {
        QTemporaryDir dir;
        const QString tty = dir.filePath(QStringLiteral("tty"));
        SimProcess sim{{QStringLiteral("--serial"), tty}};
        QVERIFY(sim.said("line ready"));
        const QString folder = dir.filePath(QStringLiteral("velmar-controller"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(write(folder + QStringLiteral("/settings.ini"),
                      "[Ports]\nCom1=" + QFile::encodeName(tty) + "\nCom99=/dev/null\n"));
        QVERIFY(write(folder + QStringLiteral("/velmarcontroller.ini"),
                      config::ConfigFile::defaults().bytes()));

        QProcess panel;
        start(panel, dir);
        QVERIFY(panel.waitForStarted());
        // The start is recorded just before the box comes up; the log's own
        // thread writes it while the box waits.
        const QString log = dir.filePath(QStringLiteral("velmar-controller/events.sqlite"));
        const auto recorded = [&](const QString &what) {
            bool found = false;
            events::EventQuery::read(log, {0, 4102444800000}, what, [&](const events::Record &r) {
                found = found || r.meaning == what;
                return true;
            });
            return found;
        };
        QVERIFY(SimProcess::waitUntil([&] { return recorded("program started"); }, 5000));

        ::kill(static_cast<pid_t>(panel.processId()), SIGTERM);
        QVERIFY(panel.waitForFinished(7000));
        QCOMPARE(panel.exitStatus(), QProcess::NormalExit);
        QCOMPARE(panel.exitCode(), 0);
        QVERIFY(!QFile::exists(lockOf(tty)));
        QVERIFY(!sim.out.contains("status request"));
        QVERIFY(recorded("program ended"));
    }
};

VELMAR_TEST_MAIN(TestSignals)
#include "tst_signals.moc"
