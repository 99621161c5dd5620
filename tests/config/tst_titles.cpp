// The camera title dialog on the panel: what reaches velmarcontroller.ini,
// the title labels and the camera types, and what a cancel or a failed write
// leaves behind.
#include "Panel.h"
#include "TestMain.h"
#include "app/Windows.h"
#include "config/CameraModel.h"
#include "config/StoredFile.h"
#include "config/frmControllerProgram.h"
#include "panel/SelectionPad.h"
#include "ui/Timer.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>

using config::frmControllerProgram;
using Edits = QMap<int, QString>; // camera -> text typed into its box

namespace {

struct Rig {
    QTemporaryDir dir;
    Panel p;

    explicit Rig(const QString &typeOfEvery = QStringLiteral("F")) {
        p.window.setStorageFolder(dir.path());
        for (int k = 1; k <= 16; ++k)
            p.window.cameras().setType(k, typeOfEvery);
        p.window.cameras().setLanguageFile(QStringLiteral("C:\\lang\\English.lng"));
    }
    // Puts the main window's frame at a position in pixels (15 twips each at
    // the test platform's 96 DPI), whatever frame margins the platform adds.
    void placeAt(QPoint pixels) {
        p.window.show();
        p.window.move(pixels);
        p.window.move(pixels + (pixels - p.window.pos()));
    }
    QString path() const { return dir.filePath(QStringLiteral("velmarcontroller.ini")); }
    QByteArray file() const {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
    frmControllerProgram *open() {
        p.find<QAction>("ControllerProgram")->trigger();
        return p.window.findChild<frmControllerProgram *>("frmControllerProgram");
    }
    QStringList labels() {
        QStringList out;
        for (const QLabel *label : p.window.selection().titles())
            out << label->text();
        return out;
    }
};

// Types text as a keyboard would, whatever its characters.
void type(QWidget *w, const QString &text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}

QByteArray crlf(const QStringList &lines) {
    QByteArray out;
    for (const QString &line : lines)
        out += line.toLatin1() + "\r\n";
    return out;
}

} // namespace

class TestTitles : public QObject {
    Q_OBJECT

private slots:
    // Only what the file's one byte a character can hold is taken: a title
    // or type typed with other characters does not lose them to "?".
    void charactersTheFileCannotHoldAreRefused() {
        Rig rig;
        frmControllerProgram *dialog = rig.open();
        dialog->text(1)->clear();
        type(dialog->text(1), QString::fromUtf8("Gate \u20AC1 caf\u00E9"));
        QCOMPARE(dialog->text(1)->text(), QString::fromUtf8("Gate 1 caf\u00E9"));
        dialog->combo(1)->clearEditText();
        type(dialog->combo(1)->lineEdit(), QString::fromUtf8("P\u0160T"));
        QCOMPARE(dialog->combo(1)->currentText(), QStringLiteral("PT"));
    }

