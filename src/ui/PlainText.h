#pragma once

#include <QString>

class QLabel;

namespace ui {

// Texts that come from outside (camera titles from files or clients, site
// names, file names, event texts, a client's name) are shown as they are:
// Qt takes a text that looks like markup for rich text, and would then load
// the images it names and paint its fonts.

// The text as a tooltip shows it literally, markup and all.
QString plainToolTip(const QString &text);

// The label shows its texts literally from now on.
QLabel *plainLabel(QLabel *label);

} // namespace ui
