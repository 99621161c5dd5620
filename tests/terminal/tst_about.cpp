// The about box: its texts, the credits gesture, and where it looks for the
// system-information tool.
#include "Fakes.h"
#include "Panel.h"
#include "terminal/SystemInfoHost.h"
#include "terminal/TerminalCommands.h"
#include "terminal/frmAbout.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

// A registry and launcher that answer from tables.
struct FakeHost : terminal::SystemInfoHost {
    struct Value {
        quint32 type;
        QByteArray data;
    };
    QMap<QString, Value> values; // "key|value name"
    QStringList files;
    QString tool;
    bool startWorks = true;
    QStringList started;

    bool queryValue(quint32 root, const QString &key, const QString &valueName, quint32 &type,
                    QByteArray &data) override {
        if (root != localMachine || !values.contains(key + '|' + valueName))
            return false;
        type = values[key + '|' + valueName].type;
        data = values[key + '|' + valueName].data;
        return true;
    }
    bool fileExists(const QString &path) override { return files.contains(path); }
    bool start(const QString &program) override {
        started << program;
        return startWorks;
    }
    QString hostTool() override { return tool; }
};

const QString msinfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH");
const QString locationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO");
const QString unavailable = QStringLiteral("System Information Is Unavailable At This Time");

QByteArray sz(const char *text) {
    return QByteArray(text) + '\0';
}

} // namespace

