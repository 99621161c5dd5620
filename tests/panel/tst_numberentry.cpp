// The number typed on the panel before M, C or P: what each key sequence
// chooses, refuses or drops.
#include "TestMain.h"
#include "panel/NumberEntry.h"

#include <QTest>

using panel::NumberEntry;
using Kind = NumberEntry::Result::Kind;
using Target = NumberEntry::Target;

Q_DECLARE_METATYPE(NumberEntry::Result)

class TestNumberEntry : public QObject {
    Q_OBJECT
private slots:
    // Keys, space-separated: a digit, M, C, P, Esc, BS (Backspace), +N (N ms
    // pass without a key), tick (the 3 s timer looks). The row gives the
    // result of the last key and what is left typed.
    void keys_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<NumberEntry::Result>("result");
        QTest::addColumn<QString>("typed");
        const auto chosen = [](Target t, int n) { return NumberEntry::Result{Kind::Chosen, t, n}; };
        const auto refused = [](Target t, int n) {
            return NumberEntry::Result{Kind::OutOfRange, t, n};
        };
        QTest::newRow("2 M") << "2 M" << chosen(Target::Monitor, 2) << "";
        QTest::newRow("1 6 C") << "1 6 C" << chosen(Target::Camera, 16) << "";
        QTest::newRow("5 P") << "5 P" << chosen(Target::Preset, 5) << "";
        QTest::newRow("leading zero") << "0 9 C" << chosen(Target::Camera, 9) << "";
        QTest::newRow("4 M, the last monitor") << "4 M" << chosen(Target::Monitor, 4) << "";
        QTest::newRow("5 M") << "5 M" << refused(Target::Monitor, 5) << "";
        QTest::newRow("17 C") << "1 7 C" << refused(Target::Camera, 17) << "";
        QTest::newRow("17 P") << "1 7 P" << refused(Target::Preset, 17) << "";
        QTest::newRow("0 C") << "0 C" << refused(Target::Camera, 0) << "";
        QTest::newRow("four digits stay three, refused whole")
            << "1 2 3 4 C" << refused(Target::Camera, 123) << "";
        QTest::newRow("letter alone")
            << "C" << NumberEntry::Result{Kind::NoNumber, Target::Camera} << "";
        QTest::newRow("digits") << "1 2" << NumberEntry::Result{Kind::Typing} << "12";
        QTest::newRow("a second choice needs its own number")
            << "2 M C" << NumberEntry::Result{Kind::NoNumber, Target::Camera} << "";
        QTest::newRow("Escape drops the number")
            << "1 6 Esc" << NumberEntry::Result{Kind::Cleared} << "";
        QTest::newRow("Escape with nothing typed") << "Esc" << NumberEntry::Result{} << "";
        QTest::newRow("after Escape a new number")
            << "1 6 Esc 3 C" << chosen(Target::Camera, 3) << "";
        QTest::newRow("Backspace") << "1 7 BS 6 C" << chosen(Target::Camera, 16) << "";
        QTest::newRow("Backspace to nothing") << "1 BS" << NumberEntry::Result{Kind::Cleared} << "";
        QTest::newRow("3 s without a key, then a letter")
            << "1 6 +3000 C" << NumberEntry::Result{Kind::NoNumber, Target::Camera} << "";
        QTest::newRow("3 s without a key, then a digit")
            << "1 +3000 5 C" << chosen(Target::Camera, 5) << "";
        QTest::newRow("just under 3 s") << "1 +2999 6 C" << chosen(Target::Camera, 16) << "";
        QTest::newRow("each key restarts the 3 s")
            << "1 +2000 6 +2000 C" << chosen(Target::Camera, 16) << "";
        QTest::newRow("the timer drops it") << "1 6 +3000 tick" << NumberEntry::Result{} << "";
        QTest::newRow("the timer early keeps it")
            << "1 6 +2500 tick" << NumberEntry::Result{} << "16";
    }
    void keys() {
        QFETCH(QString, keys);
        QFETCH(NumberEntry::Result, result);
        QFETCH(QString, typed);
        NumberEntry entry;
        qint64 now = 1000;
        NumberEntry::Result last;
        for (const QString &key : keys.split(QLatin1Char(' '))) {
            if (key.startsWith(QLatin1Char('+'))) {
                now += key.mid(1).toLongLong();
                continue;
            }
            if (key == QLatin1String("tick")) {
                entry.expire(now);
                last = {};
            } else if (key == QLatin1String("Esc")) {
                last = entry.clear();
            } else if (key == QLatin1String("BS")) {
                last = entry.erase(now);
            } else if (key == QLatin1String("M")) {
                last = entry.choose(Target::Monitor, now);
            } else if (key == QLatin1String("C")) {
                last = entry.choose(Target::Camera, now);
            } else if (key == QLatin1String("P")) {
                last = entry.choose(Target::Preset, now);
            } else {
                last = entry.digit(key.toInt(), now);
            }
        }
        QCOMPARE(int(last.kind), int(result.kind));
        QCOMPARE(int(last.target), int(result.target));
        QCOMPARE(last.number, result.number);
        QCOMPARE(entry.typed(), typed);
    }
};

VELMAR_TEST_MAIN(TestNumberEntry)
#include "tst_numberentry.moc"
