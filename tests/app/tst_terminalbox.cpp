// The terminal box on screen: whatever the receive events did to its text
// (trims, backspaces, line ends split between events), the screen ends up
// showing exactly the stored text, and a burst is shown within a frame.
#include "TestMain.h"
#include "app/TerminalBox.h"
#include "ui/FramePacer.h"

#include <QTest>

using app::TerminalBox;

namespace {
// The stored text as the screen must show it: every line end one break (and
// a no-break space reads back from the screen as a space).
QString onScreen(QString stored) {
    stored.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    stored.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    stored.replace(QChar(0xA0), QLatin1Char(' '));
    return stored;
}

QString filler(int length, char first = 'a') {
    QString text;
    for (int i = 0; i < length; ++i)
        text.append(QChar(first + i % 26));
    return text;
}

QString lines(int count) {
    QString text;
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("line %1 of the switcher's chatter\r\n").arg(i);
    return text;
}
} // namespace

class TestTerminalBox : public QObject {
    Q_OBJECT

private slots:
    void screenMatchesStoredText_data() {
        QTest::addColumn<QStringList>("events");
        QTest::newRow("plain text") << QStringList{"abc", "def"};
        QTest::newRow("line ends") << QStringList{"A\r\nB", "x\ny", "\rz", "\n"};
        QTest::newRow("backspace within an event") << QStringList{"ab", "c\bd"};
        QTest::newRow("backspace erases a shown character") << QStringList{"abc", "\bX"};
        QTest::newRow("backspace erases the LF of a shown CR LF")
            << QStringList{"abc\r", "\b", "x"};
        QTest::newRow("backspace erases the whole text") << QStringList{"a", "\b", "\b", "b"};
        QTest::newRow("trims while full") << QStringList{lines(300), lines(40), lines(40)};
        // 4095 characters then CR LF: the trim of 4096 falls between CR and LF.
        QTest::newRow("trim splits a CR LF")
            << QStringList{filler(4095) + "\r", filler(12000), "y", "z"};
        QTest::newRow("trim right after a backspace") << QStringList{filler(16001), "\bq", "\b\br"};
        QTest::newRow("burst longer than the box")
            << QStringList{lines(10), filler(9000), filler(9000, 'A'), filler(9000), "end"};
        QTest::newRow("text of every byte") << QStringList{[] {
            QString all;
            for (int c = 0; c < 256; ++c)
                all.append(QChar(c));
            return all;
        }()};
    }
    void screenMatchesStoredText() {
        QFETCH(QStringList, events);
        TerminalBox box;
        for (const QString &event : events)
            box.appendReceived(event);
        const QString expected = onScreen(box.terminalText());
        // Brought up to date on reading, and by its own frame timer.
        QCOMPARE(box.toPlainText(), expected);
        TerminalBox paced;
        for (const QString &event : events)
            paced.appendReceived(event);
        QTRY_VERIFY(!paced.hasPending());
        QCOMPARE(paced.document()->toPlainText(), expected);
        QVERIFY(paced.textCursor().atEnd());
    }

    void screenMatchesAfterEveryFrame() {
        // Events that straddle frames: each update starts from the last one.
        TerminalBox box;
        const QStringList events{lines(200), "\b\b",     filler(5000), "\r",
                                 "\b",       lines(120), filler(4096), "\r\n\r\n"};
        for (const QString &event : events) {
            box.appendReceived(event);
            box.appendReceived(QStringLiteral("+"));
            QTRY_VERIFY(!box.hasPending());
            QCOMPARE(box.document()->toPlainText(), onScreen(box.terminalText()));
        }
    }

    void largeEventsKeepTheBoxSmall_data() {
        QTest::addColumn<int>("eventLength");
        QTest::newRow("events of 4000") << 4000;
        QTest::newRow("events of 10000") << 10000;
        QTest::newRow("events of 40000") << 40000;
    }
    void largeEventsKeepTheBoxSmall() {
        // Whatever size the receive events have, the box holds at most
        // 16000 characters before an append, and the newest text is kept.
        QFETCH(int, eventLength);
        devicelink::TerminalBuffer buffer;
        for (int i = 0; i < 12; ++i) {
            const QString event = filler(eventLength, static_cast<char>('a' + i % 3));
            buffer.append(event);
            QVERIFY(buffer.text().size() <= devicelink::TerminalBuffer::trimAbove + eventLength);
            QVERIFY(buffer.text().endsWith(event));
        }
        TerminalBox box;
        for (int i = 0; i < 6; ++i)
            box.appendReceived(filler(eventLength));
        QCOMPARE(box.toPlainText(), onScreen(box.terminalText()));
    }

    void quietLineShowsAtOnceBurstWithinAFrame() {
        TerminalBox box;
        box.appendReceived(QStringLiteral("first"));
        QCOMPARE(box.document()->toPlainText(), QStringLiteral("first"));
        box.appendReceived(QStringLiteral(" second"));
        // The stored text has it at once; the screen by the next frame.
        QCOMPARE(box.terminalText(), QStringLiteral("first second"));
        QTRY_COMPARE_WITH_TIMEOUT(box.document()->toPlainText(), QStringLiteral("first second"),
                                  ui::FramePacer::frameMs * 10);
    }

    void typedKeyShowsAfterTheTextBeforeIt() {
        TerminalBox box;
        box.setKeyHandler([](int &) {}); // local echo: the key stays
        box.appendReceived(QStringLiteral("one"));
        box.appendReceived(QStringLiteral(" two"));
        QTest::keyClick(&box, Qt::Key_X);
        QCOMPARE(box.document()->toPlainText(), QStringLiteral("one twox"));
        QCOMPARE(box.terminalText(), QStringLiteral("one twox"));
    }

    void clearDropsWhatWasWaiting() {
        TerminalBox box;
        box.appendReceived(QStringLiteral("a"));
        box.appendReceived(QStringLiteral("b"));
        box.clearAll();
        QTest::qWait(ui::FramePacer::frameMs * 2);
        QCOMPARE(box.document()->toPlainText(), QString());
        box.appendReceived(QStringLiteral("c"));
        QCOMPARE(box.toPlainText(), QStringLiteral("c"));
    }
};

VELMAR_TEST_MAIN(TestTerminalBox)
#include "tst_terminalbox.moc"
