#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace config {

// A file of the storage folder, read whole and replaced whole. A rewrite
// goes to a temporary file renamed over the old one, so a crash or power cut
// never leaves it empty or half-written.
class StoredFile {
public:
    explicit StoredFile(QString path)
        : m_path(std::move(path)) {}

    // Nothing when the file does not exist or cannot be read.
    std::optional<QByteArray> read() const;
    // Creates the folder when it is missing; false when nothing was written.
    bool replace(const QByteArray &bytes) const;

private:
    QString m_path;
};

} // namespace config
