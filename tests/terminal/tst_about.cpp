// The about box: its texts, the credits gesture, and where it looks for the
// system-information tool.
#include "Panel.h"
#include "TestMain.h"
#include "app/Windows.h"
#include "terminal/SystemInfoHost.h"
#include "terminal/frmAbout.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

// A registry and launcher that answer from tables.
struct FakeHost : terminal::SystemInfoHost {
    QMap<QString, QPair<quint32, QByteArray>> values; // "key|value name"
    QStringList files;
    QString tool;
    bool startWorks = true;
    QStringList started;

    bool queryValue(quint32 root, const QString &key, const QString &name, quint32 &type,
                    QByteArray &data) override {
        const auto it = values.constFind(key + '|' + name);
        if (root != localMachine || it == values.constEnd())
            return false;
        type = it->first;
        data = it->second;
        return true;
    }
    bool fileExists(const QString &path) override { return files.contains(path); }
    bool start(const QString &program) override {
        started << program;
        return startWorks;
    }
    QString hostTool() override { return tool; }
};

} // namespace

class TestAbout : public QObject {
    Q_OBJECT

private slots:
    void opensModelessWithTitleAndVersion() {
        Panel panel;
        auto &about_ = panel.window.windows().about;
        panel.window.findChild<QAction *>("About")->trigger();
        terminal::frmAbout *about = about_.get();
        QVERIFY(about && about->isVisible() && !about->isModal());
        QCOMPARE(about->windowTitle(), QStringLiteral("About Velmar Controller"));
        QCOMPARE(about->findChild<QLabel *>("lblVersion")->text(), QStringLiteral("Version 4.0.1"));
        QCOMPARE(about->findChild<QLabel *>("lblTitle")->text(),
                 QStringLiteral("Velmar Controller"));
        // The program's own icon, on the box and on the windows.
        const QImage shown = about->findChild<QLabel *>("picIcon")->pixmap().toImage();
        const QImage file(":/velmar/icons/velmar-controller-32.png");
        QVERIFY(!file.isNull());
        QCOMPARE(shown.size(), file.size());
        QCOMPARE(shown.pixelColor(16, 20), file.pixelColor(16, 20));
        QVERIFY(!about->windowIcon().isNull());
        QCOMPARE(about->windowIcon().cacheKey(), panel.window.windowIcon().cacheKey());
        QTest::mouseClick(about->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
        QTRY_VERIFY(!about_.get());
    }

    void creditsGesture_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QPoint>("at"); // pixels; 100 twips are 6.67 px at 96 DPI
        QTest::addColumn<bool>("credits");
        QTest::newRow("right + Shift in the corner")
            << Qt::RightButton << int(Qt::ShiftModifier) << QPoint(2, 3) << true;
        QTest::newRow("right + Shift + Ctrl")
            << Qt::RightButton << int(Qt::ShiftModifier | Qt::ControlModifier) << QPoint(2, 3)
            << false;
        QTest::newRow("right, no Shift") << Qt::RightButton << 0 << QPoint(2, 3) << false;
        QTest::newRow("left + Shift")
            << Qt::LeftButton << int(Qt::ShiftModifier) << QPoint(2, 3) << false;
        QTest::newRow("beyond the corner")
            << Qt::RightButton << int(Qt::ShiftModifier) << QPoint(2, 20) << false;
    }
    void creditsGesture() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(int, modifiers);
        QFETCH(QPoint, at);
        QFETCH(bool, credits);
        fakes::Dialogs dialogs;
        terminal::frmAbout about(dialogs, nullptr, std::make_shared<FakeHost>());
        about.show();
        QTest::mousePress(about.findChild<QWidget *>("picIcon"), button,
                          Qt::KeyboardModifiers(modifiers), at);
        QCOMPARE(dialogs.shown.size(), credits ? 1 : 0);
    }

    void systemInformation_data() {
        QTest::addColumn<QString>("registry"); // P: PATH value, L: location value, X: exe there
        QTest::addColumn<QString>("tool");     // the host's own tool
        QTest::addColumn<bool>("startWorks");
        QTest::addColumn<QString>("started"); // empty: nothing
        QTest::newRow("PATH wins over the folder") << "PLX"
                                                   << "" << true << "C:\\T\\msinfo.exe";
        QTest::newRow("folder with the program") << "LX"
                                                 << "" << true << "C:\\S\\MSINFO32.EXE";
        QTest::newRow("folder without the program") << "L"
                                                    << "" << true << "";
        QTest::newRow("no registry, the host's tool")
            << ""
            << "/usr/bin/hardinfo" << true << "/usr/bin/hardinfo";
        QTest::newRow("no registry, no tool") << ""
                                              << "" << true << "";
        QTest::newRow("program that does not start") << "P"
                                                     << "" << false << "C:\\T\\msinfo.exe";
    }
    void systemInformation() {
        QFETCH(QString, registry);
        QFETCH(QString, tool);
        QFETCH(bool, startWorks);
        QFETCH(QString, started);
        auto host = std::make_shared<FakeHost>();
        if (registry.contains('P'))
            host->values["SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH"] = {
                1, QByteArray("C:\\T\\msinfo.exe\0", 16)};
        if (registry.contains('L'))
            host->values["SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO"] = {1, "C:\\S"};
        if (registry.contains('X'))
            host->files << QStringLiteral("C:\\S\\MSINFO32.EXE");
        host->tool = tool;
        host->startWorks = startWorks;
        fakes::Dialogs dialogs;
        terminal::frmAbout about(dialogs, nullptr, host);
        about.show();

        QTest::mouseClick(about.findChild<QPushButton *>("cmdSysInfo"), Qt::LeftButton);

        QCOMPARE(host->started, started.isEmpty() ? QStringList() : QStringList{started});
        const bool failed = started.isEmpty() || !startWorks;
        QCOMPARE(dialogs.shown.size(), failed ? 1 : 0);
        if (failed)
            QCOMPARE(dialogs.shown.first().text,
                     QStringLiteral("System Information Is Unavailable At This Time"));
        QVERIFY(about.isVisible());
    }

    void numberValuesReadLastByteFirst() {
        auto host = std::make_shared<FakeHost>();
        host->values["Key|Number"] = {4, QByteArray("\x0A\x01\x00\x7F", 4)};
        fakes::Dialogs dialogs;
        terminal::frmAbout about(dialogs, nullptr, host);
        QString value = QStringLiteral("kept");
        QVERIFY(about.GetKeyValue(terminal::SystemInfoHost::localMachine, "Key", "Number", value));
        QCOMPARE(value, QStringLiteral("&h7F00010A"));
        QVERIFY(!about.GetKeyValue(terminal::SystemInfoHost::localMachine, "Key", "None", value));
        QCOMPARE(value, QString());
    }
};

VELMAR_TEST_MAIN(TestAbout)
#include "tst_about.moc"
