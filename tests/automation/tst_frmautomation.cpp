// The automation window: salvos, tours, alarm bindings and schedules built
// with its controls and saved to automation.ini, the questions before
// anything is lost, a file that cannot be read, and every control reachable
// by keyboard and named for a screen reader.
#include "AutomationRig.h"
#include "TestMain.h"
#include "automation/frmAutomation.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimeEdit>

using automation::frmAutomation;
using Answer = ui::Dialogs::Answer;

namespace {
struct WindowRig {
    AutomationRig rig;
    fakes::Dialogs dialogs;
    fakes::SettingsStore settings;
    std::unique_ptr<frmAutomation> window;

    explicit WindowRig(const QByteArray &file = {})
        : rig(file) {
        rig->start();
        open();
    }
    void open() {
        window = std::make_unique<frmAutomation>(*rig, rig.switcher, dialogs, settings);
        window->show();
        QApplication::setActiveWindow(window.get());
    }
    template <typename T> T *find(const char *name) const {
        T *w = window->findChild<T *>(QLatin1String(name));
        if (!w)
            qWarning("no %s", name);
        return w;
    }
    void click(const char *name) const {
        QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton);
    }
    void tab(int index) const { find<QTabWidget>("automationTabs")->setCurrentIndex(index); }
    void set(const char *name, int value) const { find<QSpinBox>(name)->setValue(value); }
    QByteArray file() const { return AutomationRig::read(rig.filePath()); }
};
} // namespace

class TestFrmAutomation : public QObject {
    Q_OBJECT

private slots:
    void buildsEveryKindWithoutEditingTheFile() {
        WindowRig w;
        QCOMPARE(w.file(), QByteArray("<none>"));
        QVERIFY(w.find<QLabel>("fileState")->text().contains(QLatin1String("does not exist")));

        w.click("addSalvo");
        QLineEdit *name = w.find<QLineEdit>("salvoName");
        QVERIFY(name->hasFocus());
        QTest::keyClicks(name, QStringLiteral("Night"));
        w.set("salvoCamera3", 9);
        w.set("salvoCamera1", 5);
        w.set("salvoPreset1", 2);

        w.tab(1);
        w.click("addTour");
        w.set("tourMonitor", 2);
        w.find<QComboBox>("tourOnManualRoute")->setCurrentIndex(1);
        w.click("addStep");
        w.set("stepCamera2", 7);
        w.set("stepDwell2", 4);

        w.tab(2);
        w.click("addAlarm");
        w.set("alarmInput", 7);
        w.set("alarmCamera", 12);

        w.tab(3);
        w.click("addSchedule");
        w.find<QTimeEdit>("scheduleAt")->setTime(QTime(22, 0));
        w.find<QCheckBox>("scheduleDay6")->setChecked(false);
        w.find<QCheckBox>("scheduleDay7")->setChecked(false);
        QComboBox *action = w.find<QComboBox>("scheduleAction");
        QCOMPARE(action->count(), 3); // the salvo, the tour's start and stop
        action->setCurrentIndex(1);

        QVERIFY(w.window->isModified());
        QVERIFY(w.window->windowTitle().endsWith(QLatin1String(" *")));
        w.click("save");
        QCOMPARE(w.file(), QByteArray("[Salvo1]\r\nName=Night\r\nRoutes=3:9, 1:5@2\r\n\r\n"
                                      "[Tour1]\r\nMonitor=2\r\nSteps=1:10, 7:4\r\n"
                                      "OnManualRoute=stop\r\n\r\n"
                                      "[Alarm7]\r\nMonitor=1\r\nCamera=12\r\n\r\n"
                                      "[Schedule1]\r\nAt=22:00\r\nDays=Mon,Tue,Wed,Thu,Fri\r\n"
                                      "Action=tour 1 start\r\n"));
        // Applied at once.
        QCOMPARE(w.rig->salvos(), QStringList{"Night"});
        QCOMPARE(w.rig->tours().size(), 1);
        QVERIFY(!w.window->isModified());
        QVERIFY(w.find<QLabel>("status")->text().startsWith(QLatin1String("Saved")));
    }

