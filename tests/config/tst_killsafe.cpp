// The real program killed at random moments while it rewrites its
// configuration every second: the file on disk is always whole.
#include "config/ConfigFile.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class TestKillSafe : public QObject {
    Q_OBJECT
private slots:
    void configurationSurvivesSigkill() {
        QTemporaryDir home;
        QDir(home.path()).mkpath("velmar-controller");
        const QString folder = home.filePath("velmar-controller");
        // No real serial line is touched: port 1 maps to a device that is not there.
        QFile settings(folder + "/settings.ini");
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[Ports]\nCom1=/nonexistent/velmar-test-port\n");
        settings.close();
        config::ConfigFile stored = config::ConfigFile::defaults();
        stored.left = "600";
        stored.top = "450";
        for (int k = 0; k < 16; ++k) {
            stored.titles[k] = QStringLiteral("Camera title %1").arg(k + 1);
            stored.types[k] = QStringLiteral("Dome");
        }
        stored.languageFile = home.filePath("none.lng");
        QFile file(folder + "/velmarcontroller.ini");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(stored.bytes());
        file.close();

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", home.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        int rewrites = 0;
        for (int round = 0; round < 50; ++round) {
            const QDateTime before = QFileInfo(file.fileName()).lastModified();
            QProcess panel;
            panel.setProcessEnvironment(env);
            panel.setWorkingDirectory(home.path());
            panel.setProgram(QStringLiteral(VELMAR_PANEL_EXE));
            panel.start();
            QVERIFY(panel.waitForStarted());
            QTest::qWait(900 + QRandomGenerator::global()->bounded(900));
            ::kill(static_cast<pid_t>(panel.processId()), SIGKILL);
            QVERIFY(panel.waitForFinished());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            file.close();
            QCOMPARE(bytes.count("\r\n"), 35);
            const auto reading = config::ConfigFile::read(bytes);
            QVERIFY(!reading.fresh);
            QCOMPARE(reading.file.titles, stored.titles);
            QCOMPARE(reading.file.types, stored.types);
            if (QFileInfo(file.fileName()).lastModified() != before)
                ++rewrites;
        }
        // The kills must have met a program that was rewriting the file.
        QVERIFY2(rewrites >= 10, qPrintable(QString::number(rewrites)));
    }
};

QTEST_GUILESS_MAIN(TestKillSafe)
#include "tst_killsafe.moc"
