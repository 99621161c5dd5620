// The configuration file and the language files: what is written, what is
// read back, and what a start-up makes of them.
#include "Panel.h"
#include "config/Captions.h"
#include "config/ConfigFile.h"
#include "config/LanguageFile.h"
#include "config/frmSceltaLingua.h"
#include "ui/Timer.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

using config::ConfigFile;

namespace {
QByteArray crlf(const QStringList &lines) {
    QByteArray out;
    for (const QString &l : lines)
        out += l.toLatin1() + "\r\n";
    return out;
}

QStringList fileLines(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    QStringList out = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
    if (out.last().isEmpty())
        out.removeLast();
    return out;
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A stored configuration: position, titles "Cam k", types, language.
QStringList storedLines(const QString &language) {
    QStringList l{QStringLiteral("1500"), QStringLiteral("900")};
    for (int k = 1; k <= 16; ++k)
        l << QStringLiteral("Cam %1").arg(k)
          << (k % 2 ? QStringLiteral("Dome") : QStringLiteral("P&T"));
    l << language;
    return l;
}

// A language file with 32 captions L1 .. L32.
QByteArray numberedLanguage(int lines = 32, const char *end = "\r\n") {
    QByteArray out;
    for (int i = 1; i <= lines; ++i)
        out += "L" + QByteArray::number(i) + end;
    return out;
}

// Stand-ins for the three dialogs that language files relabel.
struct DialogStandIns {
    QWidget properties, titles, sites;
    DialogStandIns() {
        properties.setObjectName("frmProperties");
        for (const char *n : {"Frame1", "fraConnection", "Frame5"})
            (new QGroupBox(&properties))->setObjectName(n);
        (new QLabel(&properties))->setObjectName("Label1");
        (new QPushButton(&properties))->setObjectName("cmdCancel");
        titles.setObjectName("frmControllerProgram");
        (new QAction(&titles))->setObjectName("Save");
        (new QAction(&titles))->setObjectName("Annulla");
        sites.setObjectName("frmChange");
        (new QPushButton(&sites))->setObjectName("Cancel");
        (new QPushButton(&sites))->setObjectName("New");
        for (const auto &slot : config::LanguageFile::table) {
            for (QWidget *w : {&properties, &titles, &sites}) {
                if (w->objectName() == QLatin1String(slot.window))
                    config::setCaption(w->findChild<QObject *>(QLatin1String(slot.control)),
                                       QLatin1String(slot.builtIn));
            }
        }
    }
};

QString captionOf(QObject *o) {
    if (auto *a = qobject_cast<QAction *>(o))
        return a->text();
    if (auto *g = qobject_cast<QGroupBox *>(o))
        return g->title();
    return o ? o->property("text").toString() : QStringLiteral("<missing>");
}

// The caption of line n's control after a file was applied.
QString captionOfLine(Panel &p, DialogStandIns &d, int line) {
    const auto &slot = config::LanguageFile::table[line - 1];
    const QString name = QLatin1String(slot.control);
    const QString window = QLatin1String(slot.window);
    if (window == "frmTerminal") {
        if (QObject *o = p.window.centralWidget()->findChild<QObject *>(name))
            return captionOf(o);
        return captionOf(p.window.menuBar()->findChild<QAction *>(name));
    }
    QWidget &w = window == "frmProperties" ? d.properties
                 : window == "frmChange"   ? d.sites
                                           : d.titles;
    p.window.applyLanguage(&w);
    return captionOf(w.findChild<QObject *>(name));
}
} // namespace

class TestConfiguration : public QObject {
    Q_OBJECT
private slots:
    void writtenBytes() {
        ConfigFile f = ConfigFile::defaults();
        f.left = ConfigFile::positionText(-150);
        f.top = ConfigFile::positionText(2400);
        f.titles[0] = QStringLiteral("Gate & Yard");
        f.titles[15] = QString::fromLatin1("Entr\xE9"
                                           "e");
        f.types[1] = QStringLiteral("P&T");
        f.languageFile = QStringLiteral("/opt/lang/Italiano.lng");
        const QByteArray bytes = f.bytes();
        QCOMPARE(bytes.count("\r\n"), 35);
        QVERIFY(!bytes.contains("\n\n"));
        QVERIFY(bytes.startsWith("-150\r\n2400\r\nGate & Yard\r\nF\r\nCAMERA 2\r\nP&T\r\n"));
        QVERIFY(bytes.endsWith("Entr\xE9"
                               "e\r\nF\r\n/opt/lang/Italiano.lng\r\n"));
        const auto back = ConfigFile::read(bytes);
        QVERIFY(!back.fresh);
        QCOMPARE(back.file.titles, f.titles);
        QCOMPARE(back.file.types, f.types);
        QCOMPARE(back.file.languageFile, f.languageFile);
        QCOMPARE(ConfigFile::parsePosition(back.left), std::optional<int>(-150));
    }

