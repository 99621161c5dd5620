// Reading and replacing a stored file: lines are read whole up to the bounds,
// a rewrite never shows a reader half a file, and a write that cannot finish
// (a full disk) leaves the old file as it was.
#include "TestMain.h"
#include "config/StoredFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

namespace {
QByteArray lines(char fill, int count) {
    return QByteArray(count * 40, fill)
        .replace(QByteArray(40, fill), QByteArray(38, fill) + "\r\n");
}

// Files of this process may grow to a few bytes only while it lives, as on a
// disk that is full.
struct FileSizeLimit {
    rlimit saved{};
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit tight = saved;
        tight.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &tight);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
};
} // namespace

class TestStoredFile : public QObject {
    Q_OBJECT
private slots:
    // Lines are read whole up to the bounds, a CR LF split between two reads
    // is one line end, and what lies after the lines wanted is not read. A
    // line past the bound makes the file unreadable, with the reason.
    void readsWholeLinesWithinTheBounds_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("lines"); // lines wanted
        QTest::addColumn<bool>("lfEndsLine");
        QTest::addColumn<QByteArray>("read"); // null: not readable
        QTest::addColumn<QString>("reason");
        const QByteArray atBound(config::StoredFile::lineBound, 'a');
        const QByteArray longLine(5000, 'c');
        QTest::newRow("a line of exactly 1 MiB")
            << atBound + "\r\nb" << INT_MAX << true << atBound + "\r\nb" << QString();
        QTest::newRow("a line of 1 MiB and a byte") << "b\r\n" + atBound + "a\r\n"
                                                    << INT_MAX << true << QByteArray() << "1 MiB";
        QTest::newRow("CR LF across two reads") << QByteArray(65535, 'a') + "\r\nb\r\n"
                                                << 1 << true << QByteArray(65535, 'a') + "\r\n"
                                                << QString();
        QTest::newRow("a lone LF inside a language line")
            << longLine + "\n" + longLine + "\r\nx\r" << 1 << false
            << longLine + "\n" + longLine + "\r\n"
            << QString();
        QTest::newRow("a long line after the lines wanted")
            << "a\r\nb\nc" + atBound + atBound << 2 << true << QByteArray("a\r\nb\n") << QString();
    }
    void readsWholeLinesWithinTheBounds() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, lines);
        QFETCH(bool, lfEndsLine);
        QFETCH(QByteArray, read);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("stored.ini");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        const config::StoredFile::Contents contents =
            config::StoredFile(path).load({lines, lfEndsLine});
        QVERIFY(contents.bytes == read);
        QCOMPARE(contents.presence, read.isNull() ? config::StoredFile::Presence::Unreadable
                                                  : config::StoredFile::Presence::Readable);
        QVERIFY2(contents.reason.contains(reason), qPrintable(contents.reason));
    }

    void aReaderKeepsTheOldFileWhole() {
        QTemporaryDir dir;
        const QString path = dir.filePath("velmarcontroller.ini");
        const config::StoredFile file(path);
        QVERIFY(file.replace(lines('a', 35)));
        QFile reader(path);
        QVERIFY(reader.open(QIODevice::ReadOnly));
        QVERIFY(file.replace(lines('b', 35)));
        QCOMPARE(reader.readAll(), lines('a', 35));
        QCOMPARE(file.read(), std::optional<QByteArray>(lines('b', 35)));
    }

    void aWriteThatCannotFinishChangesNothing() {
        QTemporaryDir dir;
        const QString path = dir.filePath("velmarcontroller.ini");
        const config::StoredFile file(path);
        QVERIFY(file.replace(lines('a', 35)));
        bool replaced = true;
        {
            const FileSizeLimit full(100);
            replaced = file.replace(lines('b', 35));
        }
        QVERIFY(!replaced);
        QCOMPARE(file.read(), std::optional<QByteArray>(lines('a', 35)));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"velmarcontroller.ini"});
    }
};

VELMAR_TEST_MAIN(TestStoredFile)
#include "tst_storedfile.moc"
