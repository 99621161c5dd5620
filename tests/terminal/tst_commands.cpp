// The terminal's commands on the fake port: the log of terminal traffic,
// the property prompts, dial and hang-up, the DTR switch and the line
// displays.
#include "Panel.h"
#include "link/SerialChannel.h"
#include "terminal/NumberAnswer.h"
#include "terminal/TerminalCommands.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Dialogs that also remember each input box's title and proposed text.
struct RecordingDialogs : fakes::Dialogs {
    QStringList titles;
    QStringList defaults;
    std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                    const QString &defaultText) override {
        titles << title;
        defaults << defaultText;
        return fakes::Dialogs::inputBox(prompt, title, defaultText);
    }
};

struct Rig {
    fakes::SerialPort port;
    fakes::DatagramSocket socket;
    RecordingDialogs dialogs;
    fakes::SettingsStore settings;
    frmTerminal window{port, socket, dialogs, settings};
    terminal::TerminalCommands commands{window, port, dialogs, settings};

    Rig() {
        // Shown, a menu entry tells its state (hidden it always reads disabled).
        for (const char *name :
             {"mnuSendText", "mnuHangUp", "mnuDial", "mnuOpenLog", "mnuCloseLog"})
            entry(name)->setVisible(true);
    }
    QAction *entry(const char *name) { return window.findChild<QAction *>(name); }
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

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestCommands : public QObject {
    Q_OBJECT

private slots:
    void numbersAtTheStartOfAnAnswer_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("value"); // -99999: overflow
        QTest::newRow("plain") << "12" << 12;
        QTest::newRow("proposed form") << " 7" << 7;
        QTest::newRow("trailing text") << "12abc" << 12;
        QTest::newRow("not a number") << "abc" << 0;
        QTest::newRow("sign only") << "-" << 0;
        QTest::newRow("negative") << "-3" << -3;
        QTest::newRow("blanks inside") << "1 2\t3" << 123;
        QTest::newRow("half rounds to even, down") << "2.5" << 2;
        QTest::newRow("half rounds to even, up") << "3.5" << 4;
        QTest::newRow("fraction only") << ".6" << 1;
        QTest::newRow("exponent") << "1e3" << 1000;
        QTest::newRow("D exponent") << "2D2" << 200;
        QTest::newRow("dangling exponent") << "5e" << 5;
        QTest::newRow("comma is not a decimal point") << "1,5" << 1;
        QTest::newRow("largest") << "32767" << 32767;
        QTest::newRow("smallest") << "-32768" << -32768;
        QTest::newRow("one too large") << "32768" << -99999;
        QTest::newRow("far too large") << "1e999" << -99999;
        QTest::newRow("tiny") << "1e-999" << 0;
    }
    void numbersAtTheStartOfAnAnswer() {
        QFETCH(QString, answer);
        QFETCH(int, value);
        const auto number = terminal::leadingNumber(answer);
        const auto rounded = number ? terminal::toInt16(*number) : std::nullopt;
        if (value == -99999)
            QVERIFY(!rounded);
        else
            QCOMPARE(rounded, std::optional<qint16>(static_cast<qint16>(value)));
    }

