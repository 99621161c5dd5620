#pragma once

#include <QString>
#include <QStringList>

namespace bus {

// Why the client is not connected, kept as its English text and arguments:
// the event log takes it in English, the status bar in the language in use
// when it is shown. Texts are marked with QT_TRANSLATE_NOOP("bus::Reason", ...).
struct Reason {
    Reason() = default;
    Reason(const char *source, QStringList arguments = {}) // NOLINT: a text alone is a reason
        : text(source)
        , args(std::move(arguments)) {}

    const char *text = nullptr;
    QStringList args;

    bool isEmpty() const { return text == nullptr; }
    QString english() const;
    QString translated() const;
    bool operator==(const Reason &other) const;
};

} // namespace bus
