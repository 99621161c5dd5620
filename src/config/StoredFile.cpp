#include "config/StoredFile.h"

#include "ui/StorageFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace config {

namespace {
// Keeps the first lines of what is read, whole, with the line ends as they
// were; a line or a file past its bound ends the reading.
class LineBound {
public:
    enum class State { Reading, Full, LineTooLong, FileTooLong };

    explicit LineBound(const StoredFile::Limits &limits)
        : m_limits(limits) {}

    State state() const { return m_state; }
    const QByteArray &kept() const { return m_kept; }

    void take(const char *data, qint64 size) {
        qint64 i = 0;
        while (i < size && m_state == State::Reading) {
            if (m_afterCr) {
                // CR LF is one line end.
                m_afterCr = false;
                if (data[i] == '\n')
                    keep(data + i++, 1);
                if (m_lines >= m_limits.lines && m_state == State::Reading)
                    m_state = State::Full;
                continue;
            }
            qint64 end = i;
            while (end < size && data[end] != '\r' && (data[end] != '\n' || !m_limits.lfEndsLine))
                ++end;
            m_length += end - i;
            if (m_length > StoredFile::lineBound) {
                m_state = State::LineTooLong;
                return;
            }
            keep(data + i, end - i);
            if (end == size || m_state != State::Reading)
                return;
            keep(data + end, 1);
            m_length = 0;
            ++m_lines;
            m_afterCr = data[end] == '\r';
            if (!m_afterCr && m_lines >= m_limits.lines && m_state == State::Reading)
                m_state = State::Full;
            i = end + 1;
        }
    }

    // Why the reading stopped short, or nothing when it did not.
    QString fault() const {
        switch (m_state) {
        case State::LineTooLong:
            return QCoreApplication::translate("config::StoredFile", "a line over 1 MiB");
        case State::FileTooLong:
            return QCoreApplication::translate("config::StoredFile", "over 16 MiB");
        default:
            return {};
        }
    }

private:
    void keep(const char *data, qint64 n) {
        if (m_kept.size() + n > StoredFile::fileBound) {
            m_state = State::FileTooLong;
            return;
        }
        m_kept.append(data, n);
    }

    StoredFile::Limits m_limits;
    State m_state = State::Reading;
    QByteArray m_kept;
    int m_lines = 0;
    qint64 m_length = 0;
    bool m_afterCr = false;
};

#ifdef Q_OS_UNIX
bool writeAll(int fd, const QByteArray &bytes) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}
#endif
} // namespace

StoredFile::Contents StoredFile::load(const Limits &limits) const {
    Contents out;
    LineBound bound(limits);
    char buffer[64 * 1024];
#ifdef Q_OS_UNIX
    // Opened without waiting (a FIFO would block the open for ever), then
    // taken only when it is a regular file.
    const QByteArray name = QFile::encodeName(m_path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        out.presence =
            error == ENOENT || error == ENOTDIR ? Presence::Missing : Presence::Unreadable;
        if (out.presence == Presence::Unreadable)
            out.reason = QCoreApplication::translate("config::StoredFile", "cannot be opened (%1)")
                             .arg(qt_error_string(error));
        return out;
    }
    struct stat st {};
    out.presence = Presence::Unreadable;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        out.reason = QCoreApplication::translate("config::StoredFile", "not a regular file");
        ::close(fd);
        return out;
    }
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            out.reason = QCoreApplication::translate("config::StoredFile", "cannot be read (%1)")
                             .arg(qt_error_string(errno));
            break;
        }
        if (n > 0)
            bound.take(buffer, n);
        if (n == 0 || bound.state() != LineBound::State::Reading) {
            out.reason = bound.fault();
            out.presence = out.reason.isEmpty() ? Presence::Readable : Presence::Unreadable;
            break;
        }
    }
    ::close(fd);
#else
    QFile f(m_path);
    if (!f.exists())
        return out;
    out.presence = Presence::Unreadable;
    if (!QFileInfo(m_path).isFile()) {
        out.reason = QCoreApplication::translate("config::StoredFile", "not a regular file");
        return out;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        out.reason = QCoreApplication::translate("config::StoredFile", "cannot be opened (%1)")
                         .arg(f.errorString());
        return out;
    }
    for (;;) {
        const qint64 n = f.read(buffer, sizeof buffer);
        if (n < 0) {
            out.reason = QCoreApplication::translate("config::StoredFile", "cannot be read (%1)")
                             .arg(f.errorString());
            return out;
        }
        if (n > 0)
            bound.take(buffer, n);
        if (n == 0 || bound.state() != LineBound::State::Reading)
            break;
    }
    out.reason = bound.fault();
    out.presence = out.reason.isEmpty() ? Presence::Readable : Presence::Unreadable;
#endif
    if (out.presence == Presence::Readable)
        out.bytes = bound.kept();
    return out;
}

std::optional<QByteArray> StoredFile::read(const Limits &limits) const {
    Contents contents = load(limits);
    if (contents.presence != Presence::Readable)
        return std::nullopt;
    return std::move(contents.bytes);
}

bool StoredFile::replace(const QByteArray &bytes) const {
    ui::ensureFolder(QFileInfo(m_path).absolutePath());
    // Unbuffered, so that a write the disk refuses (full, over quota) fails
    // here: a buffered one "succeeds" into the buffer, and the commit would
    // then rename a short temporary file over the whole old one.
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (f.write(bytes) != bytes.size() || f.error() != QFileDevice::NoError) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

bool StoredFile::append(const std::function<QByteArray(const QByteArray &tail)> &addition) const {
    ui::ensureFolder(QFileInfo(m_path).absolutePath());
#ifdef Q_OS_UNIX
    // Without waiting, as a read; a FIFO or a device is never written to.
    const QByteArray name = QFile::encodeName(m_path);
    const int fd =
        ::open(name.constData(), O_RDWR | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool written = false;
    struct stat st {};
    char last = 0;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
        (st.st_size == 0 || ::pread(fd, &last, 1, st.st_size - 1) == 1)) {
        written = writeAll(fd, addition(st.st_size == 0 ? QByteArray() : QByteArray(1, last)));
        if (!written) {
            // A part of the addition (a disk that filled up) is taken back.
            const int undone = ::ftruncate(fd, st.st_size);
            Q_UNUSED(undone);
        }
    }
    if (::close(fd) != 0)
        written = false;
    return written;
#else
    if (QFileInfo::exists(m_path) && !QFileInfo(m_path).isFile())
        return false;
    QFile f(m_path);
    if (!f.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered))
        return false;
    const qint64 size = f.size();
    QByteArray tail;
    if (size > 0 && (!f.seek(size - 1) || (tail = f.read(1)).size() != 1))
        return false;
    const QByteArray bytes = addition(tail);
    if (f.write(bytes) != bytes.size()) {
        f.resize(size);
        return false;
    }
    return true;
#endif
}

} // namespace config
