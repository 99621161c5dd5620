// The configuration file and the language files: what is written, what is
// read back, and what a start-up makes of them.
#include "Panel.h"
#include "TestMain.h"
#include "app/LinkStatusBar.h"
#include "app/Windows.h"
#include "config/CameraModel.h"
#include "config/ConfigFile.h"
#include "config/LanguageFile.h"
#include "config/frmChange.h"
#include "config/frmControllerProgram.h"
#include "config/frmSceltaLingua.h"
#include "terminal/frmProperties.h"
#include "ui/Timer.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSet>

#include <sys/stat.h>

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

QString captionOf(QObject *o) {
    if (auto *a = qobject_cast<QAction *>(o))
        return a->text();
    if (auto *g = qobject_cast<QGroupBox *>(o))
        return g->title();
    return o ? o->property("text").toString() : QStringLiteral("<missing>");
}

// The caption of line n's control, on the main window or on the real dialog.
QString captionOfLine(Panel &p, int line) {
    const auto &slot = config::LanguageFile::table[line - 1];
    const QString name = QLatin1String(slot.control);
    const QString window = QLatin1String(slot.window);
    if (window == "frmTerminal") {
        if (QObject *o = p.window.centralWidget()->findChild<QObject *>(name))
            return captionOf(o);
        return captionOf(p.window.menuBar()->findChild<QAction *>(name));
    }
    app::Windows &d = p.window.windows();
    QWidget *w = window == "frmProperties" ? static_cast<QWidget *>(d.properties.get())
                 : window == "frmChange"   ? static_cast<QWidget *>(d.sites.get())
                                           : static_cast<QWidget *>(d.titles.get());
    return w ? captionOf(w->findChild<QObject *>(name)) : QStringLiteral("<no dialog>");
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
        const QString path = p.storagePath("test.lng");
        if (!bytes.isEmpty())
            writeFile(path, bytes);
        // A file that cannot be read brings the three dialogs into being with
        // their built-in captions, so that "unchanged" can be told apart.
        p.window.CaricaLingua(p.storagePath("none.lng"));
        for (int line = 1; line <= 32; ++line)
            QCOMPARE(captionOfLine(p, line),
                     QLatin1String(config::LanguageFile::table[line - 1].builtIn));
        p.window.cameras().setLanguageFile(path);
        p.window.CaricaLingua(path);
        for (int line = 1; line <= 32; ++line) {
            const QString expected =
                line <= relabelled ? QStringLiteral("L%1").arg(line)
                                   : QLatin1String(config::LanguageFile::table[line - 1].builtIn);
            QCOMPARE(captionOfLine(p, line), expected);
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

    // Every shipped language fits: the whole menu bar on the window (nothing
    // behind its overflow button), each caption on its control, and the
    // top-level menus with access keys of their own.
    void shippedLanguagesFit_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("built in") << QString();
        QTest::newRow("English") << "English.lng";
        QTest::newRow("Italiano") << "Italiano.lng";
    }
    void shippedLanguagesFit() {
        QFETCH(QString, file);
        Panel p;
        if (!file.isEmpty())
            p.window.CaricaLingua(QStringLiteral(VELMAR_LANG_DIR "/") + file);
        p.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p.window));
        QMenuBar *bar = p.window.menuBar();
        QVERIFY(bar->sizeHint().width() <= bar->width());
        QSet<QChar> keys;
        for (QAction *menu : bar->actions()) {
            if (!menu->isVisible())
                continue;
            const QRect at = bar->actionGeometry(menu);
            QVERIFY2(!at.isEmpty() && at.right() < bar->width(), qPrintable(menu->text()));
            const qsizetype amp = menu->text().indexOf(QLatin1Char('&'));
            if (amp >= 0) {
                const QChar key = menu->text().at(amp + 1).toLower();
                QVERIFY2(!keys.contains(key), qPrintable(menu->text()));
                keys.insert(key);
            }
        }
        const auto fits = [](QWidget *w, int room) {
            const QString text = w->property("text").toString().remove(QLatin1Char('&'));
            return w->fontMetrics().horizontalAdvance(text) <= room;
        };
        for (QWidget *w : p.window.centralWidget()->findChildren<QWidget *>()) {
            if (auto *box = qobject_cast<QCheckBox *>(w))
                QVERIFY2(box->sizeHint().width() <= box->width(), qPrintable(box->text()));
            else if (auto *label = qobject_cast<QLabel *>(w))
                QVERIFY2(fits(label, label->width()), qPrintable(label->text()));
            else if (qobject_cast<QAbstractButton *>(w))
                QVERIFY2(fits(w, w->width() - 4), qPrintable(w->property("text").toString()));
        }
        // A camera title longer than its label shows whole as its tooltip.
        const QString longTitle = QStringLiteral("Loading bay, north gate, camera on the mast");
        p.window.cameras().setTitle(3, longTitle);
        QCOMPARE(p.find<QLabel>("T3")->toolTip(), longTitle);
        p.window.cameras().setTitle(3, QStringLiteral("Gate"));
        QCOMPARE(p.find<QLabel>("T3")->toolTip(), QString());
    }

    // The texts beyond the 32 captions follow the language chosen: the
    // shipped Italiano brings its translation (Italiano.qm beside
    // Italiano.lng) and the status bar speaks Italian at once; English has
    // none, and the bar is English again.
    void choosingALanguageTranslatesTheStatusBar() {
        Panel p;
        const QString before = QDir::currentPath();
        const auto back = qScopeGuard([&before] { QDir::setCurrent(before); });
        QDir::setCurrent(QStringLiteral(VELMAR_LANG_DIR));
        const auto choose = [&p](const QString &file) {
            QTRY_VERIFY(!p.window.findChild<frmSceltaLingua *>()); // the last one has gone
            p.find<QAction>("Language")->trigger();
            auto *chooser = p.window.findChild<frmSceltaLingua *>();
            QVERIFY(chooser);
            auto *files = chooser->findChild<QListWidget *>("File1");
            const QList<QListWidgetItem *> found = files->findItems(file, Qt::MatchExactly);
            QCOMPARE(found.size(), 1);
            files->setCurrentItem(found.first());
            chooser->File1_Click();
        };
        app::LinkStatusBar &bar = p.window.linkStatusBar();
        const QString english =
            QStringLiteral("Closed | Serial Com1 (Com1) 9600,n,8,1 | no routing reply yet");
        QCOMPARE(bar.shownText(), english);

        choose(QStringLiteral("Italiano.lng"));
        QCOMPARE(p.find<QAbstractButton>("up")->text(), QStringLiteral("Su")); // its captions
        QTRY_COMPARE(bar.shownText(), QStringLiteral("Chiusa | Seriale Com1 (Com1) 9600,n,8,1 | "
                                                     "nessuna risposta di instradamento"));
        QCOMPARE(bar.askStatus()->text(), QStringLiteral("Richiedi stato"));
        QCOMPARE(bar.openTraffic()->text(), QStringLiteral("Traffico"));
        // Relabelled, the buttons keep their keys.
        QCOMPARE(bar.askStatus()->shortcut(), QKeySequence(Qt::Key_F5));
        QCOMPARE(bar.openTraffic()->shortcut(), QKeySequence(QStringLiteral("Ctrl+T")));
        // What happens from now on is said in Italian too.
        p.window.session().statusRequest({});
        QTRY_VERIFY(bar.shownText().contains(QStringLiteral("non inviata: la porta è chiusa")));

        choose(QStringLiteral("English.lng"));
        QCOMPARE(p.find<QAbstractButton>("up")->text(), QStringLiteral("Up"));
        QTRY_VERIFY(bar.shownText().startsWith(QStringLiteral("Closed | Serial Com1")));
        QVERIFY(bar.shownText().contains(QStringLiteral("not sent: the port is closed")));
        QCOMPARE(bar.askStatus()->text(), QStringLiteral("Ask status"));
        QCOMPARE(bar.openTraffic()->text(), QStringLiteral("Traffic"));
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
        QCOMPARE(p.window.cameras().languageFile(), expectedPath);
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
            QCOMPARE(p.window.cameras().type(k),
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

    // However long a line, it is read whole: a camera title and the language
    // file's path survive the rewrites, and a caption is its whole line.
    void longLinesAreKeptWhole() {
        Panel p;
        QString folder = p.storagePath("lang");
        for (int depth = 0; depth < 5; ++depth)
            folder += QLatin1Char('/') + QString(250, QLatin1Char('a' + depth));
        QVERIFY(QDir().mkpath(folder));
        const QString language = folder + QStringLiteral("/Long.lng");
        const QString caption = QString(2000, QLatin1Char('u'));
        writeFile(language, caption.toLatin1() + "\r\n" + numberedLanguage().mid(4));
        QStringList lines = storedLines(language);
        lines[2] = QString(3000, QLatin1Char('t'));
        writeFile(p.storagePath("velmarcontroller.ini"), crlf(lines));

        p.window.Form_Load();
        QCOMPARE(p.find<QLabel>("T1")->text(), lines[2]);
        QCOMPARE(p.find<QAbstractButton>("up")->text(), caption);
        QCOMPARE(p.find<QAbstractButton>("leftT")->text(), QStringLiteral("L2"));
        for (int tick = 0; tick < 2; ++tick)
            emit p.find<ui::Timer>("TimerMove")->tick();
        QCOMPARE(fileLines(p.storagePath("velmarcontroller.ini")), lines);
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

    // A start-up with a language loads the three dialogs once, hidden. Opening
    // one that exists loads nothing again, so a selection's status request
    // still goes out a second after the click.
    void dialogsLoadedAtStartupStayLoaded() {
        Panel p;
        writeFile(p.storagePath("L.lng"), numberedLanguage());
        writeFile(p.storagePath("velmarcontroller.ini"), crlf(storedLines(p.storagePath("L.lng"))));
        p.window.Form_Load();
        app::Windows &d = p.window.windows();
        QPointer<terminal::frmProperties> properties = d.properties.get();
        QPointer<config::frmControllerProgram> titles = d.titles.get();
        QPointer<config::frmChange> sites = d.sites.get();
        QVERIFY(properties && titles && sites);
        QVERIFY(!properties->isVisible() && !titles->isVisible() && !sites->isVisible());
        QCOMPARE(sites->findChild<QPushButton *>("New")->text(), QStringLiteral("L32"));

        p.takeWritten();
        p.socket.setRemoteHost("10.0.0.7");
        QElapsedTimer clock;
        clock.start();
        p.click("C5");
        p.find<QAction>("mnuProperties")->trigger();
        QCOMPARE(d.properties.get(), properties.data());
        QVERIFY(properties->isVisible());
        properties->cmdCancel_Click();
        p.find<QAction>("ControllerProgram")->trigger();
        QCOMPARE(d.titles.get(), titles.data());
        titles->Annulla_Click();
        QTRY_VERIFY(!properties && !titles);
        // A dialog opened after its unload loads anew; the hidden chooser,
        // still there, is not loaded again.
        p.find<QAction>("ControllerProgram")->trigger();
        QVERIFY(d.titles.get() && d.titles.get() != titles);
        p.find<QAction>("mnuChange")->trigger();
        QCOMPARE(d.sites.get(), sites.data());
        QVERIFY(sites->isVisible());

        QTRY_COMPARE_WITH_TIMEOUT(p.port.written, serialFrames({"35", "2E"}), 2000);
        QVERIFY(clock.elapsed() >= 950);
        QVERIFY(p.socket.sent.isEmpty());
    }

    // Whatever lies where the configuration or the language file should be,
    // start-up neither hangs nor aborts; a configuration it cannot read, a
    // title of megabytes among them, is left as it is.
    void strangeFilesNeitherHangNorAbort_data() {
        QTest::addColumn<QString>("configuration"); // "zero", "fifo" or "huge title"
        QTest::addColumn<QString>("language");      // the same, or "" for none
        QTest::newRow("configuration a link to /dev/zero") << "zero"
                                                           << "";
        QTest::newRow("configuration a FIFO") << "fifo"
                                              << "";
        QTest::newRow("configuration with a 10 MB title") << "huge title"
                                                          << "";
        QTest::newRow("language file /dev/zero") << ""
                                                 << "zero";
        QTest::newRow("language file a FIFO") << ""
                                              << "fifo";
    }
    void strangeFilesNeitherHangNorAbort() {
        QFETCH(QString, configuration);
        QFETCH(QString, language);
        Panel p;
        const QString config = p.storagePath("velmarcontroller.ini");
        const auto place = [&p](const QString &kind, const QString &path) {
            if (kind == "zero")
                QVERIFY(QFile::link("/dev/zero", path));
            else if (kind == "fifo")
                QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        };
        QStringList lines = storedLines(p.storagePath("odd.lng"));
        place(language, p.storagePath("odd.lng"));
        if (configuration == "huge title")
            lines[2] = QString(10'000'000, QLatin1Char('x'));
        if (configuration.isEmpty() || configuration == "huge title")
            writeFile(config, crlf(lines));
        else
            place(configuration, config);

        p.window.Form_Load();
        emit p.find<ui::Timer>("TimerMove")->tick();

        QCOMPARE(p.find<QAbstractButton>("up")->text(), QStringLiteral("Up"));
        if (!configuration.isEmpty()) {
            QVERIFY(p.window.waitingForLanguage());
            const QFileInfo left(config);
            if (configuration == "huge title")
                QCOMPARE(left.size(), crlf(lines).size());
            else
                QVERIFY(configuration == "zero" ? left.isSymLink() : !left.isFile());
            return;
        }
        // The dialogs a language brings came all the same, their loads run.
        QVERIFY(p.window.windows().sites.get());
        QVERIFY(!p.find<ui::Timer>("Timer3")->isEnabled());
        const QStringList after = fileLines(config);
        QCOMPARE(after.size(), 35);
        QCOMPARE(after[2], QStringLiteral("Cam 1"));
        QCOMPARE(after[4], QStringLiteral("Cam 2"));
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

VELMAR_TEST_MAIN(TestConfiguration)
#include "tst_configuration.moc"
