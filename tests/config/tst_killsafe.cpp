// The real program killed at random moments while it rewrites its
// configuration every second: the file on disk is always whole.
#include "TestMain.h"
#include "config/ConfigFile.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

// One storage folder with a stored configuration, and the program run on it.
struct Lane {
    QTemporaryDir home;
    QString file;
    config::ConfigFile stored = config::ConfigFile::defaults();
    QProcess panel;
    QDateTime before;
    int rewrites = 0;

    Lane() {
        QDir(home.path()).mkpath("velmar-controller");
        const QString folder = home.filePath("velmar-controller");
        // No real serial line is touched: port 1 maps to a device that is not there.
        QFile settings(folder + "/settings.ini");
        if (settings.open(QIODevice::WriteOnly))
            settings.write("[Ports]\nCom1=/nonexistent/velmar-test-port\n");
        stored.left = "600";
        stored.top = "450";
        for (int k = 0; k < 16; ++k) {
            stored.titles[k] = QStringLiteral("Camera title %1").arg(k + 1);
            stored.types[k] = QStringLiteral("Dome");
        }
        stored.languageFile = home.filePath("none.lng");
        file = folder + "/velmarcontroller.ini";
        QFile f(file);
        if (f.open(QIODevice::WriteOnly))
            f.write(stored.bytes());

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", home.path());
        env.insert("XDG_STATE_HOME", home.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        panel.setProcessEnvironment(env);
        panel.setWorkingDirectory(home.path());
        panel.setProgram(QStringLiteral(VELMAR_PANEL_EXE));
    }

    bool start() {
        before = QFileInfo(file).lastModified();
        panel.start();
        return panel.waitForStarted();
    }

    // Kills the program and reads what it left.
    QByteArray kill() {
        ::kill(static_cast<pid_t>(panel.processId()), SIGKILL);
        panel.waitForFinished();
        if (QFileInfo(file).lastModified() != before)
            ++rewrites;
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

} // namespace

class TestKillSafe : public QObject {
    Q_OBJECT
private slots:
    void configurationSurvivesSigkill() {
        // Two programs at a time, each on its own folder, killed at their own
        // moments: 50 kills in all.
        Lane lanes[2];
        for (int round = 0; round < 25; ++round) {
            for (Lane &lane : lanes)
                QVERIFY(lane.start());
            for (Lane &lane : lanes) {
                QTest::qWait(450 + QRandomGenerator::global()->bounded(700));
                const QByteArray bytes = lane.kill();
                QCOMPARE(bytes.count("\r\n"), 35);
                const auto reading = config::ConfigFile::read(bytes);
                QVERIFY(!reading.fresh);
                QCOMPARE(reading.file.titles, lane.stored.titles);
                QCOMPARE(reading.file.types, lane.stored.types);
            }
        }
        // Many kills must have met programs that were rewriting their files.
        const int rewrites = lanes[0].rewrites + lanes[1].rewrites;
        QVERIFY2(rewrites >= 10, qPrintable(QString::number(rewrites)));
    }
};

VELMAR_TEST_MAIN(TestKillSafe)
#include "tst_killsafe.moc"
