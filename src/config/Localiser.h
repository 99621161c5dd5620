#pragma once

#include <QList>
#include <QStringList>
#include <optional>

class QObject;

namespace config {

// Language files on screen: reads one, and gives a window's controls the
// captions of the lines that name them.
namespace Localiser {

// The captions of a language file, in file order, each its whole line;
// nothing when the file cannot be read (it then changes no caption), with
// the reason in whyNot when the file is there.
std::optional<QStringList> read(const QString &path, QString *whyNot = nullptr);

// Each control takes the caption of the line that names its window and its
// objectName; lines missing from a short file leave their captions alone.
void relabel(const QStringList &captions, const char *window, const QList<QObject *> &controls);

} // namespace Localiser

} // namespace config
