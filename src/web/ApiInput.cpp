#include "web/ApiInput.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <QJsonValue>
#include <cmath>
#include <utility>

namespace web {

namespace {
using devicelink::Auxiliary;
using devicelink::Move;

const std::pair<const char *, Move> moveNames[] = {
    {"up", Move::Up},
    {"left", Move::Left},
    {"right", Move::Right},
    {"down", Move::Down},
    {"zoom-in", Move::ZoomIn},
    {"zoom-out", Move::ZoomOut},
    {"focus-near", Move::FocusNear},
    {"focus-far", Move::FocusFar},
    {"iris-open", Move::IrisOpen},
    {"iris-close", Move::IrisClose},
};

const std::pair<const char *, Auxiliary> auxiliaryNames[] = {
    {"sequence", Auxiliary::Sequence}, {"wiper", Auxiliary::Wiper},
    {"auto-pan", Auxiliary::AutoPan},  {"lamps", Auxiliary::Lamps},
    {"aux", Auxiliary::Aux},           {"tour", Auxiliary::Tour},
};

void say(QString *error, const QString &text) {
    if (error)
        *error = text;
}
} // namespace

std::optional<QJsonObject> ApiInput::object(QByteArrayView body, QString *error) {
    if (body.trimmed().isEmpty())
        return QJsonObject();
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(body.toByteArray(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        say(error, QStringLiteral("the body is not JSON: %1 at %2")
                       .arg(parseError.errorString())
                       .arg(parseError.offset));
        return std::nullopt;
    }
    if (!document.isObject()) {
        say(error, QStringLiteral("the body is not a JSON object"));
        return std::nullopt;
    }
    return document.object();
}

std::optional<int> ApiInput::number(const QJsonObject &object, const QString &key, int min, int max,
                                    QString *error, std::optional<int> fallback) {
    const QJsonValue value = object.value(key);
    if (value.isUndefined() && fallback)
        return fallback;
    const double d = value.toDouble(std::nan(""));
    if (!value.isDouble() || std::isnan(d) || d != std::floor(d) || d < min || d > max) {
        say(error, QStringLiteral("\"%1\" must be a whole number from %2 to %3")
                       .arg(key)
                       .arg(min)
                       .arg(max));
        return std::nullopt;
    }
    return int(d);
}

std::optional<bool> ApiInput::flag(const QJsonObject &object, const QString &key, QString *error,
                                   std::optional<bool> fallback) {
    const QJsonValue value = object.value(key);
    if (value.isUndefined() && fallback)
        return fallback;
    if (!value.isBool()) {
        say(error, QStringLiteral("\"%1\" must be true or false").arg(key));
        return std::nullopt;
    }
    return value.toBool();
}

std::optional<QString> ApiInput::text(const QJsonObject &object, const QString &key, int maxLength,
                                      QString *error) {
    const QJsonValue value = object.value(key);
    if (!value.isString() || value.toString().isEmpty() || value.toString().size() > maxLength) {
        say(error,
            QStringLiteral("\"%1\" must be text of 1 to %2 characters").arg(key).arg(maxLength));
        return std::nullopt;
    }
    return value.toString();
}

std::optional<int> ApiInput::pathNumber(QByteArrayView digits, int min, int max) {
    if (digits.isEmpty() || digits.size() > 6)
        return std::nullopt;
    int n = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    if (n < min || n > max)
        return std::nullopt;
    return n;
}

std::optional<devicelink::Move> ApiInput::move(const QString &name) {
    for (const auto &[text, move] : moveNames) {
        if (name == QLatin1String(text))
            return move;
    }
    return std::nullopt;
}

QString ApiInput::moveName(devicelink::Move move) {
    for (const auto &[text, m] : moveNames) {
        if (m == move)
            return QLatin1String(text);
    }
    return {};
}

std::optional<devicelink::Auxiliary> ApiInput::auxiliary(const QString &name) {
    for (const auto &[text, function] : auxiliaryNames) {
        if (name == QLatin1String(text))
            return function;
    }
    return std::nullopt;
}

} // namespace web
