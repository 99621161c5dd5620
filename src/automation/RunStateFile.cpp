#include "automation/RunStateFile.h"

#include <QDateTime>
#include <QList>
#include <QSet>

namespace automation {

namespace {
bool number(const QByteArray &text, int high, int &out) {
    if (text.isEmpty() || text.size() > 6)
        return false;
    bool ok = false;
    out = text.toInt(&ok);
    return ok && out >= 1 && out <= high;
}
} // namespace

// One line each:
//   tour 2 running 3
//   tour 4 held 1
//   schedules applied 2026-12-09T22:00:00.000Z
RunStateFile RunStateFile::parse(const QByteArray &bytes) {
    RunStateFile out;
    QSet<int> seen;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        const QByteArrayView raw(bytes.constData() + start, end - start);
        start = end + 1;
        // Only a line of the two kinds is looked at closely; a long one is neither.
        if (raw.size() > 80 || !(raw.startsWith("tour ") || raw.startsWith("schedules ")))
            continue;
        const QList<QByteArray> words = raw.toByteArray().simplified().split(' ');
        if (words.size() == 4 && words[0] == "tour" &&
            (words[2] == "running" || words[2] == "held")) {
            Tour t;
            if (number(words[1], 999, t.number) && number(words[3], 256, t.step) &&
                !seen.contains(t.number) && out.tours.size() < maxTours) {
                t.held = words[2] == "held";
                seen.insert(t.number);
                out.tours.append(t);
            }
        } else if (words.size() == 3 && words[0] == "schedules" && words[1] == "applied" &&
                   words[2].size() <= 40) {
            const QDateTime at =
                QDateTime::fromString(QString::fromLatin1(words[2]), Qt::ISODateWithMs);
            // Within the years the clock and the file's form can hold.
            if (at.isValid() && at.toMSecsSinceEpoch() > 0 && at.toUTC().date().year() <= 9999)
                out.scheduleApplied = at.toMSecsSinceEpoch();
        }
    }
    return out;
}

QByteArray RunStateFile::bytes() const {
    QByteArray out;
    for (const Tour &t : tours)
        out += "tour " + QByteArray::number(t.number) + (t.held ? " held " : " running ") +
               QByteArray::number(t.step) + '\n';
    if (scheduleApplied > 0)
        out += "schedules applied " +
               QDateTime::fromMSecsSinceEpoch(scheduleApplied, Qt::UTC)
                   .toString(Qt::ISODateWithMs)
                   .toLatin1() +
               '\n';
    return out;
}

} // namespace automation
