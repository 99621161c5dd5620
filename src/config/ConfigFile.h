#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace config {

// The 35-line configuration file velmarcontroller.ini: the main window's left
// and top in twips, then title and type of cameras 1 to 16, then the language
// file's path; Latin-1 text, every line ending in CR LF.
struct ConfigFile {
    static constexpr int cameras = 16;
    static constexpr int lineCount = 35;

    QString left; // position texts as written or read
    QString top;
    QStringList titles; // 16 camera titles
    QStringList types;  // 16 camera types ("Dome", "P&T", "FIX", or "F")
    QString languageFile;

    // The design captions "CAMERA 1" .. "CAMERA 16" and type "F" everywhere.
    static ConfigFile defaults();

    QByteArray bytes() const;

    // The lines of a file: CR LF, CR or LF end a line.
    static QStringList lines(const QByteArray &bytes);

    // What a start-up reads from a file's bytes.
    static struct ConfigReading read(const QByteArray &bytes);

    // Position text of the periodic rewrite: the plain number.
    static QString positionText(int twips);
    // Position text of the camera title dialog's save: " 15 ", "-15 ".
    static QString paddedPositionText(int twips);
    // A position line read back; blanks around the number are accepted.
    static std::optional<int> parsePosition(const QString &text);

    // Whether the title, kept as camera's (1 to 16), reads back as it is: not
    // an empty title for camera 1 (a file read as new), nothing that is not
    // one Latin-1 line.
    static bool keepsTitle(int camera, const QString &title);
};

// A file whose camera 1 title is empty or missing is fresh: nothing past
// line 2 is taken from it. Cameras past the end of a short file keep the
// design title and "F".
struct ConfigReading {
    bool fresh = true;
    QString left;
    QString top;
    ConfigFile file = ConfigFile::defaults();
};

} // namespace config
