#include "SmallDisk.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <atomic>
#include <sqlite3.h>

namespace {

std::atomic<qint64> capacityBytes{0};
QMutex folderLock;
QString watched;
sqlite3_vfs *real = nullptr;
sqlite3_vfs small{};
sqlite3_io_methods methods{};

qint64 usedIn(const QString &folder) {
    qint64 total = 0;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo &file : files)
        total += file.size();
    return total;
}

// The unix file first, this wrapper's methods in front of it.
struct File {
    sqlite3_file base;
    sqlite3_file *inner;
};

sqlite3_file *innerOf(sqlite3_file *file) {
    return reinterpret_cast<File *>(file)->inner;
}

// A method of the unix file, called on it.
template <auto method, typename... Args> auto pass(sqlite3_file *file, Args... args) {
    sqlite3_file *inner = innerOf(file);
    return (inner->pMethods->*method)(inner, args...);
}

int writeLimited(sqlite3_file *file, const void *data, int amount, sqlite3_int64 offset) {
    sqlite3_file *inner = innerOf(file);
    sqlite3_int64 size = 0;
    inner->pMethods->xFileSize(inner, &size);
    const qint64 growth = qMax<qint64>(0, offset + amount - size);
    if (growth > 0) {
        QMutexLocker lock(&folderLock);
        if (usedIn(watched) + growth > capacityBytes.load())
            return SQLITE_FULL;
    }
    return inner->pMethods->xWrite(inner, data, amount, offset);
}

int openLimited(sqlite3_vfs *, sqlite3_filename name, sqlite3_file *file, int flags,
                int *outFlags) {
    auto *wrapper = reinterpret_cast<File *>(file);
    wrapper->inner = reinterpret_cast<sqlite3_file *>(wrapper + 1);
    wrapper->base.pMethods = nullptr;
    const int rc = real->xOpen(real, name, wrapper->inner, flags, outFlags);
    if (rc != SQLITE_OK)
        return rc;
    // The unix file's methods, with the write that counts what grows.
    static const bool once = [&] {
        methods = *wrapper->inner->pMethods;
        using M = sqlite3_io_methods;
        methods.xClose = [](sqlite3_file *f) {
            const int closed = pass<&M::xClose>(f);
            f->pMethods = nullptr;
            return closed;
        };
        methods.xRead = pass<&M::xRead, void *, int, sqlite3_int64>;
        methods.xWrite = writeLimited;
        methods.xTruncate = pass<&M::xTruncate, sqlite3_int64>;
        methods.xSync = pass<&M::xSync, int>;
        methods.xFileSize = pass<&M::xFileSize, sqlite3_int64 *>;
        methods.xLock = pass<&M::xLock, int>;
        methods.xUnlock = pass<&M::xUnlock, int>;
        methods.xCheckReservedLock = pass<&M::xCheckReservedLock, int *>;
        methods.xFileControl = pass<&M::xFileControl, int, void *>;
        methods.xSectorSize = pass<&M::xSectorSize>;
        methods.xDeviceCharacteristics = pass<&M::xDeviceCharacteristics>;
        methods.xShmMap = pass<&M::xShmMap, int, int, int, void volatile **>;
        methods.xShmLock = pass<&M::xShmLock, int, int, int>;
        methods.xShmBarrier = pass<&M::xShmBarrier>;
        methods.xShmUnmap = pass<&M::xShmUnmap, int>;
        methods.xFetch = pass<&M::xFetch, sqlite3_int64, int, void **>;
        methods.xUnfetch = pass<&M::xUnfetch, sqlite3_int64, void *>;
        return true;
    }();
    (void)once;
    wrapper->base.pMethods = &methods;
    return SQLITE_OK;
}

} // namespace

SmallDisk::SmallDisk(const QString &folder, qint64 capacity) {
    {
        QMutexLocker lock(&folderLock);
        watched = folder;
    }
    capacityBytes = capacity;
    real = sqlite3_vfs_find(nullptr);
    small = *real;
    small.zName = "velmar-small-disk";
    small.szOsFile = int(sizeof(File)) + real->szOsFile;
    small.xOpen = openLimited;
    sqlite3_vfs_register(&small, 1);
}

SmallDisk::~SmallDisk() {
    sqlite3_vfs_unregister(&small);
    sqlite3_vfs_register(real, 1);
}

qint64 SmallDisk::used() const {
    QMutexLocker lock(&folderLock);
    return usedIn(watched);
}

qint64 SmallDisk::capacity() const {
    return capacityBytes.load();
}

void SmallDisk::setCapacity(qint64 bytes) {
    capacityBytes = bytes;
}
