#pragma once

#include "link/Switcher.h"

#include <QByteArrayView>
#include <QJsonObject>
#include <QString>
#include <optional>

namespace web {

// Reads the JSON bodies of the API's requests strictly: an object, each
// field of the expected type and in range, so that a request either means
// exactly one thing or is refused with the reason (400), never guessed.
class ApiInput {
public:
    // The body as a JSON object; an empty body is an empty object.
    static std::optional<QJsonObject> object(QByteArrayView body, QString *error);
    // A whole number from min to max; absent gives fallback, or an error without one.
    static std::optional<int> number(const QJsonObject &object, const QString &key, int min,
                                     int max, QString *error,
                                     std::optional<int> fallback = std::nullopt);
    static std::optional<bool> flag(const QJsonObject &object, const QString &key, QString *error,
                                    std::optional<bool> fallback = std::nullopt);
    // Text of 1 to maxLength characters.
    static std::optional<QString> text(const QJsonObject &object, const QString &key, int maxLength,
                                       QString *error);
    // A number from a path ("/api/v1/alarms/7"): digits only, min to max.
    static std::optional<int> pathNumber(QByteArrayView digits, int min, int max);

    // "left", "zoom-in", "iris-close" ...
    static std::optional<devicelink::Move> move(const QString &name);
    static QString moveName(devicelink::Move move);
    // "sequence", "wiper", "auto-pan", "lamps", "aux", "tour".
    static std::optional<devicelink::Auxiliary> auxiliary(const QString &name);
};

} // namespace web
