#pragma once

#include <QByteArray>
#include <QStringList>

namespace config {

// A language file: one caption per line, for 32 controls in a fixed order.
// A line ends at CR or CR LF; a lone LF is part of the caption.
class LanguageFile {
public:
    static constexpr int captionCount = 32;

    struct Slot {
        const char *window;  // objectName of the window ("frmTerminal", "frmProperties", ...)
        const char *control; // objectName of the control
        const char *builtIn; // the caption built into the window
    };
    // The 32 captions in file order.
    static const Slot table[captionCount];

    // The captions a file's bytes give, at most 32, in file order.
    static QStringList captions(const QByteArray &bytes);
};

} // namespace config
