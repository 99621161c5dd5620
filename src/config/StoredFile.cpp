#include "config/StoredFile.h"

#include "ui/StorageFolder.h"

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
// No stored file is anywhere near this long; a longer one is not read on.
constexpr qint64 scanLimit = 16 * 1024 * 1024;

// Keeps the first lines of what is read, each cut to its length limit, with
// the line ends as they were.
class LineBound {
public:
    explicit LineBound(const StoredFile::Limits &limits)
        : m_limits(limits) {}

    // The last line and its line end (a CR LF too) are in.
    bool full() const { return m_lines >= m_limits.lines && !m_afterCr; }
    const QByteArray &kept() const { return m_kept; }

    void take(const char *data, qint64 size) {
        for (qint64 i = 0; i < size && !full(); ++i) {
            const char c = data[i];
            if (m_afterCr) {
                m_afterCr = false;
                if (c == '\n') {
                    m_kept.append(c); // CR LF is one line end
                    continue;
                }
                if (full())
                    break;
            }
            if (c == '\r' || (c == '\n' && m_limits.lfEndsLine)) {
                m_kept.append(c);
                m_length = 0;
                ++m_lines;
                m_afterCr = c == '\r';
                continue;
            }
            if (m_length++ < m_limits.lineLength)
                m_kept.append(c);
        }
    }

private:
    StoredFile::Limits m_limits;
    QByteArray m_kept;
    int m_lines = 0;
    qint64 m_length = 0;
    bool m_afterCr = false;
};
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
        out.presence =
            errno == ENOENT || errno == ENOTDIR ? Presence::Missing : Presence::Unreadable;
        return out;
    }
    struct stat st {};
    out.presence = Presence::Unreadable;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        qint64 scanned = 0;
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                break;
            if (n == 0 || bound.full() || scanned >= scanLimit) {
                out.presence = Presence::Readable;
                break;
            }
            bound.take(buffer, n);
            scanned += n;
        }
    }
    ::close(fd);
#else
    QFile f(m_path);
    if (!f.exists())
        return out;
    out.presence = Presence::Unreadable;
    if (!QFileInfo(m_path).isFile() || !f.open(QIODevice::ReadOnly))
        return out;
    qint64 scanned = 0;
    for (;;) {
        const qint64 n = f.read(buffer, sizeof buffer);
        if (n < 0)
            return out;
        if (n == 0 || bound.full() || scanned >= scanLimit)
            break;
        bound.take(buffer, n);
        scanned += n;
    }
    out.presence = Presence::Readable;
#endif
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

} // namespace config
