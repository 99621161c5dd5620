#pragma once

#include <QString>
#include <QtGlobal>

// A disk of a few megabytes under the event log, without mounting one: an
// SQLite file system, the default while it exists, on which the files of one
// folder (the log's, and any a test adds) may together take no more than the
// capacity; a write past it fails as on a full disk.
class SmallDisk {
public:
    SmallDisk(const QString &folder, qint64 capacity);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    // What the folder's files take, and what is left of the capacity.
    qint64 used() const;
    qint64 free() const { return qMax<qint64>(0, capacity() - used()); }
    qint64 capacity() const;
    void setCapacity(qint64 bytes);
};
