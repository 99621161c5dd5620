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
        methods.xClose = [](sqlite3_file *f) {
            sqlite3_file *inner = innerOf(f);
            const int closed = inner->pMethods->xClose(inner);
            f->pMethods = nullptr;
            return closed;
        };
        methods.xRead = [](sqlite3_file *f, void *data, int amount, sqlite3_int64 offset) {
            sqlite3_file *inner = innerOf(f);
            return inner->pMethods->xRead(inner, data, amount, offset);
        };
        methods.xWrite = writeLimited;
        methods.xTruncate = [](sqlite3_file *f, sqlite3_int64 size) {
            sqlite3_file *inner = innerOf(f);
            return inner->pMethods->xTruncate(inner, size);
        };
        methods.xSync = [](sqlite3_file *f, int flags) {
            sqlite3_file *inner = innerOf(f);
            return inner->pMethods->xSync(inner, flags);
        };
        methods.xFileSize = [](sqlite3_file *f, sqlite3_int64 *size) {
            sqlite3_file *inner = innerOf(f);
            return inner->pMethods->xFileSize(inner, size);
        };
        methods.xLock = [](sqlite3_file *f, int level) {
            sqlite3_file *inner = innerOf(f);
            return inner->pMethods->xLock(inner, level);
        };
        methods.xUnlock = [](sqlite3_file *f, int level) {
            sqlite3_file *inner = innerOf(f);
            return inner->pMethods->xUnlock(inner, level);
        };
        methods.xCheckReservedLock = [](sqlite3_file *f, int *out) {
            sqlite3_file *inner = innerOf(f);
            return inner->pMethods->xCheckReservedLock(inner, out);
        };
        methods.xFileControl = [](sqlite3_file *f, int op, void *arg) {
            sqlite3_file *inner = innerOf(f);
            return inner->pMethods->xFileControl(inner, op, arg);
        };
        methods.xSectorSize = [](sqlite3_file *f) {
            sqlite3_file *inner = innerOf(f);
            return inner->pMethods->xSectorSize(inner);
        };
        methods.xDeviceCharacteristics = [](sqlite3_file *f) {
            sqlite3_file *inner = innerOf(f);
            return inner->pMethods->xDeviceCharacteristics(inner);
        };
        methods.xShmMap = [](sqlite3_file *f, int page, int size, int extend, void volatile **out) {
            sqlite3_file *inner = innerOf(f);
            return inner->pMethods->xShmMap(inner, page, size, extend, out);
        };
        methods.xShmLock = [](sqlite3_file *f, int offset, int n, int flags) {
            sqlite3_file *inner = innerOf(f);
            return inner->pMethods->xShmLock(inner, offset, n, flags);
        };
        methods.xShmBarrier = [](sqlite3_file *f) {
            sqlite3_file *inner = innerOf(f);
            inner->pMethods->xShmBarrier(inner);
        };
        methods.xShmUnmap = [](sqlite3_file *f, int deleteFlag) {
            sqlite3_file *inner = innerOf(f);
            return inner->pMethods->xShmUnmap(inner, deleteFlag);
        };
        methods.xFetch = [](sqlite3_file *f, sqlite3_int64 offset, int amount, void **out) {
            sqlite3_file *inner = innerOf(f);
            return inner->pMethods->xFetch(inner, offset, amount, out);
        };
        methods.xUnfetch = [](sqlite3_file *f, sqlite3_int64 offset, void *data) {
            sqlite3_file *inner = innerOf(f);
            return inner->pMethods->xUnfetch(inner, offset, data);
        };
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