    void saveWritesTheFileAndThePanel_data() {
        QTest::addColumn<QPoint>("pixels"); // the main window's position
        QTest::addColumn<Edits>("titles");
        QTest::addColumn<Edits>("types");
        QTest::addColumn<int>("pickedType");   // list index chosen for camera 2, or -1
        QTest::addColumn<QStringList>("head"); // lines 1 and 2
        QTest::addColumn<Edits>("expectedTitles");
        QTest::addColumn<Edits>("expectedTypes");

        QTest::newRow("untouched fresh types stay F")
            << QPoint(82, 100) << Edits{} << Edits{} << -1 << QStringList{" 1230 ", " 1500 "}
            << Edits{} << Edits{};
        QTest::newRow("P&T picked from the list")
            << QPoint(0, 0) << Edits{} << Edits{} << 1 << QStringList{" 0 ", " 0 "} << Edits{}
            << Edits{{2, "P&T"}};
        QTest::newRow("negative left")
            << QPoint(-10, 20) << Edits{{16, "Dock"}} << Edits{{16, "Dome"}} << -1
            << QStringList{"-150 ", " 300 "} << Edits{{16, "Dock"}} << Edits{{16, "Dome"}};
        QTest::newRow("typed type, Latin-1 title")
            << QPoint(10, 20) << Edits{{3, QString::fromLatin1("Entr\xe9\x65 & Gate")}}
            << Edits{{3, "speed dome 2"}} << -1 << QStringList{" 150 ", " 300 "}
            << Edits{{3, QString::fromLatin1("Entr\xe9\x65 & Gate")}} << Edits{{3, "speed dome 2"}};
        QTest::newRow("empty title is an empty line")
            << QPoint(10, 20) << Edits{{1, ""}, {9, ""}} << Edits{} << -1
            << QStringList{" 150 ", " 300 "} << Edits{{1, ""}, {9, ""}} << Edits{};
        QTest::newRow("a pasted line break stays on one line")
            << QPoint(10, 20) << Edits{{5, "Yard\r\nWest"}} << Edits{{5, "FIX\n"}} << -1
            << QStringList{" 150 ", " 300 "} << Edits{{5, "Yard  West"}} << Edits{{5, "FIX "}};
    }
    void saveWritesTheFileAndThePanel() {
        QFETCH(QPoint, pixels);
        QFETCH(Edits, titles);
        QFETCH(Edits, types);
        QFETCH(int, pickedType);
        QFETCH(QStringList, head);
        QFETCH(Edits, expectedTitles);
        QFETCH(Edits, expectedTypes);

        Rig rig;
        rig.placeAt(pixels);
        QCOMPARE(rig.p.window.positionInTwips(), pixels * 15);
        QPointer<frmControllerProgram> dialog = rig.open();
        QVERIFY(dialog && dialog->isVisible());
        for (auto it = titles.cbegin(); it != titles.cend(); ++it)
            dialog->text(it.key())->setText(it.value());
        for (auto it = types.cbegin(); it != types.cend(); ++it)
            dialog->combo(it.key())->setEditText(it.value());
        if (pickedType >= 0)
            dialog->combo(2)->setCurrentIndex(pickedType);
        dialog->findChild<QAction *>("Save")->trigger();

        QStringList lines = head;
        QStringList shownTitles;
        for (int k = 1; k <= 16; ++k) {
            const QString title = expectedTitles.value(k, QStringLiteral("CAMERA %1").arg(k));
            const QString type = expectedTypes.value(k, QStringLiteral("F"));
            lines << title << type;
            shownTitles << title;
            QCOMPARE(rig.p.window.cameras().type(k), type);
        }
        lines << "C:\\lang\\English.lng";
        QCOMPARE(rig.file(), crlf(lines));
        QCOMPARE(rig.labels(), shownTitles);
        QTRY_VERIFY(!dialog);
    }

    void annullaChangesNothing() {
        Rig rig(QStringLiteral("Dome"));
        const QByteArray before = "earlier contents\r\n";
        {
            QFile f(rig.path());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(before);
        }
        const QStringList labels = rig.labels();
        QPointer<frmControllerProgram> dialog = rig.open();
        dialog->text(1)->setText("Changed");
        dialog->combo(1)->setEditText("FIX");
        dialog->findChild<QAction *>("Annulla")->trigger();
        QTRY_VERIFY(!dialog);
        QCOMPARE(rig.file(), before);
        QCOMPARE(rig.labels(), labels);
        QCOMPARE(rig.p.window.cameras().type(1), "Dome");
    }

    // Each opening loads the panel's current titles and types afresh; the
    // second save replaces the first.
    void twoSavesAndReopening() {
        Rig rig;
        rig.p.window.move(0, 0);
        QPointer<frmControllerProgram> first = rig.open();
        first->text(4)->setText("Lobby");
        first->combo(4)->setEditText("Dome");
        first->text(7)->setText("unsaved edit");
        first->findChild<QAction *>("Save")->trigger();
        QTRY_VERIFY(!first);

        QPointer<frmControllerProgram> second = rig.open();
        QVERIFY(second);
        QCOMPARE(second->text(4)->text(), "Lobby");
        QCOMPARE(second->combo(4)->currentText(), "Dome");
        QCOMPARE(second->text(10)->text(), "CAMERA 10");
        QCOMPARE(second->combo(10)->currentText(), "F");
        second->text(4)->setText("Hall");
        second->findChild<QAction *>("Save")->trigger();
        QTRY_VERIFY(!second);
        const QList<QByteArray> lines = rig.file().split('\n');
        QCOMPARE(lines.size(), 36); // 35 lines, each ended
        QCOMPARE(lines[8], "Hall\r");
        QCOMPARE(lines[9], "Dome\r");
        QCOMPARE(lines[14], "unsaved edit\r"); // saved with the first
    }

