#include "bus/Reason.h"

#include <QCoreApplication>
#include <cstring>

namespace bus {

namespace {
// One pass over the text, so that an argument holding "%1" stays as it is.
QString filled(const QString &text, const QStringList &args) {
    switch (args.size()) {
    case 0:
        return text;
    case 1:
        return text.arg(args[0]);
    case 2:
        return text.arg(args[0], args[1]);
    default:
        return text.arg(args[0], args[1], args[2]);
    }
}
} // namespace

QString Reason::english() const {
    return text ? filled(QString::fromUtf8(text), args) : QString();
}

QString Reason::translated() const {
    return text ? filled(QCoreApplication::translate("bus::Reason", text), args) : QString();
}

bool Reason::operator==(const Reason &other) const {
    if (!text || !other.text)
        return text == other.text;
    return std::strcmp(text, other.text) == 0 && args == other.args;
}

} // namespace bus
