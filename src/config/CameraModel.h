#pragma once

#include <QObject>
#include <QStringList>

namespace config {

// The cameras' titles and types and the language file in use: what the
// configuration file keeps between runs. The panel's title labels show the
// titles; the camera title dialog edits titles and types; the language
// chooser sets the language file.
class CameraModel : public QObject {
    Q_OBJECT
public:
    static constexpr int cameras = 16;

    // Where the stored file stands with respect to this model.
    enum class Stored {
        NotRead,    // start-up ended before reading it: what is on disk is the operator's
        Read,       // read at start-up (or found missing or fresh): rewritten every second
        Unreadable, // it exists but cannot be read: never replaced
    };

    explicit CameraModel(QObject *parent = nullptr);

    // Cameras count from 1.
    QString title(int camera) const { return m_titles.value(camera - 1); }
    void setTitle(int camera, const QString &title);
    // Empty until the configuration has been read; "F" for a type never chosen.
    QString type(int camera) const { return m_types.value(camera - 1); }
    void setType(int camera, const QString &type);
    QString languageFile() const { return m_languageFile; }
    void setLanguageFile(const QString &path) { m_languageFile = path; }

    Stored stored() const { return m_stored; }
    void setStored(Stored stored) { m_stored = stored; }

    // The design caption "CAMERA 1" .. "CAMERA 16".
    static QString designTitle(int camera);

signals:
    void titleChanged(int camera, const QString &title);

private:
    QStringList m_titles;
    QStringList m_types;
    QString m_languageFile;
    Stored m_stored = Stored::NotRead;
};

} // namespace config
