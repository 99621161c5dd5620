#pragma once

#include <QList>
#include <QStringList>
#include <optional>

class QObject;

namespace config {

// Language files on screen: reads one, and gives a window's controls the
// captions of the lines that name them.
namespace Localiser {

// The captions of a language file, in file order; nothing when the file
// cannot be read (it then changes no caption).
std::optional<QStringList> read(const QString &path);

// Each control takes the caption of the line that names its window and its
// objectName; lines missing from a short file leave their captions alone.
void relabel(const QStringList &captions, const char *window, const QList<QObject *> &controls);

} // namespace Localiser

} // namespace config