    void propertyPrompts_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("before");
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::addColumn<int>("after");
        QTest::addColumn<QString>("warning");
        const std::optional<QString> cancelled;
        const auto answer = [](const char *text) { return std::optional<QString>(text); };
        QTest::newRow("InputLen number") << "mnuInputLen" << 0 << answer("16") << 16 << "";
        QTest::newRow("InputLen not a number sets 0")
            << "mnuInputLen" << 5 << answer("x9") << 0 << "";
        QTest::newRow("InputLen empty answer changes nothing")
            << "mnuInputLen" << 5 << answer("") << 5 << "";
        QTest::newRow("InputLen cancelled") << "mnuInputLen" << 5 << cancelled << 5 << "";
        QTest::newRow("InputLen negative refused")
            << "mnuInputLen" << 5 << answer("-2") << 5 << "Invalid property value";
        QTest::newRow("InputLen too large")
            << "mnuInputLen" << 5 << answer("99999") << 5 << "Overflow";
        QTest::newRow("RThreshold") << "mnuRThreshold" << 1 << answer("4 bytes") << 4 << "";
        QTest::newRow("RThreshold off") << "mnuRThreshold" << 1 << answer("none") << 0 << "";
        QTest::newRow("SThreshold") << "mnuSThreshold" << 0 << answer("2.5") << 2 << "";
        QTest::newRow("SThreshold empty") << "mnuSThreshold" << 3 << answer("") << 3 << "";
    }
    void propertyPrompts() {
        QFETCH(QString, command);
        QFETCH(int, before);
        QFETCH(std::optional<QString>, answer);
        QFETCH(int, after);
        QFETCH(QString, warning);
        Rig rig;
        const QString name = command.mid(3); // InputLen, RThreshold, SThreshold
        const auto value = [&] {
            return name == QLatin1String("InputLen")     ? rig.port.InputLen()
                   : name == QLatin1String("RThreshold") ? rig.port.RThreshold()
                                                         : rig.port.SThreshold();
        };
        if (name == QLatin1String("InputLen"))
            rig.port.setInputLen(before);
        else if (name == QLatin1String("RThreshold"))
            rig.port.setRThreshold(before);
        else
            rig.port.setSThreshold(before);
        rig.dialogs.inputs.enqueue(answer);

        rig.entry(command.toLatin1().constData())->trigger();

        QCOMPARE(rig.dialogs.prompts,
                 QStringList{name == QLatin1String("SThreshold") ? "Enter New SThreshold Value"
                                                                 : "Enter New " + name + ":"});
        QCOMPARE(rig.dialogs.titles, QStringList{name});
        QCOMPARE(rig.dialogs.defaults, QStringList{" " + QString::number(before)});
        QCOMPARE(value(), after);
        QCOMPARE(rig.shownTexts(), warning.isEmpty() ? QStringList() : QStringList{warning});
    }

    void parityReplacePrompt_data() {
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::addColumn<QString>("after");
        QTest::newRow("first character") << std::optional<QString>("#!") << "#";
        QTest::newRow("empty answer clears") << std::optional<QString>("") << "";
        QTest::newRow("cancel changes nothing") << std::optional<QString>() << "?";
    }
    void parityReplacePrompt() {
        QFETCH(std::optional<QString>, answer);
        QFETCH(QString, after);
        Rig rig;
        rig.dialogs.inputs.enqueue(answer);
        rig.entry("mnuParRep")->trigger();
        QCOMPARE(rig.dialogs.prompts, QStringList{"Enter Replace Character"});
        QCOMPARE(rig.dialogs.titles, QStringList{"ParityReplace"});
        QCOMPARE(rig.dialogs.defaults, QStringList{"?"});
        QCOMPARE(rig.port.ParityReplace(), after);
    }

    void dial_data() {
        QTest::addColumn<bool>("portOpen");
        QTest::addColumn<QString>("openError");
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::addColumn<QByteArray>("sent");
        const auto number = [](const char *text) { return std::optional<QString>(text); };
        QTest::newRow("open port")
            << true << "" << number("5551234") << QByteArray("ATDT5551234\r\n");
        QTest::newRow("the proposed number")
            << true << "" << number("1") << QByteArray("ATDT1\r\n");
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
            rig.window.serialChannel().mnuOpen_Click();
        rig.port.openError = openError;
        rig.entry("mnuHangUp")->setEnabled(false);
        rig.dialogs.inputs.enqueue(answer);

        rig.entry("mnuDial")->trigger();

        QCOMPARE(rig.dialogs.prompts, QStringList{"Enter Phone Number:"});
        QCOMPARE(rig.dialogs.titles, QStringList{"Dial Number"});
        QCOMPARE(rig.dialogs.defaults, QStringList{"1"});
        QCOMPARE(rig.port.written, sent);
        QCOMPARE(rig.entry("mnuHangUp")->isEnabled(), !sent.isEmpty());
        // The open's own message names the reason; the dial adds none.
        QCOMPARE(rig.shownTexts(), openError.isEmpty() ? QStringList() : QStringList{openError});
    }

    void dialAlwaysProposesOne() {
        Rig rig;
        rig.window.serialChannel().mnuOpen_Click();
        rig.dialogs.inputs.enqueue(QStringLiteral("987"));
        rig.dialogs.inputs.enqueue(QStringLiteral("654"));
        rig.commands.mnuDial_Click();
        rig.commands.mnuDial_Click();
        QCOMPARE(rig.dialogs.defaults, (QStringList{"1", "1"}));
        QCOMPARE(rig.port.written, QByteArray("ATDT987\r\nATDT654\r\n"));
    }

    void hangUp_data() {
        QTest::addColumn<bool>("dtr");
        QTest::newRow("DTR on") << true;
        QTest::newRow("DTR off") << false;
    }
    void hangUp() {
        QFETCH(bool, dtr);
        Rig rig;
        rig.window.serialChannel().mnuOpen_Click();
        rig.port.setDTREnable(dtr);
        rig.dialogs.inputs.enqueue(QStringLiteral("1"));
        rig.commands.mnuDial_Click();
        rig.port.written.clear();

        rig.commands.mnuHangUp_Click();

        QCOMPARE(rig.port.written, QByteArray("ATH"));
        QCOMPARE(rig.port.DTREnable(), dtr);
        QVERIFY(!rig.port.PortOpen());
        QVERIFY(!rig.entry("mnuHangUp")->isEnabled());
        QVERIFY(!rig.entry("mnuSendText")->isEnabled());
        QVERIFY(rig.entry("mnuDial")->isEnabled());
        QVERIFY(!rig.entry("mnuOpen")->isChecked());
        QCOMPARE(rig.dialogs.shown.size(), 0);
    }

    void dtrSwitchAndLineDisplays() {
        Rig rig;
        QAction *dtr = rig.entry("mnuDTREnable");
        QVERIFY(rig.port.DTREnable());
        dtr->trigger();
        QVERIFY(!rig.port.DTREnable());
        QVERIFY(!dtr->isChecked());
        dtr->trigger();
        QVERIFY(rig.port.DTREnable());
        QVERIFY(dtr->isChecked());

        rig.entry("mnuHCD")->trigger();
        rig.entry("mnuHCTS")->trigger();
        rig.entry("mnuHDSR")->trigger();
        QCOMPARE(rig.shownTexts(),
                 (QStringList{"CDHolding = False", "CTSHolding = False", "DSRHolding = False"}));
        for (const auto &box : rig.dialogs.shown) {
            QCOMPARE(box.icon, ui::Dialogs::Icon::None);
            QCOMPARE(box.buttons, ui::Dialogs::Buttons::Ok);
        }
    }

    void logFile_data() {
        QTest::addColumn<QByteArray>("existing"); // empty: no file yet
        QTest::addColumn<QList<ui::Dialogs::Answer>>("answers");
        QTest::addColumn<QByteArray>("logged"); // in the first file
        QTest::addColumn<QByteArray>("second"); // in a second file named after a Cancel
        using A = ui::Dialogs::Answer;
        const QByteArray shown("one\r\nB");
        QTest::newRow("new file") << QByteArray() << QList<A>{} << shown << QByteArray("<missing>");
        QTest::newRow("No appends")
            << QByteArray("old|") << QList<A>{A::No} << "old|" + shown << QByteArray("<missing>");
        QTest::newRow("Yes replaces")
            << QByteArray("old|") << QList<A>{A::Yes} << shown << QByteArray("<missing>");
        QTest::newRow("Cancel asks for another name")
            << QByteArray("old|") << QList<A>{A::Cancel} << QByteArray("old|") << shown;
    }
    void logFile() {
        QFETCH(QByteArray, existing);
        QFETCH(QList<ui::Dialogs::Answer>, answers);
        QFETCH(QByteArray, logged);
        QFETCH(QByteArray, second);
        QTemporaryDir dir;
        const QString first = dir.filePath("terminal.log");
        const QString other = dir.filePath("other.log");
        if (!existing.isEmpty())
            writeFile(first, existing);
        Rig rig;
        rig.dialogs.fileNames.enqueue(first);
        rig.dialogs.fileNames.enqueue(other);
        for (auto a : answers)
            rig.dialogs.answers.enqueue(a);

        rig.commands.mnuOpenLog_Click();

        QVERIFY(rig.window.logFile().isOpen());
        QVERIFY(rig.entry("mnuCloseLog")->isEnabled());
        if (!existing.isEmpty()) {
            QCOMPARE(rig.dialogs.shown.first().text, "Replace existing file - " + first + "?");
            QCOMPARE(rig.dialogs.shown.first().buttons, ui::Dialogs::Buttons::YesNoCancel);
            QCOMPARE(rig.dialogs.shown.first().icon, ui::Dialogs::Icon::Question);
        }
        // What the terminal shows, after its filtering, is what is logged:
        // a line feed alone is dropped, CR gets its LF, a backspace eats.
        rig.port.receive(QByteArray("one\rX\x08"));
        rig.port.receive(QByteArray("\nB"));
        rig.window.mnuCloseLog_Click();
        rig.port.receive(QByteArray("not logged"));

        QCOMPARE(contents(first), logged);
        QCOMPARE(contents(other), second);
        QCOMPARE(rig.window.windowTitle(), QStringLiteral("Serial Terminal"));
        QVERIFY(!rig.entry("mnuCloseLog")->isEnabled());
    }

    void logFileFailures_data() {
        QTest::addColumn<QString>("name"); // "@" stands for the folder
        QTest::addColumn<ui::Dialogs::Answer>("answer");
        QTest::newRow("a folder cannot be a log") << "@" << ui::Dialogs::Answer::No;
        QTest::newRow("nowhere to write") << "@/no/such/folder/x.log" << ui::Dialogs::Answer::Ok;
    }
    void logFileFailures() {
        QFETCH(QString, name);
        QFETCH(ui::Dialogs::Answer, answer);
        QTemporaryDir dir;
        Rig rig;
        rig.dialogs.fileNames.enqueue(name.replace('@', dir.path()));
        rig.dialogs.answers.enqueue(answer);
        rig.commands.mnuOpenLog_Click();
        QVERIFY(!rig.window.logFile().isOpen());
        QVERIFY(!rig.entry("mnuCloseLog")->isEnabled());
        QCOMPARE(rig.dialogs.shown.last().icon, ui::Dialogs::Icon::Exclamation);
        QVERIFY(!rig.dialogs.shown.last().text.isEmpty());
        // Received text still shows, with nothing to log it to.
        rig.port.receive(QByteArray("x"));
    }

    void logCancelledAtOnceOpensNothing() {
        Rig rig;
        rig.commands.mnuOpenLog_Click();
        QVERIFY(!rig.window.logFile().isOpen());
        QVERIFY(rig.dialogs.shown.isEmpty());
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
