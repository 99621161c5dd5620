// The history view on a real log: the rows of a range that the filter lets
// through, and their export, whole or not at all.
#include "Fakes.h"
#include "TestMain.h"
#include "events/EventStore.h"
#include "events/HistoryModel.h"
#include "events/HistoryView.h"

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
        events::HistoryView view(path, dialogs);
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

        // A file that cannot be written is said, and nothing is left half-made.
        const QString nowhere = dir.filePath("missing/found.csv");
        QVERIFY(!view.exportTo(nowhere));
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(dialogs.shown[0].text.contains(nowhere));
        QVERIFY(!QFile::exists(nowhere));
    }
};

VELMAR_TEST_MAIN(TestHistory)
#include "tst_history.moc"
