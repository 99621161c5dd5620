#include "events/EventQuery.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimeZone>
#include <QVariant>

namespace events::EventQuery {

namespace {

QString nextConnectionName() {
    static QAtomicInteger<quint32> serial;
    return QStringLiteral("velmar-events-reader-%1").arg(serial.fetchAndAddRelaxed(1));
}

QString likePattern(const QString &filter) {
    QString escaped = filter;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('%'), QStringLiteral("\\%"))
        .replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

QString readOpen(const QString &connection, const QString &path, Range range, const QString &filter,
                 const std::function<bool(const Record &)> &each) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(path);
    // Read-write where it may, so that the last to close takes the write-ahead
    // log away; SQLite opens a file it may not write for reading only.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=1000"));
    if (!db.open())
        return db.lastError().text();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    // A log of the first version, not yet opened by a writer of this one,
    // names no program.
    bool hasProgram = false;
    if (query.exec(QStringLiteral("PRAGMA table_info(events)")))
        while (query.next())
            hasProgram = hasProgram || query.value(1).toString() == QLatin1String("program");
    query.finish();
    // A bound past the times a row can hold (after the year 9999) is no bound.
    const QString from = EventText::time(range.from);
    const QString to = EventText::time(range.to);
    if ((from.isEmpty() && range.from > 0) || (to.isEmpty() && range.to < 0))
        return {};
    QString sql = QStringLiteral("SELECT time, direction, channel, origin, bytes, meaning, %1 FROM "
                                 "events WHERE 1")
                      .arg(hasProgram ? QStringLiteral("program") : QStringLiteral("''"));
    if (!from.isEmpty())
        sql += QStringLiteral(" AND time >= ?");
    if (!to.isEmpty())
        sql += QStringLiteral(" AND time < ?");
    if (!filter.isEmpty())
        sql += QStringLiteral(" AND (meaning LIKE ? ESCAPE '\\' OR origin LIKE ? ESCAPE '\\' OR "
                              "channel LIKE ? ESCAPE '\\')");
    sql += QStringLiteral(" ORDER BY time, rowid");
    if (!query.prepare(sql))
        return query.lastError().text();
    if (!from.isEmpty())
        query.addBindValue(from);
    if (!to.isEmpty())
        query.addBindValue(to);
    if (!filter.isEmpty())
        for (int i = 0; i < 3; ++i)
            query.addBindValue(likePattern(filter));
    if (!query.exec())
        return query.lastError().text();
    while (query.next()) {
        const Record record{query.value(0).toString(), query.value(1).toString(),
                            query.value(2).toString(), query.value(3).toString(),
                            query.value(4).toString(), query.value(5).toString(),
                            query.value(6).toString()};
        // LIKE found the text; the numbers in it must be whole.
        if (!filter.isEmpty() && !matches(record, filter))
            continue;
        if (!each(record))
            break;
    }
    if (query.lastError().isValid())
        return query.lastError().text();
    return {};
}

} // namespace

QString read(const QString &path, Range range, const QString &filter,
             const std::function<bool(const Record &)> &each) {
    // Opening a file that is not there would make an empty one.
    if (!QFile::exists(path))
        return QCoreApplication::translate("events::EventQuery", "there is no event log at %1")
            .arg(QDir::toNativeSeparators(path));
    const QString connection = nextConnectionName();
    const QString error = readOpen(connection, path, range, filter.simplified(), each);
    QSqlDatabase::removeDatabase(connection);
    return error;
}

bool matches(const Record &record, const QString &filter) {
    const QString wanted = filter.simplified();
    if (wanted.isEmpty())
        return true;
    const bool digitFirst = wanted.front().isDigit();
    const bool digitLast = wanted.back().isDigit();
    for (const QString *text : {&record.meaning, &record.origin, &record.channel}) {
        for (qsizetype at = text->indexOf(wanted, 0, Qt::CaseInsensitive); at >= 0;
             at = text->indexOf(wanted, at + 1, Qt::CaseInsensitive)) {
            const qsizetype end = at + wanted.size();
            if (digitFirst && at > 0 && text->at(at - 1).isDigit())
                continue;
            if (digitLast && end < text->size() && text->at(end).isDigit())
                continue;
            return true;
        }
    }
    return false;
}

QString saveCsv(const QString &fileName, const std::vector<Record> &records) {
    QByteArray bytes = EventText::csvHeader().toUtf8() + "\r\n";
    for (const Record &record : records)
        bytes += EventText::csv(record).toUtf8() + "\r\n";
    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
        file.write(bytes) == bytes.size() && file.commit())
        return {};
    const QString reason = file.errorString();
    file.cancelWriting();
    return reason;
}

namespace {

struct Span {
    qint64 start = 0;
    qint64 length = 0;
};

std::optional<Span> span(const QString &text) {
    static const QRegularExpression iso(
        QStringLiteral(R"(^(\d{4})-(\d\d)-(\d\d)(?:[T ](\d\d):(\d\d)(?::(\d\d)(?:[.,](\d{1,3}))?)?)"
                       R"((Z|[+-]\d\d(?::?\d\d)?)?)?$)"));
    const QRegularExpressionMatch m = iso.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!date.isValid())
        return std::nullopt;
    if (!m.hasCaptured(4)) {
        const QDateTime start = date.startOfDay();
        return Span{start.toMSecsSinceEpoch(),
                    date.addDays(1).startOfDay().toMSecsSinceEpoch() - start.toMSecsSinceEpoch()};
    }
    const QString fraction = m.captured(7);
    const int ms = fraction.isEmpty() ? 0 : (fraction + QStringLiteral("00")).left(3).toInt();
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(), ms);
    if (!time.isValid())
        return std::nullopt;
    const QString zone = m.captured(8);
    QDateTime at;
    if (zone.isEmpty()) {
        at = QDateTime(date, time);
    } else if (zone == QLatin1String("Z")) {
        at = QDateTime(date, time, QTimeZone::utc());
    } else {
        const QString digits = zone.mid(1).remove(QLatin1Char(':'));
        const int minutes = digits.left(2).toInt() * 60 + digits.mid(2).toInt();
        if (minutes > 18 * 60)
            return std::nullopt;
        at = QDateTime(date, time,
                       QTimeZone((zone.front() == QLatin1Char('-') ? -60 : 60) * minutes));
    }
    qint64 length = 60 * 1000;
    if (m.hasCaptured(6))
        length = fraction.isEmpty() ? 1000
                                    : (fraction.size() == 1   ? 100
                                       : fraction.size() == 2 ? 10
                                                              : 1);
    return Span{at.toMSecsSinceEpoch(), length};
}

} // namespace

std::optional<Range> range(const QString &from, const QString &to, QString *error) {
    const std::optional<Span> first = span(from);
    const std::optional<Span> last = span(to);
    if (!first || !last) {
        *error = QCoreApplication::translate(
                     "events::EventQuery",
                     "'%1' is not an ISO 8601 date or time (2026-12-09, 2026-12-09T02:14)")
                     .arg(!first ? from : to);
        return std::nullopt;
    }
    const Range found{first->start, last->start + last->length};
    if (found.from >= found.to) {
        *error =
            QCoreApplication::translate("events::EventQuery", "'%1' is after '%2'").arg(from, to);
        return std::nullopt;
    }
    return found;
}

} // namespace events::EventQuery
