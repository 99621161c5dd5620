// Replacing a stored file: a rewrite never shows a reader half a file, and a
// write that cannot finish (a full disk) leaves the old file as it was.
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
