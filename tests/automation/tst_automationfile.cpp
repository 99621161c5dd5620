// automation.ini as an operator writes it: what is read, what is left out
// and reported by line, what is written back; the small file of what ran,
// and the alarm socket's request lines.
#include "TestMain.h"
#include "automation/AlarmRequest.h"
#include "automation/AutomationFile.h"
#include "automation/RunStateFile.h"

using automation::AlarmRequest;
using automation::AutomationFile;
using automation::RunStateFile;

Q_DECLARE_METATYPE(AutomationFile)
Q_DECLARE_METATYPE(RunStateFile)

namespace {
QList<int> problemLines(const AutomationFile &file) {
    QList<int> out;
    for (const AutomationFile::Problem &p : file.problems)
        out << p.line;
    return out;
}

const QByteArray example =
    "[Salvo1]\r\n"
    "Name=Night\r\n"
    "Routes=1:5, 2:7@3, 3:9, 4:11        ; monitor:camera, @preset optional\r\n"
    "[Tour1]\r\n"
    "Monitor=2\r\n"
    "Steps=5:10, 7@2:10, 9:15            ; camera[@preset]:dwell seconds\r\n"
    "OnManualRoute=hold                  ; or stop\r\n"
    "[Alarm7]                            ; alarm input 7 (1-64)\r\n"
    "Monitor=1\r\n"
    "Camera=12\r\n"
    "Preset=4                            ; optional\r\n"
    "[Schedule1]\r\n"
    "At=22:00\r\n"
    "Days=Mon,Tue,Wed,Thu,Fri\r\n"
    "Action=salvo Night                  ; or: tour 1 start, tour 1 stop\r\n";
} // namespace

class TestAutomationFile : public QObject {
    Q_OBJECT

private slots:
    void readsTheDocumentedExample() {
        const AutomationFile f = AutomationFile::parse(example);
        QVERIFY2(f.problems.isEmpty(), qPrintable(f.problems.value(0).what));
        QCOMPARE(f.salvos.size(), 1);
        QCOMPARE(f.salvos[0].name, QStringLiteral("Night"));
        const QList<AutomationFile::Route> routes{{1, 5, 0}, {2, 7, 3}, {3, 9, 0}, {4, 11, 0}};
        QCOMPARE(f.salvos[0].routes, routes);
        QCOMPARE(f.tours.size(), 1);
        QCOMPARE(f.tours[0].monitor, 2);
        const QList<AutomationFile::Step> steps{{5, 0, 10}, {7, 2, 10}, {9, 0, 15}};
        QCOMPARE(f.tours[0].steps, steps);
        QCOMPARE(f.alarms, (QList<AutomationFile::Alarm>{{7, 1, 12, 4}}));
        QCOMPARE(f.schedules.size(), 1);
        QCOMPARE(f.schedules[0].at, QTime(22, 0));
        QCOMPARE(f.schedules[0].days, quint8(0x1F));
        QCOMPARE(f.schedules[0].action.salvo, QStringLiteral("Night"));
        // Written back and read again: the same.
        const AutomationFile again = AutomationFile::parse(f.bytes());
        QVERIFY(again.problems.isEmpty());
        QVERIFY(again.sameSetup(f));
    }

