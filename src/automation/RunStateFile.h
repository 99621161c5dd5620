#pragma once

#include <QByteArray>
#include <QList>

namespace automation {

// What the automation was doing when the program ended, kept in a small file
// of its own beside automation.ini so that a restart carries on: the tours
// that ran or were held, at which step, and the last schedule entry applied
// (entries due after it, while the program was not running, are caught up).
// The program writes it; a line it does not understand is passed over.
class RunStateFile {
public:
    static constexpr int maxTours = 256;

    struct Tour {
        int number = 0;
        bool held = false;
        int step = 1; // 1-based
        bool operator==(const Tour &) const = default;
    };
    QList<Tour> tours;
    qint64 scheduleApplied = 0; // ms since the epoch; 0: none yet

    static RunStateFile parse(const QByteArray &bytes);
    QByteArray bytes() const;

    bool operator==(const RunStateFile &) const = default;
};

} // namespace automation
