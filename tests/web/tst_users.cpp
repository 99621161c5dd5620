// users.ini and the user commands: salted PBKDF2 of 100,000 rounds, an
// owner-only file whatever the umask, a file that cannot be used whole
// never rewritten, and --add-user, --remove-user and --list-users.
#include "TestMain.h"
#include "web/UserCommand.h"
#include "web/UserStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <sys/stat.h>

using web::Role;
using web::UsersFile;
using web::UserStore;

namespace {
struct Io {
    QList<QByteArray> passwords;
    QStringList out, err;
    web::UserCommandIo io() {
        web::UserCommandIo io;
        io.password = [this](const QString &) -> std::optional<QByteArray> {
            if (passwords.isEmpty())
                return std::nullopt;
            return passwords.takeFirst();
        };
        io.out = [this](const QString &t) { out << t; };
        io.err = [this](const QString &t) { err << t; };
        return io;
    }
};
} // namespace

class TestUsers : public QObject {
    Q_OBJECT
private slots:
    void storedAsSaltedDigests();
    void ownerOnlyWhateverTheUmask();
    void unusableFileIsNeverRewritten_data();
    void unusableFileIsNeverRewritten();
    void commands_data();
    void commands();
};

void TestUsers::storedAsSaltedDigests() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("users.ini"));
    UserStore store(path);
    QVERIFY(store.add(QStringLiteral("ana"), Role::Operator, "same password").isEmpty());
    QVERIFY(store.add(QStringLiteral("ben"), Role::Viewer, "same password").isEmpty());
    const UsersFile::User ana = *store.find(QStringLiteral("ana"));
    const UsersFile::User ben = *store.find(QStringLiteral("ben"));
    QVERIFY(ana.iterations >= 100000);
    QCOMPARE(ana.salt.size(), UserStore::saltBytes);
    // One password, two salts: two digests.
    QVERIFY(ana.salt != ben.salt);
    QVERIFY(ana.hash != ben.hash);
    QCOMPARE(ana.hash, UserStore::digest("same password", ana.salt, ana.iterations));
    QVERIFY(UserStore::matches(ana, "same password"));
    QVERIFY(!UserStore::matches(ana, "same passwore"));
    QVERIFY(!UserStore::matches(ana, ""));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(!file.readAll().contains("same password"));
    // Another store sees the file as written.
    UserStore other(path);
    QCOMPARE(other.users().size(), 2);
    QCOMPARE(other.find(QStringLiteral("ana"))->role, Role::Operator);
    // A new password and role replace the old.
    QVERIFY(store.add(QStringLiteral("ana"), Role::Supervisor, "new").isEmpty());
    QVERIFY(other.refresh());
    QCOMPARE(other.find(QStringLiteral("ana"))->role, Role::Supervisor);
    QVERIFY(UserStore::matches(*other.find(QStringLiteral("ana")), "new"));
}

void TestUsers::ownerOnlyWhateverTheUmask() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("users.ini"));
    const mode_t before = ::umask(0);
    UserStore store(path);
    const QString error = store.add(QStringLiteral("ana"), Role::Operator, "pw");
    ::umask(before);
    QVERIFY(error.isEmpty());
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, mode_t(0600));
    // A file someone made readable to others is made the owner's again when read.
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0644) == 0);
    UserStore reader(path);
    QCOMPARE(reader.users().size(), 1);
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, mode_t(0600));
}

void TestUsers::unusableFileIsNeverRewritten_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("problem");
    QTest::newRow("an unknown role") << QByteArray("[ana]\nRole=admin\n") << "Role must be";
    QTest::newRow("a user without a digest")
        << QByteArray("[ana]\nRole=viewer\nSalt=AAAAAAAAAAA=\nIterations=100000\n") << "no Hash";
    QTest::newRow("too few rounds")
        << QByteArray("[ana]\nRole=viewer\nIterations=1000\n") << "Iterations must be";
    QTest::newRow("a name twice")
        << QByteArray("[ana]\nRole=viewer\nSalt=AAAAAAAAAAA=\nIterations=100000\nHash=" +
                      QByteArray(32, 'x').toBase64() +
                      "\n[ana]\nRole=viewer\nSalt=AAAAAAAAAAA=\nIterations=100000\nHash=" +
                      QByteArray(32, 'x').toBase64() + "\n")
        << "named twice";
}

