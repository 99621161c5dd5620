// The user's settings store: a plain INI file a user can read and edit.
#include "TestMain.h"
#include "ui/SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void createdWhenMissingAndKeptAcrossRuns() {
        QTemporaryDir dir;
        const QString path = dir.filePath("velmar-controller/settings.ini");
        {
            ui::IniSettingsStore store(path);
            QVERIFY(QFile::exists(path));
            QCOMPARE(store.value("Properties", "Settings"), QString());
            store.setValue("Properties", "Settings", "4800,o,7,1");
            store.setValue("Properties", "Echo", "True");
        }
        ui::IniSettingsStore again(path);
        QCOMPARE(again.value("Properties", "Settings"), QStringLiteral("4800,o,7,1"));
        QCOMPARE(again.value("Properties", "Echo"), QStringLiteral("True"));
    }

    // Written by hand, an unquoted value with commas is still one setting.
    void handWrittenValues() {
        QTemporaryDir dir;
        const QString path = dir.filePath("settings.ini");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(
            "[Properties]\nSettings=19200,n,8,2\n[Ports]\nCom3=/dev/serial/by-id/usb-X_1-if00\n");
        f.close();
        ui::IniSettingsStore store(path);
        QCOMPARE(store.value("Properties", "Settings"), QStringLiteral("19200,n,8,2"));
        QCOMPARE(store.value("Ports", "Com3"), QStringLiteral("/dev/serial/by-id/usb-X_1-if00"));
        QCOMPARE(store.value("Ports", "Com1"), QString());
    }
};

VELMAR_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
