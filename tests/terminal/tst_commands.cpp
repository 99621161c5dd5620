// The terminal's commands on the fake port: the log of terminal traffic,
// the property prompts, dial, the DTR switch and the line displays.
#include "Panel.h"
#include "TestMain.h"
#include "link/SerialChannel.h"
#include "terminal/LogCommands.h"
#include "terminal/Modem.h"
#include "terminal/NumberAnswer.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Dialogs that also remember each input box's title and proposed text.
struct RecordingDialogs : fakes::Dialogs {
    QStringList asked; // "title|prompt|proposed"
    std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                    const QString &defaultText) override {
        asked << title + '|' + prompt + '|' + defaultText;
        return fakes::Dialogs::inputBox(prompt, title, defaultText);
    }
};

struct Rig {
    fakes::SerialPort port;
    fakes::DatagramSocket socket;
    RecordingDialogs dialogs;
    fakes::SettingsStore settings;
    app::Controller controller{{port, socket, settings, devicelink::Clock::system()}};
    frmTerminal window{controller, dialogs};

    // Shown, a menu entry tells its state (hidden it always reads disabled).
    QAction *entry(const char *name) {
        auto *action = window.findChild<QAction *>(name);
        action->setVisible(true);
        return action;
    }
    QStringList shownTexts() const {
        QStringList out;
        for (const auto &box : dialogs.shown)
            out << box.text;
        return out;
    }
};

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestCommands : public QObject {
    Q_OBJECT

private slots:
    void numbersAtTheStartOfAnAnswer_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("value"); // -99999: overflow
        QTest::newRow("proposed form") << " 7" << 7;
        QTest::newRow("trailing text") << "12abc" << 12;
        QTest::newRow("not a number") << "abc" << 0;
        QTest::newRow("blanks inside") << "1 2\t3" << 123;
        QTest::newRow("half to even, down") << "2.5" << 2;
        QTest::newRow("half to even, up") << "-3.5" << -4;
        QTest::newRow("exponent") << "2D2" << 200;
        QTest::newRow("comma is no decimal point") << "1,5" << 1;
        QTest::newRow("smallest") << "-32768" << -32768;
        QTest::newRow("one too large") << "32768" << -99999;
        QTest::newRow("far too large") << "1e999" << -99999;
    }
    void numbersAtTheStartOfAnAnswer() {
        QFETCH(QString, answer);
        QFETCH(int, value);
        const auto number = terminal::leadingNumber(answer);
        const auto rounded = number ? terminal::toInt16(*number) : std::nullopt;
        QCOMPARE(rounded ? int(*rounded) : -99999, value);
    }

    void propertyPrompts_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("warning");
        const std::optional<QString> cancelled;
        const auto said = [](const char *text) { return std::optional<QString>(text); };
        QTest::newRow("InputLen") << "mnuInputLen" << said("16")
                                  << "InputLen|Enter New InputLen:| 0"
                                  << "16"
                                  << "";
        QTest::newRow("not a number sets 0")
            << "mnuRThreshold" << said("x9") << "RThreshold|Enter New RThreshold:| 1"
            << "0"
            << "";
        QTest::newRow("empty answer changes nothing")
            << "mnuSThreshold" << said("") << "SThreshold|Enter New SThreshold Value| 0"
            << "0"
            << "";
        QTest::newRow("cancel changes nothing")
            << "mnuInputLen" << cancelled << "InputLen|Enter New InputLen:| 0"
            << "0"
            << "";
        QTest::newRow("negative refused by the port")
            << "mnuInputLen" << said("-2") << "InputLen|Enter New InputLen:| 0"
            << "0"
            << "Invalid property value";
        QTest::newRow("too large")
            << "mnuRThreshold" << said("99999") << "RThreshold|Enter New RThreshold:| 1"
            << "1"
            << "Overflow";
        QTest::newRow("replace character")
            << "mnuParRep" << said("#!") << "ParityReplace|Enter Replace Character|?"
            << "#"
            << "";
        QTest::newRow("empty answer clears it")
            << "mnuParRep" << said("") << "ParityReplace|Enter Replace Character|?"
            << ""
            << "";
        QTest::newRow("cancel keeps it")
            << "mnuParRep" << cancelled << "ParityReplace|Enter Replace Character|?"
            << "?"
            << "";
    }
    void propertyPrompts() {
        QFETCH(QString, command);
        QFETCH(std::optional<QString>, answer);
        QFETCH(QString, warning);
        Rig rig;
        rig.dialogs.inputs.enqueue(answer);
        rig.entry(command.toLatin1().constData())->trigger();
        QTEST(rig.dialogs.asked.value(0), "asked");
        const QString value =
            command == QLatin1String("mnuInputLen")     ? QString::number(rig.port.InputLen())
            : command == QLatin1String("mnuRThreshold") ? QString::number(rig.port.RThreshold())
            : command == QLatin1String("mnuSThreshold") ? QString::number(rig.port.SThreshold())
                                                        : rig.port.ParityReplace();
        QTEST(value, "after");
        QCOMPARE(rig.shownTexts(), warning.isEmpty() ? QStringList() : QStringList{warning});
    }

    void dial_data() {
        QTest::addColumn<bool>("portOpen");
        QTest::addColumn<QString>("openError");
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::addColumn<QByteArray>("sent");
        const auto number = [](const char *text) { return std::optional<QString>(text); };
        QTest::newRow("open port")
            << true << "" << number("5551234") << QByteArray("ATDT5551234\r\n");
        QTest::newRow("closed port is opened first")
            << false << "" << number("42") << QByteArray("ATDT42\r\n");
        QTest::newRow("empty answer dials nothing") << true << "" << number("") << QByteArray();
        QTest::newRow("cancel dials nothing")
            << true << "" << std::optional<QString>() << QByteArray();
        QTest::newRow("port that cannot open")
            << false << "Port in use" << number("42") << QByteArray();
    }
    void dial() {
        QFETCH(bool, portOpen);
        QFETCH(QString, openError);
        QFETCH(std::optional<QString>, answer);
        QFETCH(QByteArray, sent);
        Rig rig;
        if (portOpen)
            rig.window.mnuOpen_Click();
        rig.port.openError = openError;
        rig.entry("mnuHangUp")->setEnabled(false);
        rig.dialogs.inputs.enqueue(QStringLiteral("999"));
        rig.dialogs.inputs.enqueue(answer);
        rig.window.modem().mnuDial_Click();
        rig.port.written.clear();

        rig.entry("mnuDial")->trigger();

        // Every dial proposes "1", whatever was dialled before.
        QCOMPARE(rig.dialogs.asked.value(1), QStringLiteral("Dial Number|Enter Phone Number:|1"));
        QCOMPARE(rig.port.written, sent);
        QCOMPARE(rig.entry("mnuHangUp")->isEnabled(), portOpen || openError.isEmpty());
        // An open that fails says why once; the dial adds nothing.
        const QStringList reasons(openError.isEmpty() ? 0 : 2, openError);
        QCOMPARE(rig.shownTexts(), reasons);
    }

    void dtrSwitchAndLineDisplays() {
        Rig rig;
        QAction *dtr = rig.entry("mnuDTREnable");
        dtr->trigger();
        QVERIFY(!rig.port.DTREnable() && !dtr->isChecked());
        dtr->trigger();
        QVERIFY(rig.port.DTREnable() && dtr->isChecked());
        for (const char *name : {"mnuHCD", "mnuHCTS", "mnuHDSR"})
            rig.entry(name)->trigger();
        QCOMPARE(rig.shownTexts(),
                 (QStringList{"CDHolding = False", "CTSHolding = False", "DSRHolding = False"}));
        QCOMPARE(rig.dialogs.shown.first().icon, ui::Dialogs::Icon::None);
    }

    void logFile_data() {
        QTest::addColumn<QByteArray>("existing"); // empty: no file yet
        QTest::addColumn<ui::Dialogs::Answer>("answer");
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second"); // the name given after a Cancel
        using A = ui::Dialogs::Answer;
        const QByteArray shown("one\r\nB");
        const QByteArray none("<missing>");
        QTest::newRow("new file") << QByteArray() << A::Ok << shown << none;
        QTest::newRow("No appends") << QByteArray("old|") << A::No << "old|" + shown << none;
        QTest::newRow("Yes replaces") << QByteArray("old|") << A::Yes << shown << none;
        QTest::newRow("Cancel asks for another name")
            << QByteArray("old|") << A::Cancel << QByteArray("old|") << shown;
        QTest::newRow("a folder cannot be a log") << QByteArray("/") << A::No << none << none;
    }
    void logFile() {
        QFETCH(QByteArray, existing);
        QFETCH(ui::Dialogs::Answer, answer);
        QTemporaryDir dir;
        QString first = dir.filePath("terminal.log");
        if (existing == "/") {
            first = dir.path();
        } else if (!existing.isEmpty()) {
            QFile file(first);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(existing) > 0);
        }
        Rig rig;
        rig.dialogs.fileNames.enqueue(first);
        rig.dialogs.fileNames.enqueue(dir.filePath("other.log"));
        rig.dialogs.answers.enqueue(answer);

        rig.window.logCommands().mnuOpenLog_Click();

        const bool opened = existing != "/";
        QCOMPARE(rig.window.session().log().isOpen(), opened);
        QCOMPARE(rig.entry("mnuCloseLog")->isEnabled(), opened);
        if (!existing.isEmpty())
            QCOMPARE(rig.dialogs.shown.first().text, "Replace existing file - " + first + "?");
        if (!opened)
            QCOMPARE(rig.dialogs.shown.last().icon, ui::Dialogs::Icon::Exclamation);
        // What the terminal shows, after its filtering, is what is logged:
        // a lone line feed is dropped, CR gets its LF, a backspace eats.
        rig.port.receive(QByteArray("one\rX\x08"));
        rig.port.receive(QByteArray("\nB"));
        rig.window.logCommands().mnuCloseLog_Click();
        rig.port.receive(QByteArray("not logged"));

        if (opened)
            QTEST(contents(first), "first");
        QTEST(contents(dir.filePath("other.log")), "second");
        QCOMPARE(rig.window.windowTitle(), QStringLiteral("Serial Terminal"));
        QVERIFY(!rig.entry("mnuCloseLog")->isEnabled());
    }
};

VELMAR_TEST_MAIN(TestCommands)
#include "tst_commands.moc"