void TestUsers::unusableFileIsNeverRewritten() {
    QFETCH(QByteArray, text);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("users.ini"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    UserStore store(path);
    QVERIFY2(store.problems().join(QLatin1Char('\n')).contains(problem),
             qPrintable(store.problems().join(QLatin1Char('\n'))));
    QVERIFY(!store.add(QStringLiteral("ben"), Role::Viewer, "pw").isEmpty());
    QVERIFY(!store.remove(QStringLiteral("ana")).isEmpty());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), text);
}

void TestUsers::commands_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QList<QByteArray>>("passwords");
    QTest::addColumn<int>("status"); // -1: not a user command
    QTest::addColumn<QString>("says");
    QTest::newRow("not one of them")
        << QStringList{QStringLiteral("--version")} << QList<QByteArray>() << -1 << "";
    QTest::newRow("add") << QStringList{QStringLiteral("--add-user"), QStringLiteral("cat"),
                                        QStringLiteral("supervisor")}
                         << QList<QByteArray>{"pw"} << 0 << "user cat added as supervisor";
    QTest::newRow("add with a role unknown")
        << QStringList{QStringLiteral("--add-user"), QStringLiteral("cat"), QStringLiteral("admin")}
        << QList<QByteArray>{"pw"} << 2 << "ROLE";
    QTest::newRow("add with a bad name")
        << QStringList{QStringLiteral("--add-user"), QStringLiteral("c a t"),
                       QStringLiteral("viewer")}
        << QList<QByteArray>{"pw"} << 2 << "user name";
    QTest::newRow("add without a password")
        << QStringList{QStringLiteral("--add-user"), QStringLiteral("cat"),
                       QStringLiteral("viewer")}
        << QList<QByteArray>() << 1 << "no password";
    QTest::newRow("remove") << QStringList{QStringLiteral("--remove-user"), QStringLiteral("ana")}
                            << QList<QByteArray>() << 0 << "user ana removed";
    QTest::newRow("remove nobody")
        << QStringList{QStringLiteral("--remove-user"), QStringLiteral("zed")}
        << QList<QByteArray>() << 1 << "no user zed";
    QTest::newRow("list") << QStringList{QStringLiteral("--list-users")} << QList<QByteArray>() << 0
                          << "ana operator";
    QTest::newRow("list with more")
        << QStringList{QStringLiteral("--list-users"), QStringLiteral("x")} << QList<QByteArray>()
        << 2 << "alone";
}

void TestUsers::commands() {
    QFETCH(QStringList, arguments);
    QFETCH(QList<QByteArray>, passwords);
    QFETCH(int, status);
    QFETCH(QString, says);
    QTemporaryDir dir;
    {
        UserStore store(dir.filePath(QStringLiteral("users.ini")));
        QVERIFY(store.add(QStringLiteral("ana"), Role::Operator, "pw").isEmpty());
    }
    Io io;
    io.passwords = passwords;
    const std::optional<int> result = web::userCommand(
        QStringList{QStringLiteral("velmar-controller")} + arguments, dir.path(), io.io());
    QCOMPARE(result.value_or(-1), status);
    const QString said = (io.out + io.err).join(QLatin1Char('\n'));
    QVERIFY2(said.contains(says), qPrintable(said));
    if (arguments.value(0) == QLatin1String("--add-user") && status == 0) {
        UserStore store(dir.filePath(QStringLiteral("users.ini")));
        QVERIFY(UserStore::matches(*store.find(arguments[1]), passwords[0]));
    }
}

VELMAR_TEST_MAIN(TestUsers)
#include "tst_users.moc"
