// The control room running by itself against the simulator's serial line: a
// tour's routes leave at their dwell times, and an alarm raised calls its
// camera (and its preset) to its monitor at once, above the tour; once it is
// cleared and acknowledged the tour carries on.
#include "Fakes.h"
#include "SimProcess.h"
#include "TestMain.h"
#include "app/Controller.h"
#include "automation/Engine.h"
#include "link/Clock.h"
#include "link/Session.h"
#include "ui/QtDatagramSocket.h"
#include "ui/QtSerialPort.h"
#include "ui/SettingsStore.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestAutomationE2E : public QObject {
    Q_OBJECT
private slots:
    void toursAndAlarmsOnTheWire() {
        QTemporaryDir dir;
        // The alarm socket goes into a runtime folder of the test's own.
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
        const QString tty = dir.filePath(QStringLiteral("tty"));
        SimProcess sim{{QStringLiteral("--serial"), tty}};
        QVERIFY(sim.said("line ready"));
        QFile file(dir.filePath(QStringLiteral("automation.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Tour1]\nMonitor=2\nSteps=5:1, 7:1, 9:1\n"
                   "[Alarm3]\nMonitor=2\nCamera=12\nPreset=4\n");
        file.close();
        ui::IniSettingsStore settings{dir.filePath(QStringLiteral("settings.ini"))};
        settings.setValue(QStringLiteral("Ports"), QStringLiteral("Com1"), tty);
        ui::QtSerialPort port{settings};
        ui::QtDatagramSocket socket;
        app::Controller controller{{port, socket, settings, devicelink::Clock::system()},
                                   ui::StoragePaths(dir.path())};
        devicelink::Session &session = controller.session();
        QVERIFY(session.serial().openPort().isEmpty());

        // Each monitor or camera code that leaves, with its time and origin.
        struct Sent {
            qint64 at;
            QString meaning;
            QString origin;
        };
        QList<Sent> sent;
        QElapsedTimer clock;
        clock.start();
        QObject::connect(&session, &devicelink::Session::frameSent, &session,
                         [&](const devicelink::Frame &f) {
                             if (f.origin.kind != devicelink::Origin::Kind::StatusPoll)
                                 sent.append({clock.elapsed(), f.meaning, f.origin.text()});
                         });
        controller.startServices();
        automation::Engine &engine = controller.automation();
        const devicelink::Origin panel{devicelink::Origin::Kind::Panel};
        engine.startTour(1, panel);
        QVERIFY(sim.said("monitor 2 <- camera 5"));
        QVERIFY(sim.said("monitor 2 <- camera 7", 3000));
        QVERIFY(sim.said("monitor 2 <- camera 9", 3000));
        QVERIFY(sent.size() >= 6);
        // Each step a second after the one before, within 50 ms.
        for (int step = 1; step <= 2; ++step) {
            const qint64 dwell = sent[2 * step].at - sent[2 * step - 2].at;
            QVERIFY2(qAbs(dwell - 1000) <= 50, qPrintable(QString::number(dwell)));
            QCOMPARE(sent[2 * step].origin, "tour 1");
        }

        sent.clear();
        const qint64 raised = clock.elapsed();
        engine.setAlarm(3, true, {devicelink::Origin::Kind::Alarm, QStringLiteral("3")});
        QVERIFY(sim.said("monitor 2 <- camera 12"));
        QVERIFY(sim.said("preset 4 recalled", 3000));
        QVERIFY(!sent.isEmpty());
        QVERIFY2(sent.first().at - raised <= 50, qPrintable(QString::number(sent.first().at)));
        QStringList meanings;
        for (const Sent &s : std::as_const(sent))
            meanings << s.meaning;
        QCOMPARE(meanings.mid(0, 5), QStringList({"monitor 2", "camera 12", "preset or tour: begin",
                                                  "preset 4", "preset: end"}));
        QCOMPARE(sent.first().origin, "alarm 3");
        // The tour waits while the alarm is shown.
        QTest::qWait(1200);
        QVERIFY(!sim.out.contains("monitor 2 <- camera 5\n") ||
                sim.out.lastIndexOf("camera 12") > sim.out.lastIndexOf("camera 5"));

        engine.setAlarm(3, false, {devicelink::Origin::Kind::Alarm, QStringLiteral("3")});
        engine.acknowledgeAlarm(3, panel);
        const qsizetype before = sim.out.size();
        QVERIFY(SimProcess::waitUntil(
            [&] { return sim.out.mid(before).contains("monitor 2 <- camera"); }, 3000));
        controller.stopServices();
    }
};

VELMAR_TEST_MAIN(TestAutomationE2E)
#include "tst_automation_e2e.moc"