    // Each row: the file, what is read from it (as the file would be written
    // back), and the lines reported.
    void leavesOutWhatMakesNoSense_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("read");
        QTest::addColumn<QList<int>>("lines");
        const QByteArray tour = "[Tour1]\r\nMonitor=2\r\nSteps=5:10\r\nOnManualRoute=hold\r\n";
        QTest::newRow("camera 17") << QByteArray("[Tour1]\nMonitor=2\nSteps=5:10, 17:5\n")
                                   << QByteArray() << QList<int>{3};
        QTest::newRow("a dwell of 0")
            << QByteArray("[Tour1]\nMonitor=2\nSteps=5:0\n") << QByteArray() << QList<int>{3};
        QTest::newRow("monitor 5")
            << QByteArray("[Tour1]\nMonitor=5\nSteps=5:10\n") << QByteArray() << QList<int>{2};
        QTest::newRow("no steps") << QByteArray("[Tour1]\nMonitor=2\n") << QByteArray()
                                  << QList<int>{1};
        QTest::newRow("OnManualRoute neither")
            << QByteArray("[Tour1]\nMonitor=2\nSteps=5:10\nOnManualRoute=pause\n") << QByteArray()
            << QList<int>{4};
        QTest::newRow("an unknown salvo")
            << QByteArray("[Schedule1]\nAt=22:00\nAction=salvo Nigth\n") << QByteArray()
            << QList<int>{3};
        QTest::newRow("an unknown tour")
            << QByteArray("[Schedule1]\nAt=22:00\nAction=tour 3 start\n") << QByteArray()
            << QList<int>{3};
        QTest::newRow("a salvo named after the schedule")
            << QByteArray(
                   "[Schedule2]\nAt=6:30\nAction=salvo Day\n[Salvo1]\nName=Day\nRoutes=1:2\n")
            << QByteArray("[Salvo1]\r\nName=Day\r\nRoutes=1:2\r\n\r\n[Schedule2]\r\nAt=06:30\r\n"
                          "Days=Mon,Tue,Wed,Thu,Fri,Sat,Sun\r\nAction=salvo Day\r\n")
            << QList<int>{};
        QTest::newRow("days that are not days")
            << QByteArray("[Tour1]\nMonitor=2\nSteps=5:10\n[Schedule1]\nAt=22:00\nDays=Mon,Funday\n"
                          "Action=tour 1 start\n")
            << tour << QList<int>{6};
        QTest::newRow("25:00") << QByteArray("[Schedule1]\nAt=25:00\nAction=tour 1 stop\n" + tour)
                               << tour << QList<int>{2};
        QTest::newRow("a section twice")
            << QByteArray(tour + "[Tour1]\r\nMonitor=3\r\nSteps=6:10\r\n") << tour << QList<int>{5};
        QTest::newRow("a key twice") << QByteArray("[Tour1]\nMonitor=2\nMonitor=3\nSteps=5:10\n")
                                     << QByteArray() << QList<int>{3};
        QTest::newRow("an unknown key: that line only")
            << QByteArray("[Tour1]\nMonitor=2\nComment=lobby\nSteps=5:10\n") << tour
            << QList<int>{3};
        QTest::newRow("unknown and out-of-range sections")
            << QByteArray("[Foo1]\nA=1\n[Tour0]\nMonitor=1\n[Alarm65]\nMonitor=1\n" + tour) << tour
            << QList<int>{1, 3, 5};
        QTest::newRow("before any section, and not a key")
            << QByteArray("Monitor=2\nhello\n" + tour) << tour << QList<int>{1, 2};
        QTest::newRow("a monitor twice in a salvo")
            << QByteArray("[Salvo1]\nName=A\nRoutes=1:5, 1:6\n") << QByteArray() << QList<int>{3};
        QTest::newRow("two salvos of one name")
            << QByteArray("[Salvo1]\nName=Night\nRoutes=1:5\n[Salvo2]\nName=NIGHT\nRoutes=2:5\n")
            << QByteArray("[Salvo1]\r\nName=Night\r\nRoutes=1:5\r\n") << QList<int>{5};
        QTest::newRow("a trailing comma")
            << QByteArray("[Salvo1]\nName=A\nRoutes=1:5,\n") << QByteArray() << QList<int>{3};
        QTest::newRow("CR line ends, leading zeros, any case, a # comment")
            << QByteArray("# mine\r[tour01]\rmonitor=2\rSTEPS = 5 : 10\r") << tour << QList<int>{};
        QTest::newRow("an alarm without a camera")
            << QByteArray("[Alarm3]\nMonitor=1\nPreset=2\n") << QByteArray() << QList<int>{1};
    }
    void leavesOutWhatMakesNoSense() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, read);
        QFETCH(QList<int>, lines);
        const AutomationFile f = AutomationFile::parse(file);
        QCOMPARE(f.bytes(), read);
        QCOMPARE(problemLines(f), lines);
        for (const AutomationFile::Problem &p : f.problems)
            QVERIFY2(!p.what.isEmpty(), "a problem says what it is");
    }

    void problemsAreBounded() {
        QByteArray file;
        for (int i = 0; i < 1000; ++i)
            file += "nonsense\n";
        const AutomationFile f = AutomationFile::parse(file);
        QCOMPARE(f.problems.size(), AutomationFile::maxProblems);
        QCOMPARE(f.problemsNotKept, 1000 - AutomationFile::maxProblems);
        // A line of a megabyte is quoted short.
        const AutomationFile big = AutomationFile::parse("[" + QByteArray(1 << 20, 'x') + "]\n");
        QCOMPARE(big.problems.size(), 1);
        QVERIFY(big.problems[0].what.size() < 400);
    }

    // What the editor hands over is written only when it reads back whole.
    void faults_data() {
        QTest::addColumn<AutomationFile>("contents");
        QTest::addColumn<bool>("sound");
        AutomationFile good;
        good.salvos = {{1, QStringLiteral("Night"), {{1, 5, 0}}}};
        good.tours = {{1, 2, {{5, 0, 10}}, AutomationFile::OnManualRoute::Stop}};
        good.alarms = {{64, 4, 16, 16}};
        good.schedules = {{1,
                           QTime(0, 0),
                           0x40,
                           {AutomationFile::Action::Kind::Salvo, QStringLiteral("Night"), 0}}};
        QTest::newRow("sound") << good << true;
        AutomationFile f = good;
        f.salvos[0].name = QStringLiteral("Night; Day");
        QTest::newRow("a name with ;") << f << false;
        f = good;
        f.salvos[0].name = QString();
        QTest::newRow("no name") << f << false;
        f = good;
        f.salvos.append({2, QStringLiteral("night"), {{2, 5, 0}}});
        QTest::newRow("two names alike") << f << false;
        f = good;
        f.salvos[0].routes.clear();
        QTest::newRow("no routes") << f << false;
        f = good;
        f.tours[0].steps.clear();
        QTest::newRow("no steps") << f << false;
        f = good;
        f.schedules[0].days = 0;
        QTest::newRow("no day") << f << false;
        f = good;
        f.schedules[0].action = {AutomationFile::Action::Kind::TourStart, {}, 9};
        QTest::newRow("a tour not there") << f << false;
        f = good;
        f.tours.append(f.tours[0]);
        QTest::newRow("one number twice") << f << false;
        f = good;
        f.salvos[0].name = QStringLiteral("Notte \u00e8");
        f.schedules[0].action.salvo = f.salvos[0].name;
        QTest::newRow("Latin-1") << f << true;
        f.salvos[0].name = QStringLiteral("Night \u20ac");
        f.schedules.clear();
        QTest::newRow("beyond Latin-1") << f << false;
    }
    void faults() {
        QFETCH(AutomationFile, contents);
        QFETCH(bool, sound);
        QCOMPARE(contents.faults().isEmpty(), sound);
        if (sound)
            QVERIFY(AutomationFile::parse(contents.bytes()).sameSetup(contents));
    }

    void runState_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<RunStateFile>("read");
        RunStateFile two;
        two.tours = {{2, false, 3}, {4, true, 1}};
        two.scheduleApplied =
            QDateTime(QDate(2026, 12, 9), QTime(22, 0), Qt::UTC).toMSecsSinceEpoch();
        QTest::newRow("as written") << two.bytes() << two;
        QTest::newRow("nonsense passed over")
            << QByteArray("tour 2 running 3\ntour x held 1\ntour 2 held 1\ntour 4 held 1\r\n"
                          "tour 5 paused 1\nschedules applied yesterday\n"
                          "schedules applied 2026-12-09T22:00:00.000Z\n")
            << two;
        QTest::newRow("empty") << QByteArray() << RunStateFile{};
    }
    void runState() {
        QFETCH(QByteArray, file);
        QFETCH(RunStateFile, read);
        QCOMPARE(RunStateFile::parse(file), read);
    }

    void alarmRequest_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("input"); // 0: refused
        QTest::addColumn<bool>("active");
        QTest::newRow("on") << QByteArray("alarm 7 on") << 7 << true;
        QTest::newRow("off, CR LF") << QByteArray("alarm 64 off\r") << 64 << false;
        QTest::newRow("65") << QByteArray("alarm 65 on") << 0 << false;
        QTest::newRow("0") << QByteArray("alarm 0 on") << 0 << false;
        QTest::newRow("07") << QByteArray("alarm 07 on") << 0 << false;
        QTest::newRow("+7") << QByteArray("alarm +7 on") << 0 << false;
        QTest::newRow("ON") << QByteArray("alarm 7 ON") << 0 << false;
        QTest::newRow("two blanks") << QByteArray("alarm  7 on") << 0 << false;
        QTest::newRow("more words") << QByteArray("alarm 7 on now") << 0 << false;
        QTest::newRow("too long") << QByteArray("alarm 7 on" + QByteArray(60, ' ')) << 0 << false;
        QTest::newRow("NUL") << QByteArray("alarm 7\0on", 10) << 0 << false;
    }
    void alarmRequest() {
        QFETCH(QByteArray, line);
        QFETCH(int, input);
        QFETCH(bool, active);
        QString why;
        const std::optional<AlarmRequest> r = AlarmRequest::parse(line, &why);
        QCOMPARE(r.has_value(), input > 0);
        if (r) {
            QCOMPARE(r->input, input);
            QCOMPARE(r->active, active);
            QCOMPARE(AlarmRequest::parse(r->line())->input, input);
        } else {
            QVERIFY(!why.isEmpty());
        }
    }

    void alarmAnswers() {
        QVERIFY(AlarmRequest::answer(AlarmRequest::okLine())->ok);
        const auto refused =
            AlarmRequest::answer(AlarmRequest::refusedLine(QStringLiteral("not\nbound")));
        QVERIFY(refused && !refused->ok);
        QCOMPARE(refused->reason, QStringLiteral("not bound"));
        QVERIFY(!AlarmRequest::answer("maybe\n"));
    }
};

VELMAR_TEST_MAIN(TestAutomationFile)
#include "tst_automationfile.moc"