class TestAbout : public QObject {
    Q_OBJECT

private slots:
    void opensModelessWithTitleAndVersion() {
        Panel panel;
        terminal::TerminalCommands commands(panel.window, panel.port, panel.dialogs,
                                            panel.settings);
        panel.window.findChild<QAction *>("About")->trigger();
        terminal::frmAbout *about = commands.about();
        QVERIFY(about && about->isVisible());
        QVERIFY(!about->isModal());
        QCOMPARE(about->windowTitle(), QStringLiteral("About Velmar Controller"));
        QCOMPARE(about->findChild<QLabel *>("lblVersion")->text(), QStringLiteral("Version 4.0.1"));
        QCOMPARE(about->findChild<QLabel *>("lblTitle")->text(),
                 QStringLiteral("Velmar Controller"));
        QCOMPARE(about->findChild<QPushButton *>("cmdSysInfo")->text(),
                 QStringLiteral("&System Info..."));
        // Asking again shows the same box.
        panel.window.findChild<QAction *>("About")->trigger();
        QCOMPARE(commands.about(), about);
        QTest::mouseClick(about->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
        QTRY_VERIFY(!commands.about());
    }

    void creditsGesture_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QPoint>("at"); // pixels; 100 twips are 6.67 px at 96 DPI
        QTest::addColumn<bool>("credits");
        QTest::newRow("right + Shift in the corner")
            << Qt::RightButton << Qt::KeyboardModifiers(Qt::ShiftModifier) << QPoint(2, 3) << true;
        QTest::newRow("right + Shift + Ctrl")
            << Qt::RightButton << Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::ControlModifier)
            << QPoint(2, 3) << false;
        QTest::newRow("right + Shift + Alt")
            << Qt::RightButton << Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::AltModifier)
            << QPoint(2, 3) << false;
        QTest::newRow("right, no Shift")
            << Qt::RightButton << Qt::KeyboardModifiers() << QPoint(2, 3) << false;
        QTest::newRow("left + Shift")
            << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ShiftModifier) << QPoint(2, 3) << false;
        QTest::newRow("outside the corner across")
            << Qt::RightButton << Qt::KeyboardModifiers(Qt::ShiftModifier) << QPoint(20, 3)
            << false;
        QTest::newRow("outside the corner down")
            << Qt::RightButton << Qt::KeyboardModifiers(Qt::ShiftModifier) << QPoint(2, 20)
            << false;
    }
    void creditsGesture() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QPoint, at);
        QFETCH(bool, credits);
        fakes::Dialogs dialogs;
        terminal::frmAbout about(dialogs, nullptr, std::make_shared<FakeHost>());
        about.Form_Load();
        about.show();
        QWidget *icon = about.findChild<QWidget *>("picIcon");
        QVERIFY(icon);
        QTest::mousePress(icon, button, modifiers, at);
        QCOMPARE(dialogs.shown.size(), credits ? 1 : 0);
        if (credits) {
            QCOMPARE(dialogs.shown.first().icon, ui::Dialogs::Icon::None);
            QVERIFY(!dialogs.shown.first().text.isEmpty());
        }
    }

    void systemInformation_data() {
        QTest::addColumn<bool>("path");     // MSINFO\PATH present
        QTest::addColumn<bool>("location"); // Shared Tools Location\MSINFO present
        QTest::addColumn<bool>("exeThere"); // MSINFO32.EXE in that folder
        QTest::addColumn<QString>("tool");  // the host's own tool
        QTest::addColumn<bool>("startWorks");
        QTest::addColumn<QString>("started"); // empty: nothing
        QTest::addColumn<bool>("message");
        QTest::newRow("PATH wins over the folder")
            << true << true << true << "" << true << "C:\\Tools\\msinfo.exe" << false;
        QTest::newRow("folder with the program")
            << false << true << true << "" << true << "C:\\Shared\\MSINFO32.EXE" << false;
        QTest::newRow("folder without the program")
            << false << true << false << "" << true << "" << true;
        QTest::newRow("no registry, no tool")
            << false << false << false << "" << true << "" << true;
        QTest::newRow("no registry, the host's tool")
            << false << false << false << "/usr/bin/hardinfo" << true << "/usr/bin/hardinfo"
            << false;
        QTest::newRow("program that does not start")
            << true << false << false << "" << false << "C:\\Tools\\msinfo.exe" << true;
    }
    void systemInformation() {
        QFETCH(bool, path);
        QFETCH(bool, location);
        QFETCH(bool, exeThere);
        QFETCH(QString, tool);
        QFETCH(bool, startWorks);
        QFETCH(QString, started);
        QFETCH(bool, message);
        auto host = std::make_shared<FakeHost>();
        if (path)
            host->values[msinfoKey] = {1, sz("C:\\Tools\\msinfo.exe")};
        if (location)
            host->values[locationKey] = {1, sz("C:\\Shared")};
        if (exeThere)
            host->files << QStringLiteral("C:\\Shared\\MSINFO32.EXE");
        host->tool = tool;
        host->startWorks = startWorks;
        fakes::Dialogs dialogs;
        terminal::frmAbout about(dialogs, nullptr, host);
        about.Form_Load();
        about.show();

        QTest::mouseClick(about.findChild<QPushButton *>("cmdSysInfo"), Qt::LeftButton);

        QCOMPARE(host->started, started.isEmpty() ? QStringList() : QStringList{started});
        QCOMPARE(dialogs.shown.size(), message ? 1 : 0);
        if (message) {
            QCOMPARE(dialogs.shown.first().text, unavailable);
            QCOMPARE(dialogs.shown.first().icon, ui::Dialogs::Icon::None);
        }
        QVERIFY(about.isVisible());
    }

    void registryValues_data() {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("value");
        QTest::newRow("string with terminator") << 1u << sz("C:\\x.exe") << "C:\\x.exe";
        QTest::newRow("string without terminator") << 1u << QByteArray("abc") << "abc";
        QTest::newRow("empty string") << 1u << sz("") << "";
        QTest::newRow("number, last byte first")
            << 4u << QByteArray("\x0A\x01\x00\x7F", 4) << "&h7F00010A";
        QTest::newRow("other types keep the value") << 3u << QByteArray("\x01\x02") << "kept";
    }
    void registryValues() {
        QFETCH(quint32, type);
        QFETCH(QByteArray, data);
        QFETCH(QString, value);
        auto host = std::make_shared<FakeHost>();
        host->values["Key|Name"] = {type, data};
        fakes::Dialogs dialogs;
        terminal::frmAbout about(dialogs, nullptr, host);
        QString read = QStringLiteral("kept");
        QVERIFY(about.GetKeyValue(terminal::SystemInfoHost::localMachine, "Key", "Name", read));
        QCOMPARE(read, value);
        QVERIFY(!about.GetKeyValue(terminal::SystemInfoHost::localMachine, "Key", "Other", read));
        QCOMPARE(read, QString());
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