    void takesTheRoutingShown() {
        WindowRig w;
        w.rig.switcher.states[1].camera = 5;
        w.rig.switcher.states[2] = {7, true, {}};
        w.click("addSalvo");
        w.set("salvoCamera3", 2);
        w.click("takeRouting");
        QCOMPARE(w.window->work().salvos[0].routes,
                 (QList<automation::AutomationFile::Route>{{3, 2, 0}, {1, 5, 0}}));
        QVERIFY2(w.find<QLabel>("status")->text().contains(QLatin1String("monitor 2, 3, 4")),
                 qPrintable(w.find<QLabel>("status")->text()));
    }

    // The schedules that name a salvo or a tour follow it when it is renamed
    // or renumbered.
    void renamesFollow() {
        WindowRig w("[Salvo1]\nName=Night\nRoutes=1:5\n[Tour1]\nMonitor=2\nSteps=5:10\n"
                    "[Schedule1]\nAt=22:00\nAction=salvo Night\n"
                    "[Schedule2]\nAt=23:00\nAction=tour 1 stop\n");
        QLineEdit *name = w.find<QLineEdit>("salvoName");
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("Notte"));
        w.tab(1);
        w.set("tourNumber", 4);
        w.click("save");
        const QByteArray file = w.file();
        QVERIFY2(file.contains("Action=salvo Notte\r\n") && file.contains("Action=tour 4 stop\r\n"),
                 file.constData());
    }

    void faultsAreShownAndNothingIsWritten() {
        WindowRig w("[Salvo1]\nName=Night\nRoutes=1:5\n");
        const QByteArray before = w.file();
        w.find<QLineEdit>("salvoName")->clear();
        QTest::keyClicks(w.find<QLineEdit>("salvoName"), QStringLiteral("a;b"));
        w.click("save");
        QVERIFY2(w.find<QLabel>("status")->text().startsWith(QLatin1String("Not saved: [Salvo1]")),
                 qPrintable(w.find<QLabel>("status")->text()));
        QCOMPARE(w.file(), before);
        QVERIFY(w.window->isModified());
    }

    void linesLeftOutAreListedAndAskedAbout_data() {
        QTest::addColumn<Answer>("answer");
        QTest::newRow("no") << Answer::No;
        QTest::newRow("yes") << Answer::Yes;
    }
    void linesLeftOutAreListedAndAskedAbout() {
        QFETCH(Answer, answer);
        WindowRig w("[Salvo1]\nName=Night\nRoutes=1:5\n[Tour1]\nMonitor=2\nSteps=17:10\n");
        QListWidget *problems = w.find<QListWidget>("problems");
        QVERIFY(problems->isVisible());
        QCOMPARE(problems->count(), 1);
        QVERIFY(problems->item(0)->text().startsWith(QLatin1String("line 6: [Tour1] Steps")));
        const QByteArray before = w.file();
        w.dialogs.answers.enqueue(answer);
        w.click("save");
        QCOMPARE(w.dialogs.shown.size(), 1);
        QVERIFY(w.dialogs.shown[0].text.startsWith(QLatin1String("1 lines of automation.ini")));
        QCOMPARE(w.file() == before, answer == Answer::No);
        QCOMPARE(problems->isVisible(), answer == Answer::No);
    }

    void aFileThatCannotBeRead() {
        WindowRig w;
        QVERIFY(QDir().mkdir(w.rig.filePath()));
        w.rig->reload();
        w.open();
        QVERIFY(!w.find<QPushButton>("save")->isEnabled());
        QVERIFY(w.find<QLabel>("fileState")->text().contains(QLatin1String("cannot be read")));
        QVERIFY(QFileInfo(w.rig.filePath()).isDir());
    }

    void leavingWithChanges_data() {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("written");
        QTest::newRow("save") << Answer::Yes << true << true;
        QTest::newRow("drop") << Answer::No << true << false;
        QTest::newRow("stay") << Answer::Cancel << false << false;
    }
    void leavingWithChanges() {
        QFETCH(Answer, answer);
        QFETCH(bool, closed);
        QFETCH(bool, written);
        WindowRig w;
        w.click("addSalvo");
        w.set("salvoCamera1", 3);
        w.dialogs.answers.enqueue(answer);
        QTest::keyClick(w.window.get(), Qt::Key_Escape);
        QCOMPARE(w.dialogs.shown.size(), 1);
        QCOMPARE(w.dialogs.shown[0].text, QStringLiteral("Save the changes to automation.ini?"));
        QCOMPARE(w.window->isVisible(), !closed);
        QCOMPARE(w.file() != QByteArray("<none>"), written);
    }

    void deletingAsksNamingIt_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("question");
        QTest::newRow("salvo") << 0 << "removeSalvo"
                               << "Delete the salvo Night?";
        QTest::newRow("tour") << 1 << "removeTour"
                              << "Delete tour 3?";
        QTest::newRow("alarm") << 2 << "removeAlarm"
                               << "Delete the binding of alarm 7?";
        QTest::newRow("schedule") << 3 << "removeSchedule"
                                  << "Delete schedule entry 2?";
    }
    void deletingAsksNamingIt() {
        QFETCH(int, tab);
        QFETCH(QString, button);
        QFETCH(QString, question);
        WindowRig w("[Salvo1]\nName=Night\nRoutes=1:5\n[Tour3]\nMonitor=2\nSteps=5:10\n"
                    "[Alarm7]\nMonitor=1\nCamera=2\n[Schedule2]\nAt=22:00\nAction=tour 3 stop\n");
        w.tab(tab);
        w.dialogs.answers.enqueue(Answer::No);
        w.click(button.toLatin1().constData());
        QCOMPARE(w.dialogs.shown.value(0).text, question);
        QVERIFY(!w.window->isModified());
        w.dialogs.answers.enqueue(Answer::Yes);
        w.click(button.toLatin1().constData());
        QVERIFY(w.window->isModified());
    }

    // Tab reaches every control that takes input on each page, and each one
    // has a name a screen reader says.
    void keyboardAndNames() {
        WindowRig w("[Salvo1]\nName=Night\nRoutes=1:5\n[Tour3]\nMonitor=2\nSteps=5:10, 6:10\n"
                    "[Alarm7]\nMonitor=1\nCamera=2\n[Schedule2]\nAt=22:00\nAction=tour 3 stop\n");
        QApplication::setActiveWindow(w.window.get());
        for (int tab = 0; tab < 4; ++tab) {
            w.tab(tab);
            QWidget *page = w.find<QTabWidget>("automationTabs")->currentWidget();
            QSet<QWidget *> wanted;
            for (QWidget *c : page->findChildren<QWidget *>()) {
                const bool input = qobject_cast<QAbstractButton *>(c) ||
                                   qobject_cast<QAbstractSpinBox *>(c) ||
                                   qobject_cast<QLineEdit *>(c) || qobject_cast<QComboBox *>(c) ||
                                   qobject_cast<QAbstractItemView *>(c);
                if (!input || !c->isVisible() || !c->isEnabled() || c->focusProxy() ||
                    c->focusPolicy() == Qt::NoFocus ||
                    (qobject_cast<QLineEdit *>(c) && qobject_cast<QAbstractSpinBox *>(c->parent())))
                    continue;
                wanted.insert(c);
                auto *button = qobject_cast<QAbstractButton *>(c);
                QVERIFY2(!c->accessibleName().isEmpty() || (button && !button->text().isEmpty()),
                         qPrintable(c->objectName()));
            }
            QVERIFY(!wanted.isEmpty());
            w.find<QTabWidget>("automationTabs")->setFocus();
            QSet<QWidget *> reached;
            for (int i = 0; i < 200 && reached.size() < wanted.size(); ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QWidget *f = QApplication::focusWidget();
                if (wanted.contains(f))
                    reached.insert(f);
            }
            for (QWidget *c : std::as_const(wanted))
                QVERIFY2(reached.contains(c),
                         qPrintable(QStringLiteral("%1 on page %2").arg(c->objectName()).arg(tab)));
        }
    }

    void remembersItsPlaceAndPage() {
        WindowRig w;
        w.tab(2);
        w.window->move(40, 50);
        w.window.reset();
        QVERIFY(!w.settings.values.value(QStringLiteral("Windows/AutomationGeometry")).isEmpty());
        w.open();
        QCOMPARE(w.find<QTabWidget>("automationTabs")->currentIndex(), 2);
    }
};

VELMAR_TEST_MAIN(TestFrmAutomation)
#include "tst_frmautomation.moc"