    // After a start-up that stopped at a refused port setting the panel never
    // took the stored titles; a save must not replace them with its blanks.
    void saveAfterAnEarlyEndedStartKeepsWhatIsStored() {
        Rig rig{QString()};
        rig.p.window.cameras().setLanguageFile({});
        QStringList stored{"1500", "900"};
        for (int k = 1; k <= 16; ++k)
            stored << QStringLiteral("Gate %1").arg(k) << QStringLiteral("Dome");
        stored << "/opt/lang/Italiano.lng";
        {
            QFile f(rig.path());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(crlf(stored));
        }
        rig.p.settings.setValue("Properties", "Settings", "not a setting");
        rig.p.window.Form_Load();
        QVERIFY(rig.p.window.startupEndedEarly());
        rig.placeAt({10, 20});

        QPointer<frmControllerProgram> dialog = rig.open();
        QCOMPARE(dialog->text(16)->text(), "Gate 16");
        QCOMPARE(dialog->combo(16)->currentText(), "Dome");
        dialog->text(2)->setText("Dock");
        dialog->findChild<QAction *>("Save")->trigger();
        QTRY_VERIFY(!dialog);

        stored[0] = " 150 ";
        stored[1] = " 300 ";
        stored[4] = "Dock";
        QCOMPARE(rig.file(), crlf(stored));
        QCOMPARE(rig.labels()[0], "Gate 1");
        QCOMPARE(rig.p.window.cameras().type(5), "Dome");
    }

    // A configuration file past the readers' bounds is not used and stays
    // byte for byte, whichever way the start-up ended: neither the rewrites
    // nor a save replace it, and the status bar says why, once.
    void fileThePanelCannotReadIsNeverReplaced_data() {
        QTest::addColumn<bool>("endedEarly");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QStringList lines{"1500", "900"};
        for (int k = 1; k <= 16; ++k)
            lines << QStringLiteral("Gate %1").arg(k) << QStringLiteral("Dome");
        lines << "/opt/lang/Italiano.lng";
        lines[2] = QString(config::StoredFile::lineBound + 1, QLatin1Char('x'));
        const QByteArray longLine = crlf(lines);
        for (int k = 2; k <= 18; ++k)
            lines[k] = QString(config::StoredFile::lineBound, QLatin1Char('y'));
        const QByteArray longFile = crlf(lines);
        for (const bool early : {false, true}) {
            const char *start = early ? "start-up ended early, " : "start-up read it, ";
            QTest::addRow("%sa line past the bound", start) << early << longLine << "1 MiB";
            QTest::addRow("%sa file past the bound", start) << early << longFile << "16 MiB";
        }
    }
    void fileThePanelCannotReadIsNeverReplaced() {
        QFETCH(bool, endedEarly);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        Rig rig;
        {
            QFile f(rig.path());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        if (endedEarly)
            rig.p.settings.setValue("Properties", "Settings", "not a setting");
        QSignalSpy notes(rig.p.window.statusBar(), &QStatusBar::messageChanged);
        rig.p.window.Form_Load();
        QCOMPARE(rig.p.window.startupEndedEarly(), endedEarly);
        for (int tick = 0; tick < 2; ++tick)
            emit rig.p.find<ui::Timer>("TimerMove")->tick();
        QPointer<frmControllerProgram> dialog = rig.open();
        dialog->text(2)->setText("Dock");
        dialog->findChild<QAction *>("Save")->trigger();
        QTRY_VERIFY(!dialog);
        QCOMPARE(rig.labels()[1], "Dock");
        QVERIFY(rig.file() == bytes);

        QCOMPARE(notes.size(), 1);
        const QString note = notes.first().first().toString();
        QVERIFY2(note.contains("velmarcontroller.ini") && note.contains(reason), qPrintable(note));
    }

    void unwritableFileStillUpdatesThePanel() {
        Rig rig;
        // The storage folder is a plain file: nothing can be written under it.
        const QString notAFolder = rig.dir.filePath("ini");
        QFile(notAFolder).open(QIODevice::WriteOnly);
        rig.p.window.setStorageFolder(notAFolder);
        QPointer<frmControllerProgram> dialog = rig.open();
        dialog->text(12)->setText("Roof");
        dialog->combo(12)->setCurrentIndex(0);
        dialog->findChild<QAction *>("Save")->trigger();
        QTRY_VERIFY(!dialog);
        QCOMPARE(rig.labels()[11], "Roof");
        QCOMPARE(rig.p.window.cameras().type(12), "Dome");
        QVERIFY(QFileInfo(notAFolder).isFile());
        QCOMPARE(QFileInfo(notAFolder).size(), 0);
    }
};

VELMAR_TEST_MAIN(TestTitles)
#include "tst_titles.moc"
