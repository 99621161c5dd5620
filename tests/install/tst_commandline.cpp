// The panel's command line as a user meets it: --help and --version answer without a
// display, and every other argument is refused with the usage before anything starts.
#include "TestMain.h"
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class tst_CommandLine : public QObject {
    Q_OBJECT

private slots:
    void arguments_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");

        const QString version = QStringLiteral("velmar-controller " VELMAR_VERSION "\n");
        const QString usage = QStringLiteral("Usage: velmar-controller [options]\n");
        QTest::newRow("--version") << QStringList{"--version"} << 0 << version << QString();
        QTest::newRow("-v") << QStringList{"-v"} << 0 << version << QString();
        QTest::newRow("--help") << QStringList{"--help"} << 0 << usage << QString();
        QTest::newRow("-h") << QStringList{"-h"} << 0 << usage << QString();
        QTest::newRow("help before version") << QStringList{"-h", "-v"} << 0 << usage << QString();
        // Everything else is refused, Qt's own options included: the panel takes none.
        QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << QString() << usage;
        QTest::newRow("unknown short option") << QStringList{"-x"} << 2 << QString() << usage;
        QTest::newRow("a file name") << QStringList{"English.lng"} << 2 << QString() << usage;
        QTest::newRow("end of options") << QStringList{"--"} << 2 << QString() << usage;
        QTest::newRow("value for --version")
            << QStringList{"--version=2"} << 2 << QString() << usage;
        QTest::newRow("Qt's --help-all") << QStringList{"--help-all"} << 2 << QString() << usage;
        QTest::newRow("Qt's -platform")
            << QStringList{"-platform", "offscreen"} << 2 << QString() << usage;
        QTest::newRow("version and more")
            << QStringList{"--version", "x"} << 2 << QString() << usage;
        QTest::newRow("--alarm without its state")
            << QStringList{"--alarm", "7"} << 2 << QString() << usage;
        QTest::newRow("--alarm 65")
            << QStringList{"--alarm", "65", "on"} << 2 << QString() << usage;
        QTest::newRow("--alarm 7 maybe")
            << QStringList{"--alarm", "7", "maybe"} << 2 << QString() << usage;
        QTest::newRow("--alarm and --events")
            << QStringList{"--alarm", "--events", "7", "on"} << 2 << QString() << usage;
    }

    void arguments() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);

        // No display at all, and a storage folder of its own: a panel that started anyway
        // would fail on the display or leave its folder behind.
        QTemporaryDir config;
        QVERIFY(config.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        env.insert(QStringLiteral("XDG_STATE_HOME"), config.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), config.path());

        QProcess panel;
        panel.setProcessEnvironment(env);
        panel.start(QStringLiteral(VELMAR_PANEL_EXE), arguments);
        QVERIFY(panel.waitForStarted());
        if (!panel.waitForFinished(10000)) {
            panel.kill();
            panel.waitForFinished();
            QFAIL("the panel did not end");
        }
        QCOMPARE(panel.exitStatus(), QProcess::NormalExit);
        QCOMPARE(panel.exitCode(), status);
        const QString stdOut = QString::fromLocal8Bit(panel.readAllStandardOutput());
        const QString stdErr = QString::fromLocal8Bit(panel.readAllStandardError());
        if (out.isEmpty())
            QCOMPARE(stdOut, QString());
        else if (out.startsWith(QLatin1String("Usage:")))
            QVERIFY2(stdOut.startsWith(out) && stdOut.contains(QLatin1String("--version")),
                     qPrintable(stdOut));
        else
            QCOMPARE(stdOut, out);
        if (err.isEmpty()) {
            QCOMPARE(stdErr, QString());
        } else {
            // One line naming the fault, then the usage.
            QVERIFY2(stdErr.startsWith(QLatin1String("velmar-controller: ")), qPrintable(stdErr));
            QVERIFY2(stdErr.contains(QLatin1String("\n") + err), qPrintable(stdErr));
        }
        QVERIFY2(!QDir(config.path()).exists(QStringLiteral("velmar-controller")),
                 "the panel started");
    }

    // No panel runs: the alarm has nowhere to go, and the status says so.
    void alarmWithoutAPanel() {
        QTemporaryDir runtime;
        QVERIFY(runtime.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        QProcess client;
        client.setProcessEnvironment(env);
        client.start(QStringLiteral(VELMAR_PANEL_EXE), {"--alarm", "7", "on"});
        QVERIFY(client.waitForFinished(10000));
        QCOMPARE(client.exitCode(), 3);
        const QString stdErr = QString::fromLocal8Bit(client.readAllStandardError());
        QVERIFY2(stdErr.startsWith(QLatin1String("velmar-controller: no running")),
                 qPrintable(stdErr));
        QVERIFY2(!stdErr.contains(QLatin1String("Usage:")), qPrintable(stdErr));
    }
};

VELMAR_TEST_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
