// Salvos on the fake switcher: their routes in order with their presets, at
// the priority of whoever recalled them, a refused route reported while the
// rest go out, and recalls that wait their turn.
#include "AutomationRig.h"
#include "TestMain.h"
#include "automation/SalvoRunner.h"

using devicelink::Origin;
using devicelink::Outcome;

Q_DECLARE_METATYPE(devicelink::Origin)

namespace {
const QByteArray night = "[Salvo1]\nName=Night\nRoutes=1:5, 2:7@3, 3:9, 4:11\n"
                         "[Salvo2]\nName=Day\nRoutes=4:1\n";
const Origin panel(Origin::Kind::Panel);
} // namespace

class TestSalvos : public QObject {
    Q_OBJECT

private slots:
    void routesInOrderAtTheRecallersPriority_data() {
        QTest::addColumn<Origin>("by");
        QTest::addColumn<int>("priority");
        const devicelink::Priorities p;
        QTest::newRow("the panel") << panel << p.panel;
        QTest::newRow("a web operator")
            << Origin(Origin::Kind::Web, QStringLiteral("ana")) << p.webOperator;
        QTest::newRow("a Videohub client")
            << Origin(Origin::Kind::Videohub, QStringLiteral("10.0.0.7:5000")) << p.videohub;
        QTest::newRow("a schedule")
            << Origin(Origin::Kind::Schedule, QStringLiteral("1")) << p.tour;
        QTest::newRow("a supervisor")
            << Origin(Origin::Kind::Web, QStringLiteral("boss"), p.supervisor) << p.supervisor;
    }
    void routesInOrderAtTheRecallersPriority() {
        QFETCH(Origin, by);
        QFETCH(int, priority);
        AutomationRig rig(night);
        rig->start();
        QCOMPARE(rig->salvos(), (QStringList{"Night", "Day"}));
        Outcome outcome = Outcome::notSent(QStringLiteral("not called"));
        rig->recallSalvo(QStringLiteral("night"), by, [&](const Outcome &o) { outcome = o; });
        QVERIFY(outcome.ok());
        QCOMPARE(rig.switcher.log(),
                 (QStringList{"route 1 5 by salvo Night", "route 2 7 by salvo Night",
                              "preset 3 by salvo Night", "route 3 9 by salvo Night",
                              "route 4 11 by salvo Night"}));
        for (const fakes::RecordingSwitcher::Call &c : rig.switcher.calls)
            QCOMPARE(c.priority, priority);
        QCOMPARE(rig.notesOf("salvo Night"),
                 QStringList{QStringLiteral("recalled by %1: 4 routes").arg(by.text())});
    }

    void aRefusedRouteIsReportedAndTheRestGoOut() {
        AutomationRig rig(night);
        rig->start();
        rig.switcher.routeOutcome[2] = Outcome::refused(
            QStringLiteral("monitor 2 is locked by web boss"), QStringLiteral("web boss"));
        rig.switcher.routeOutcome[4] = Outcome::notSent(QStringLiteral("the port is closed"));
        Outcome outcome;
        rig->recallSalvo(QStringLiteral("Night"), panel, [&](const Outcome &o) { outcome = o; });
        QCOMPARE(outcome.kind, Outcome::Kind::Refused);
        QCOMPARE(outcome.holder, QStringLiteral("web boss"));
        QCOMPARE(rig.switcher.log(),
                 (QStringList{"route 1 5 by salvo Night", "route 2 7 by salvo Night",
                              "route 3 9 by salvo Night", "route 4 11 by salvo Night"}));
        QCOMPARE(rig.notesOf("salvo Night"),
                 (QStringList{"recalled by panel: 4 routes",
                              "camera 7 not put on monitor 2: monitor 2 is locked by web boss",
                              "camera 11 not put on monitor 4: the port is closed"}));
    }

    void aPresetThatIsRefused() {
        AutomationRig rig(night);
        rig->start();
        rig.switcher.presetOutcome = Outcome::refused(QStringLiteral("a preset sequence runs"));
        Outcome outcome;
        rig->recallSalvo(QStringLiteral("Night"), panel, [&](const Outcome &o) { outcome = o; });
        QCOMPARE(outcome.reason, QStringLiteral("a preset sequence runs"));
        QCOMPARE(rig.switcher.calls.size(), 5);
    }

    // A recall asked for while one runs goes after it, whole; too many
    // waiting are refused.
    void recallsWaitTheirTurn() {
        AutomationRig rig(night);
        rig->start();
        rig.switcher.answerLater = true;
        QStringList ended;
        rig->recallSalvo(QStringLiteral("Night"), panel,
                         [&](const Outcome &) { ended << "Night"; });
        rig->recallSalvo(QStringLiteral("Day"), panel, [&](const Outcome &) { ended << "Day"; });
        QCOMPARE(rig.switcher.log(), QStringList{"route 1 5 by salvo Night"});
        // Sixteen recalls at most, the running one included.
        for (int i = 2; i < automation::SalvoRunner::maxWaiting; ++i)
            rig->recallSalvo(QStringLiteral("Day"), panel);
        Outcome refused;
        rig->recallSalvo(QStringLiteral("Day"), panel, [&](const Outcome &o) { refused = o; });
        QCOMPARE(refused.kind, Outcome::Kind::Refused);
        while (!rig.switcher.pending.isEmpty())
            rig.switcher.answer();
        QCOMPARE(ended, (QStringList{"Night", "Day"}));
        QCOMPARE(rig.switcher.calls.size(), 5 + 1 + 14);
        QCOMPARE(rig.switcher.log()[5], QStringLiteral("route 4 1 by salvo Day"));
    }

    void anUnknownSalvo() {
        AutomationRig rig(night);
        rig->start();
        Outcome outcome;
        rig->recallSalvo(QStringLiteral("Nigth"), panel, [&](const Outcome &o) { outcome = o; });
        QCOMPARE(outcome.reason, QStringLiteral("there is no salvo named Nigth"));
        QVERIFY(rig.switcher.calls.isEmpty());
    }
};

VELMAR_TEST_MAIN(TestSalvos)
#include "tst_salvos.moc"
