// The remote site list: the file's lines, the chooser's picks against the
// serial port, deletion and addition through the two dialogs, and the status
// polls and sign-off around the chooser.
#include "Panel.h"
#include "TestMain.h"
#include "app/Windows.h"
#include "config/SiteList.h"
#include "config/frmChange.h"
#include "config/frmNew.h"
#include "link/SerialChannel.h"
#include "ui/Timer.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>

#include <sys/stat.h>

using config::frmChange;
using config::frmNew;
using config::SiteList;

namespace {

struct Rig {
    QTemporaryDir dir;
    Panel p;

    explicit Rig(const QByteArray &siteList = {}) {
        p.window.setStorageFolder(dir.path());
        if (!siteList.isNull())
            write(siteList);
    }
    QString path() const { return dir.filePath(QStringLiteral("RemoteIPVelmar.ini")); }
    void write(const QByteArray &bytes) const {
        QFile f(path());
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }
    QByteArray file() const {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
    frmChange *chooser() {
        p.find<QAction>("mnuChange")->trigger();
        return p.window.windows().sites.get();
    }
    static QStringList entries(const frmChange *c) {
        QStringList out;
        for (int row = 0; row < c->list()->count(); ++row)
            out << c->list()->item(row)->text();
        return out;
    }
    void pick(frmChange *c, int row) {
        QListWidget *list = c->list();
        const QRect rect = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }
    bool portOpen() { return p.find<QAction>("mnuOpen")->isChecked() && p.port.PortOpen(); }
    QString IPAD() { return p.find<QLineEdit>("IPAD")->text(); }
    QList<bool> polls() {
        return {p.find<ui::Timer>("Timer3")->isEnabled(), p.find<ui::Timer>("Timer5")->isEnabled()};
    }
};

} // namespace

class TestSiteList : public QObject {
    Q_OBJECT

private slots:
    void fileLines_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("CR LF") << QByteArray("10.0.0.1\r\n0.0.0.0\r\n")
                               << QStringList{"10.0.0.1", "0.0.0.0"};
        QTest::newRow("empty lines skipped")
            << QByteArray("\r\na\r\n\r\n\r\nb\r\n\r\n") << QStringList{"a", "b"};
        QTest::newRow("LF only, last line unended")
            << QByteArray("a\nb\n\nc") << QStringList{"a", "b", "c"};
        QTest::newRow("Latin-1 kept")
            << QByteArray("caf\xe9\r\n") << QStringList{QString::fromLatin1("caf\xe9")};
        QTest::newRow("empty file") << QByteArray("") << QStringList{};
    }
    void fileLines() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, entries);
        QCOMPARE(SiteList::entries(bytes), entries);
    }

    // The four fields joined by dots as typed, added to the list and to the
    // end of the file; the chooser is built and loaded when it is not open.
    void addEntry_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<bool>("chooserOpen");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("four numbers")
            << QByteArray("0.0.0.0\r\n") << true << QStringList{"192", "168", "1", "20"}
            << QByteArray("0.0.0.0\r\n192.168.1.20\r\n") << QStringList{"0.0.0.0", "192.168.1.20"};
        QTest::newRow("four empty fields") << QByteArray() << true << QStringList{"", "", "", ""}
                                           << QByteArray("...\r\n") << QStringList{"..."};
        QTest::newRow("duplicate, letters, over 255")
            << QByteArray("a.b.c.d\r\n") << true << QStringList{"a", "b", "c", "d"}
            << QByteArray("a.b.c.d\r\na.b.c.d\r\n") << QStringList{"a.b.c.d", "a.b.c.d"};
        QTest::newRow("typing past three characters")
            << QByteArray() << true << QStringList{"1921", "168", "0", "1"}
            << QByteArray("192.168.0.1\r\n") << QStringList{"192.168.0.1"};
        QTest::newRow("chooser closed: built with the file, entry once")
            << QByteArray("10.1.1.1\r\n") << false << QStringList{"999", "0", "0", "1"}
            << QByteArray("10.1.1.1\r\n999.0.0.1\r\n") << QStringList{"10.1.1.1", "999.0.0.1"};
        QTest::newRow("last line without its end")
            << QByteArray("10.1.1.1\r\n10.2.2.2") << true << QStringList{"1", "2", "3", "4"}
            << QByteArray("10.1.1.1\r\n10.2.2.2\r\n1.2.3.4\r\n")
            << QStringList{"10.1.1.1", "10.2.2.2", "1.2.3.4"};
    }
    void addEntry() {
        QFETCH(QByteArray, before);
        QFETCH(bool, chooserOpen);
        QFETCH(QStringList, fields);
        QFETCH(QByteArray, after);
        QFETCH(QStringList, listed);

        Rig rig(before);
        if (chooserOpen)
            rig.chooser()->findChild<QPushButton *>("New")->click();
        else
            rig.p.window.windows().siteEntry.open();
        QPointer<frmNew> entry = rig.p.window.findChild<frmNew *>("frmNew");
        QVERIFY(entry && entry->isVisible());
        for (int n = 1; n <= 4; ++n)
            QTest::keyClicks(entry->field(n), fields[n - 1]);
        entry->findChild<QPushButton *>("Command1")->click();

        QTRY_VERIFY(!entry);
        QCOMPARE(rig.file(), after);
        frmChange *chooser = rig.p.window.windows().sites.get();
        QVERIFY(chooser);
        QCOMPARE(chooser->isVisible(), chooserOpen);
        QCOMPARE(Rig::entries(chooser), listed);
    }

    // However long an entry, it is read whole. Adding one writes one line at
    // the end of the file, the file itself kept (nothing before it is written
    // again); a delete writes the entries as read, minus the deleted one.
    void longEntrySurvivesAnAddAndADelete() {
        const QByteArray site(3000, 's');
        Rig rig("0.0.0.0\r\n" + site + "\r\n10.0.0.1");
        struct stat before {};
        QCOMPARE(stat(QFile::encodeName(rig.path()).constData(), &before), 0);
        frmChange *chooser = rig.chooser();
        chooser->findChild<QPushButton *>("New")->click();
        frmNew *entry = rig.p.window.windows().siteEntry.get();
        for (int n = 1; n <= 4; ++n)
            QTest::keyClicks(entry->field(n), QString::number(n));
        entry->findChild<QPushButton *>("Command1")->click();
        QCOMPARE(rig.file(), "0.0.0.0\r\n" + site + "\r\n10.0.0.1\r\n1.2.3.4\r\n");
        struct stat after {};
        QCOMPARE(stat(QFile::encodeName(rig.path()).constData(), &after), 0);
        QCOMPARE(after.st_ino, before.st_ino);

        chooser->list()->setCurrentRow(2);
        QCOMPARE(chooser->list()->currentItem()->text(), "10.0.0.1");
        rig.p.dialogs.answers << ui::Dialogs::Answer::Yes;
        chooser->findChild<QPushButton *>("Cancel")->click();
        QCOMPARE(rig.file(), "0.0.0.0\r\n" + site + "\r\n1.2.3.4\r\n");
        QCOMPARE(Rig::entries(chooser), (QStringList{"0.0.0.0", site, "1.2.3.4"}));
    }

    // An addition leaves a list that is there but cannot be read as it is.
    void unreadableFileIsNotReplaced() {
        Rig rig("10.0.0.1\r\n10.0.0.2\r\n");
        QFile::setPermissions(rig.path(), QFile::WriteOwner);
        if (QFile f(rig.path()); f.open(QIODevice::ReadOnly))
            QSKIP("file permissions do not apply to this user");
        frmNew &entry = rig.p.window.windows().siteEntry.open();
        QTest::keyClicks(entry.field(1), "1");
        entry.findChild<QPushButton *>("Command1")->click();
        QFile::setPermissions(rig.path(), QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(rig.file(), "10.0.0.1\r\n10.0.0.2\r\n");
    }

    // Nor does a delete replace a list that is there but cannot be read
    // (the chooser shows it empty).
    void unreadableListIsNotReplacedByADelete() {
        Rig rig;
        QCOMPARE(mkfifo(QFile::encodeName(rig.path()).constData(), 0600), 0);
        frmChange *chooser = rig.chooser();
        QCOMPARE(chooser->list()->count(), 0);
        chooser->findChild<QPushButton *>("Cancel")->click();
        QVERIFY(QFileInfo(rig.path()).exists() && !QFileInfo(rig.path()).isFile());
    }

    // The delete button asks first, naming the site; only Yes deletes.
    void deleteEntry_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("selected"); // -1: nothing selected
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("the selected one")
            << QByteArray("a\r\nb\r\n\r\nc\r\n") << 1 << true << QByteArray("a\r\nc\r\n");
        QTest::newRow("the selected one, No")
            << QByteArray("a\r\nb\r\n\r\nc\r\n") << 1 << false << QByteArray("a\r\nb\r\n\r\nc\r\n");
        QTest::newRow("none selected drops the empty lines")
            << QByteArray("\r\na\r\n\r\nb\nc\r\n\r\n") << -1 << false
            << QByteArray("a\r\nb\r\nc\r\n");
        QTest::newRow("the only entry")
            << QByteArray("10.0.0.9\r\n") << 0 << true << QByteArray("");
    }
    void deleteEntry() {
        QFETCH(QByteArray, before);
        QFETCH(int, selected);
        QFETCH(bool, yes);
        QFETCH(QByteArray, after);

        Rig rig(before);
        rig.p.find<QLineEdit>("IPAD")->setText("b");
        frmChange *chooser = rig.chooser();
        QCOMPARE(chooser->findChild<QPushButton *>("Cancel")->text(), "&Delete");
        if (selected >= 0)
            chooser->list()->setCurrentRow(selected);
        rig.p.dialogs.answers << (yes ? ui::Dialogs::Answer::Yes : ui::Dialogs::Answer::No);
        chooser->findChild<QPushButton *>("Cancel")->click();
        if (selected >= 0)
            QCOMPARE(rig.p.dialogs.shown.last().text,
                     QStringLiteral("Delete %1 from the list?")
                         .arg(SiteList::entries(before).value(selected)));
        QCOMPARE(rig.file(), after);
        QCOMPARE(Rig::entries(chooser), SiteList::entries(after));
        QVERIFY(chooser->isVisible());
        QCOMPARE(rig.IPAD(), "b"); // a deleted current site stays current
    }

    // What a pick does to IPAD and the serial port.
    void pick_data() {
        QTest::addColumn<QString>("ipad");
        QTest::addColumn<bool>("portOpen");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("portOpenAfter");
        // Site list: 0.0.0.0, 10.0.0.1, 10.0.0.2
        QTest::newRow("serial opens a closed port") << "10.0.0.1" << false << 0 << true;
        QTest::newRow("serial again keeps the port open") << "0.0.0.0" << true << 0 << true;
        QTest::newRow("network closes an open port") << "0.0.0.0" << true << 1 << false;
        QTest::newRow("network while closed: only IPAD") << "10.0.0.1" << false << 2 << false;
    }
    void pick() {
        QFETCH(QString, ipad);
        QFETCH(bool, portOpen);
        QFETCH(int, row);
        QFETCH(bool, portOpenAfter);

        Rig rig("0.0.0.0\r\n10.0.0.1\r\n10.0.0.2\r\n");
        rig.p.find<QLineEdit>("IPAD")->setText(ipad);
        if (portOpen)
            rig.p.window.mnuOpen_Click();
        QCOMPARE(rig.portOpen(), portOpen);
        frmChange *chooser = rig.chooser();
        rig.pick(chooser, row);
        QCOMPARE(rig.IPAD(), chooser->list()->item(row)->text());
        QCOMPARE(rig.portOpen(), portOpenAfter);
        QVERIFY(chooser->isVisible());
        QCOMPARE(rig.file(), "0.0.0.0\r\n10.0.0.1\r\n10.0.0.2\r\n");
    }

    // The load stops both polls and signs off from the site the socket
    // addresses (never from 0.0.0.0); Ok starts the polls again, the frame
    // does not.
    void pollsAndSignOff_data() {
        QTest::addColumn<QString>("addressed");
        QTest::addColumn<bool>("byOk");
        QTest::addColumn<QList<QByteArray>>("signOff");
        QTest::addColumn<QList<bool>>("pollsAfter");
        QTest::newRow("serial, Ok")
            << "0.0.0.0" << true << QList<QByteArray>{} << QList<bool>{true, true};
        QTest::newRow("site, frame")
            << "10.0.0.7" << false << QList<QByteArray>{"0"} << QList<bool>{false, false};
    }
    void pollsAndSignOff() {
        QFETCH(QString, addressed);
        QFETCH(bool, byOk);
        QFETCH(QList<QByteArray>, signOff);
        QFETCH(QList<bool>, pollsAfter);

        Rig rig;
        rig.p.socket.setRemoteHost(addressed);
        QCOMPARE(rig.polls(), (QList<bool>{true, true}));
        QPointer<frmChange> chooser = rig.chooser();
        QCOMPARE(rig.polls(), (QList<bool>{false, false}));
        for (const auto &sent : std::as_const(rig.p.socket.sent))
            QCOMPARE(sent.host, addressed);
        QCOMPARE(rig.p.takeDatagrams(), signOff);
        if (byOk)
            chooser->findChild<QPushButton *>("Ok")->click();
        else
            chooser->close();
        QTRY_VERIFY(!chooser);
        QCOMPARE(rig.polls(), pollsAfter);
        QVERIFY(rig.p.takeWritten().isEmpty());
    }

    // Opening an open chooser brings it forward without loading it again;
    // a closed one is built and loaded anew, and sees the file as it is now.
    void reopening() {
        Rig rig("a\r\n");
        rig.p.socket.setRemoteHost("10.0.0.7");
        QPointer<frmChange> first = rig.chooser();
        QCOMPARE(rig.chooser(), first.data());
        QCOMPARE(rig.p.takeDatagrams().size(), 1);
        rig.write("a\r\nb\r\n");
        first->close();
        QTRY_VERIFY(!first);
        frmChange *second = rig.chooser();
        QCOMPARE(Rig::entries(second), (QStringList{"a", "b"}));
        QCOMPARE(rig.p.takeDatagrams().size(), 1);
    }

    void dialogsCloseWhenTheProgramEnds() {
        Rig rig;
        QPointer<frmChange> chooser = rig.chooser();
        chooser->findChild<QPushButton *>("New")->click();
        QPointer<frmNew> entry = rig.p.window.findChild<frmNew *>("frmNew");
        rig.p.find<QAction>("ControllerProgram")->trigger();
        QPointer<QWidget> titles = rig.p.window.findChild<QWidget *>("frmControllerProgram");
        QVERIFY(entry && titles);
        rig.p.window.mnuFileExit_Click();
        QTRY_VERIFY(!chooser && !entry && !titles);
        QCOMPARE(rig.file(), "<none>");
    }
};

VELMAR_TEST_MAIN(TestSiteList)
#include "tst_sitelist.moc"
