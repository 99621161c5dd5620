// The history view on a real log: the rows of a range that the filter lets
// through, and their export, whole or not at all.
#include "Fakes.h"
#include "TestMain.h"
#include "events/EventStore.h"
#include "events/HistoryModel.h"
#include "events/HistoryView.h"

#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
constexpr qint64 t0 = 1796782447123; // 2026-12-09T02:14:07.123Z
}

class TestHistory : public QObject {
    Q_OBJECT
private slots:
    void findsAndExportsTheRowsOfARange() {
        QTemporaryDir dir;
        const QString path = dir.filePath("events.sqlite");
        {
            events::EventStore store(path);
            using D = events::Event::Direction;
            store.append({t0 - 3600000, D::Sent, "serial Com1", "panel", "\x31\r", "camera 1"});
            store.append({t0, D::Sent, "serial Com1", "keyboard", "\x31\r", "camera 1"});
            store.append({t0 + 1, D::Sent, "serial Com1", "code box", "\x3C\r", "camera 12"});
            store.append({t0 + 2, D::Received, "serial Com1", "status poll",
                          QByteArray("\x01\x00\x80\x00", 4), "monitor 1, camera 1"});
            store.append({t0 + 3, D::State, "10.1.2.3:2000", "panel", {}, "channel changed"});
        }
        fakes::Dialogs dialogs;
        fakes::Clock clock;
        events::HistoryView view(path, dialogs, clock);
        QSignalSpy found(&view, &events::HistoryView::found);
        const QDateTime from = QDateTime::fromMSecsSinceEpoch(t0 - 60000);
        view.setRange(from, from.addSecs(120));
        view.setFilter("Camera 1");
        view.show(); // the first showing searches
        QTRY_COMPARE(found.size(), 1);
        QCOMPARE(found[0][0].toInt(), 2);
        const events::HistoryModel &model = view.model();
        QCOMPARE(model.index(0, events::HistoryModel::Origin).data().toString(), "keyboard");
        QCOMPARE(model.index(1, events::HistoryModel::Meaning).data().toString(),
                 "monitor 1, camera 1");
        QCOMPARE(model.index(0, events::HistoryModel::Time).data().toString(),
                 QDateTime::fromMSecsSinceEpoch(t0).toString("yyyy-MM-dd HH:mm:ss.zzz"));

        view.setFilter("10.1.2.3");
        QTest::mouseClick(view.findChild<QPushButton *>("historyFind"), Qt::LeftButton);
        QTRY_COMPARE(found.size(), 2);
        QCOMPARE(found[1][0].toInt(), 1);

        // Export: the rows found, as CSV.
        const QString csv = dir.filePath("found.csv");
        dialogs.fileNames.enqueue(csv);
        QTest::mouseClick(view.findChild<QPushButton *>("historyExport"), Qt::LeftButton);
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), "time,direction,channel,origin,bytes,meaning,program\r\n"
                                 "2026-12-09T02:14:07.126Z,state,10.1.2.3:2000,panel,,"
                                 "channel changed," +
                                     events::EventStore::thisProgram().toUtf8() + "\r\n");
        QVERIFY(dialogs.shown.isEmpty());
        QCOMPARE(view.statusText(),
                 QStringLiteral("1 event exported to %1.").arg(QDir::toNativeSeparators(csv)));

        // A file that cannot be written is said, and nothing is left half-made.
        const QString nowhere = dir.filePath("missing/found.csv");
        QVERIFY(!view.exportTo(nowhere));
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(dialogs.shown[0].text.contains(nowhere));
        QVERIFY(!QFile::exists(nowhere));
    }

    // Opened, the view searches up to the moment of each search: rows added
    // two minutes later are found, and the count says the range. A range
    // whose end was chosen keeps it.
    void findRunsUpToNow() {
        QTemporaryDir dir;
        const QString path = dir.filePath("events.sqlite");
        fakes::Clock clock;
        clock.ms = t0;
        using D = events::Event::Direction;
        const auto add = [&](qint64 at, const QString &meaning) {
            events::EventStore store(path);
            store.append({at, D::Sent, "serial Com1", "panel", "\x35\r", meaning});
        };
        add(t0 - 1000, "camera 5");
        fakes::Dialogs dialogs;
        events::HistoryView view(path, dialogs, clock);
        QSignalSpy found(&view, &events::HistoryView::found);
        view.show();
        QTRY_COMPARE(found.size(), 1);
        QCOMPARE(found[0][0].toInt(), 1);

        clock.ms = t0 + 120000;
        add(t0 + 119000, "camera 6");
        QTest::mouseClick(view.findChild<QPushButton *>("historyFind"), Qt::LeftButton);
        QTRY_COMPARE(found.size(), 2);
        QCOMPARE(found[1][0].toInt(), 2);
        const QString format = "yyyy-MM-dd HH:mm:ss";
        QCOMPARE(view.statusText(),
                 QStringLiteral("2 events found from %1 to %2.")
                     .arg(QDateTime::fromMSecsSinceEpoch(t0 - 3600000).toString(format),
                          QDateTime::fromMSecsSinceEpoch(t0 + 120000).toString(format)));

        // "To" chosen: later rows stay outside it.
        auto *to = view.findChild<QDateTimeEdit *>("historyTo");
        to->setDateTime(QDateTime::fromMSecsSinceEpoch(t0 + 60000));
        clock.ms = t0 + 240000;
        add(t0 + 239000, "camera 7");
        QTest::mouseClick(view.findChild<QPushButton *>("historyFind"), Qt::LeftButton);
        QTRY_COMPARE(found.size(), 3);
        QCOMPARE(found[2][0].toInt(), 1);
    }

    // A name given without an extension is saved as CSV with one.
    void exportAddsTheExtension() {
        QTemporaryDir dir;
        const QString path = dir.filePath("events.sqlite");
        {
            events::EventStore store(path);
            store.append(
                {t0, events::Event::Direction::Sent, "serial Com1", "panel", "\x35\r", "camera 5"});
        }
        fakes::Dialogs dialogs;
        fakes::Clock clock;
        events::HistoryView view(path, dialogs, clock);
        QSignalSpy found(&view, &events::HistoryView::found);
        view.setRange(QDateTime::fromMSecsSinceEpoch(t0 - 1000),
                      QDateTime::fromMSecsSinceEpoch(t0 + 1000));
        view.find();
        QTRY_COMPARE(found.size(), 1);
        dialogs.fileNames.enqueue(dir.filePath("events of the night"));
        QTest::mouseClick(view.findChild<QPushButton *>("historyExport"), Qt::LeftButton);
        QVERIFY(QFile::exists(dir.filePath("events of the night.csv")));
        QVERIFY(!QFile::exists(dir.filePath("events of the night")));
        QVERIFY(view.statusText().endsWith("events of the night.csv."));
    }
};

VELMAR_TEST_MAIN(TestHistory)
#include "tst_history.moc"