    void valuesWithLineBreaksStayOneLineEach() {
        ConfigFile f = ConfigFile::defaults();
        f.titles[0] = QStringLiteral("Gate\r\nYard");
        f.types[0] = QStringLiteral("P\rT");
        f.languageFile = QStringLiteral("/home/op/lang/new\nfile.lng");
        const QByteArray bytes = f.bytes();
        QCOMPARE(bytes.count("\r\n"), 35);
        QCOMPARE(ConfigFile::lines(bytes).size(), 35);
        const auto back = ConfigFile::read(bytes);
        QCOMPARE(back.file.titles[0], QStringLiteral("Gate  Yard"));
        QCOMPARE(back.file.types[0], QStringLiteral("P T"));
        QCOMPARE(back.file.titles.mid(1), f.titles.mid(1));
        QCOMPARE(back.file.languageFile, QStringLiteral("/home/op/lang/new file.lng"));
    }

    void positionTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("twips"); // INT_MIN: not a number
        QTest::newRow("plain") << ConfigFile::positionText(4320) << 4320;
        QTest::newRow("negative") << ConfigFile::positionText(-75) << -75;
        QTest::newRow("padded by the title dialog") << ConfigFile::paddedPositionText(4320) << 4320;
        QTest::newRow("padded negative") << ConfigFile::paddedPositionText(-75) << -75;
        QTest::newRow("empty") << QString() << INT_MIN;
        QTest::newRow("words") << QStringLiteral("left") << INT_MIN;
    }
    void positionTexts() {
        QFETCH(QString, text);
        QFETCH(int, twips);
        QCOMPARE(ConfigFile::parsePosition(text).value_or(INT_MIN), twips);
        QCOMPARE(ConfigFile::paddedPositionText(12), QStringLiteral(" 12 "));
        QCOMPARE(ConfigFile::paddedPositionText(-12), QStringLiteral("-12 "));
    }

