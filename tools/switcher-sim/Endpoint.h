#pragma once

#include <QHostAddress>
#include <QString>
#include <optional>

namespace sim {

// An address and UDP port given on the command line: "127.0.0.1:2000",
// "[::1]:2000", or a bare port, which listens on 127.0.0.1. Port 0 lets the
// system choose one.
struct Endpoint {
    QHostAddress address;
    quint16 port = 0;

    static std::optional<Endpoint> parse(const QString &text, QString *error = nullptr);
    QString text() const;
};

} // namespace sim