    void readingShortAndFreshFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("fresh");
        QTest::addColumn<int>("camerasFromFile");
        QTest::newRow("missing") << QByteArray() << true << 0;
        QTest::newRow("two lines") << crlf({"10", "20"}) << true << 0;
        QTest::newRow("empty line 3")
            << crlf(storedLines("x.lng").mid(0, 2) + QStringList{""} + storedLines("x.lng").mid(3))
            << true << 0;
        QTest::newRow("ten lines") << crlf(storedLines("x.lng").mid(0, 10)) << false << 4;
        QTest::newRow("whole") << crlf(storedLines("x.lng")) << false << 16;
        QTest::newRow("LF only") << storedLines("x.lng").join('\n').toLatin1() << false << 16;
    }
    void readingShortAndFreshFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, fresh);
        QFETCH(int, camerasFromFile);
        const auto r = ConfigFile::read(bytes);
        QCOMPARE(r.fresh, fresh);
        for (int k = 1; k <= 16; ++k) {
            const bool fromFile = k <= camerasFromFile;
            QCOMPARE(r.file.titles[k - 1], fromFile ? QStringLiteral("Cam %1").arg(k)
                                                    : QStringLiteral("CAMERA %1").arg(k));
            QCOMPARE(r.file.types[k - 1], fromFile ? (k % 2 ? "Dome" : "P&T") : "F");
        }
        QCOMPARE(r.file.languageFile, camerasFromFile == 16 ? "x.lng" : "");
    }

    void languageFileLines_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("CR only") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("lone LF stays in the text")
            << QByteArray("a\nb\r\nc") << QStringList{"a\nb", "c"};
        QTest::newRow("empty lines") << QByteArray("\r\n\r\nx\r\n") << QStringList{"", "", "x"};
        QTest::newRow("Latin-1") << QByteArray("Gi\xF9\r\n")
                                 << QStringList{QString::fromLatin1("Gi\xF9")};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
    }
    void languageFileLines() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, captions);
        QCOMPARE(config::LanguageFile::captions(bytes), captions);
    }

    void applyingLanguageFiles_data() {
        QTest::addColumn<QByteArray>("bytes"); // empty: no such file
        QTest::addColumn<int>("relabelled");
        QTest::newRow("exactly 32 lines") << numberedLanguage(32) << 32;
        QTest::newRow("more lines") << numberedLanguage(40) << 32;
        QTest::newRow("fewer lines") << numberedLanguage(20) << 20;
        QTest::newRow("CR line ends") << numberedLanguage(32, "\r") << 32;
        QTest::newRow("missing file") << QByteArray() << 0;
    }
    void applyingLanguageFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, relabelled);
        Panel p;
        DialogStandIns d;
        const QString path = p.storagePath("test.lng");
        if (!bytes.isEmpty())
            writeFile(path, bytes);
        // Built-in captions first, so that "unchanged" can be told apart.
        for (int line = 1; line <= 32; ++line)
            QCOMPARE(captionOfLine(p, d, line),
                     QLatin1String(config::LanguageFile::table[line - 1].builtIn));
        p.window.LanguageFile = path;
        p.window.CaricaLingua(path);
        for (int line = 1; line <= 32; ++line) {
            const QString expected =
                line <= relabelled ? QStringLiteral("L%1").arg(line)
                                   : QLatin1String(config::LanguageFile::table[line - 1].builtIn);
            QCOMPARE(captionOfLine(p, d, line), expected);
        }
        // Everything else keeps its caption.
        QCOMPARE(p.find<QAbstractButton>("zp")->text(), QStringLiteral("zoom +"));
        QCOMPARE(p.find<QAbstractButton>("Tour")->text(), QStringLiteral("Tour"));
        QCOMPARE(p.find<QAbstractButton>("C1")->text(), QStringLiteral("1"));
    }

    void shippedLanguageFilesHave32Lines() {
        for (const char *name : {"English.lng", "Italiano.lng"}) {
            QFile f(QStringLiteral(VELMAR_LANG_DIR "/") + QLatin1String(name));
            QVERIFY2(f.open(QIODevice::ReadOnly), name);
            const QByteArray bytes = f.readAll();
            QCOMPARE(bytes.count("\r\n"), 32);
            QCOMPARE(config::LanguageFile::captions(bytes).size(), 32);
        }
        QFile english(QStringLiteral(VELMAR_LANG_DIR "/English.lng"));
        QVERIFY(english.open(QIODevice::ReadOnly));
        const QStringList lines = config::LanguageFile::captions(english.readAll());
        for (int i = 0; i < 32; ++i)
            QCOMPARE(lines[i], QLatin1String(config::LanguageFile::table[i].builtIn));
    }

    void freshStartShowsTheChooserThenWritesDefaults() {
        Panel p;
        QTemporaryDir langs;
        writeFile(langs.filePath("Test.lng"), numberedLanguage());
        const QString before = QDir::currentPath();
        QDir::setCurrent(langs.path());
        p.window.Form_Load();
        QDir::setCurrent(before);
        auto *chooser = p.window.findChild<frmSceltaLingua *>();
        QVERIFY(chooser && chooser->isVisible());
        QCOMPARE(chooser->windowTitle(), QStringLiteral("Velmar-Controller"));
        QVERIFY(p.window.waitingForLanguage());
        QVERIFY(!p.window.isVisible());
        QVERIFY(p.port.PortOpen()); // the port is opened all the same
        // No language was loaded, so the start-up polls stay armed.
        QVERIFY(p.find<ui::Timer>("Timer3")->isEnabled());

        emit p.find<ui::Timer>("TimerMove")->tick();
        QStringList lines = fileLines(p.storagePath("velmarcontroller.ini"));
        QCOMPARE(lines.size(), 35);
        for (int k = 1; k <= 16; ++k) {
            QCOMPARE(lines[2 * k], QStringLiteral("CAMERA %1").arg(k));
            QCOMPARE(lines[2 * k + 1], QStringLiteral("F"));
        }
        QCOMPARE(lines[34], QString());

        auto *files = chooser->findChild<QListWidget *>("File1");
        QCOMPARE(files->count(), 1);
        files->setCurrentRow(0);
        chooser->File1_Click();
        QVERIFY(p.window.isVisible());
        QCOMPARE(p.find<QAbstractButton>("up")->text(), QStringLiteral("L1"));
        const QString expectedPath = QDir::toNativeSeparators(langs.filePath("Test.lng"));
        QCOMPARE(p.window.LanguageFile, expectedPath);
        emit p.find<ui::Timer>("TimerMove")->tick();
        lines = fileLines(p.storagePath("velmarcontroller.ini"));
        QCOMPARE(lines[34], expectedPath);
        QTRY_VERIFY(!p.window.findChild<frmSceltaLingua *>());
    }

    void closingTheChooserWithoutAChoiceShowsThePanel() {
        Panel p;
        p.window.Form_Load();
        QVERIFY(!p.window.isVisible());
        p.window.findChild<frmSceltaLingua *>()->close();
        QVERIFY(p.window.isVisible());
        QCOMPARE(p.find<QAbstractButton>("up")->text(), QStringLiteral("Up"));
    }

    void startupAppliesTheStoredConfiguration() {
        Panel p;
        writeFile(p.storagePath("L.lng"), numberedLanguage());
        writeFile(p.storagePath("velmarcontroller.ini"), crlf(storedLines(p.storagePath("L.lng"))));
        p.window.Form_Load();
        QVERIFY(!p.window.waitingForLanguage());
        QVERIFY(!p.window.findChild<frmSceltaLingua *>());
        for (int k = 1; k <= 16; ++k) {
            QCOMPARE(p.find<QLabel>(QStringLiteral("T%1").arg(k))->text(),
                     QStringLiteral("Cam %1").arg(k));
            QCOMPARE(p.window.CameraType[k],
                     k % 2 ? QStringLiteral("Dome") : QStringLiteral("P&T"));
        }
        QCOMPARE(p.find<QAbstractButton>("leftT")->text(), QStringLiteral("L2"));
        // Loading a language stops both polls; the sign-off to 0.0.0.0 is skipped.
        QVERIFY(!p.find<ui::Timer>("Timer3")->isEnabled());
        QVERIFY(!p.find<ui::Timer>("Timer5")->isEnabled());
        QVERIFY(p.socket.sent.isEmpty());
        QCOMPARE(p.window.positionInTwips(), QPoint(1500, 900));

        // The rewrite keeps everything as read.
        emit p.find<ui::Timer>("TimerMove")->tick();
        QCOMPARE(fileLines(p.storagePath("velmarcontroller.ini")),
                 storedLines(p.storagePath("L.lng")));
    }

    void positionOffEveryScreenIsIgnored() {
        Panel p;
        QStringList lines = storedLines(QString());
        lines[0] = QStringLiteral("-900000");
        lines[1] = QStringLiteral("-900000");
        writeFile(p.storagePath("velmarcontroller.ini"), crlf(lines));
        Panel centred;
        centred.window.Form_Load();
        p.window.Form_Load();
        QCOMPARE(p.window.pos(), centred.window.pos());
    }

    void startupEndedEarlyNeverOverwritesTheFile() {
        Panel p;
        const QByteArray stored = crlf(storedLines(QStringLiteral("x.lng")));
        writeFile(p.storagePath("velmarcontroller.ini"), stored);
        p.settings.setValue("Properties", "Settings", "bad");
        p.window.Form_Load();
        QVERIFY(p.window.startupEndedEarly());
        emit p.find<ui::Timer>("TimerMove")->tick();
        QFile f(p.storagePath("velmarcontroller.ini"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), stored);
    }

    void freshFileWithMoreLinesIsKeptBeside() {
        Panel p;
        QStringList lines = storedLines(QString());
        lines[2].clear();
        const QByteArray stored = crlf(lines);
        writeFile(p.storagePath("velmarcontroller.ini"), stored);
        p.window.Form_Load();
        QVERIFY(p.window.waitingForLanguage());
        emit p.find<ui::Timer>("TimerMove")->tick();
        QFile backup(p.storagePath("velmarcontroller.ini.bak"));
        QVERIFY(backup.open(QIODevice::ReadOnly));
        QCOMPARE(backup.readAll(), stored);
    }

    void missingStorageFolderIsCreated() {
        Panel p;
        const QString folder = p.storagePath("deeper/still");
        p.window.setStorageFolder(folder);
        p.window.Form_Load();
        emit p.find<ui::Timer>("TimerMove")->tick();
        QCOMPARE(fileLines(folder + "/velmarcontroller.ini").size(), 35);
    }
};

QTEST_MAIN(TestConfiguration)
#include "tst_configuration.moc"
