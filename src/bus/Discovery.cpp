#include "bus/Discovery.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace bus {

namespace {
// Discovery topics and ids take letters, digits, '_' and '-' only.
QString idFrom(const QString &text) {
    QString out;
    for (const QChar c : text) {
        const bool plain = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                           c == QLatin1Char('-');
        out += plain ? c : QLatin1Char('_');
    }
    return out;
}

QByteArray compact(const QJsonObject &object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}
} // namespace

Discovery::Discovery(const BusSettings &settings)
    : m_settings(settings)
    , m_node(idFrom(settings.prefix + QLatin1Char('_') + settings.station)) {}

QString Discovery::jinjaString(const QString &text) {
    QString out = text;
    out.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    out.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QByteArray Discovery::configTopic(const char *component, const QString &object) const {
    return (m_settings.discoveryPrefix + QLatin1Char('/') + QLatin1String(component) +
            QLatin1Char('/') + m_node + QLatin1Char('/') + object + QStringLiteral("/config"))
        .toUtf8();
}

QByteArray Discovery::stationTopic(const QString &below) const {
    return (m_settings.base() + below).toUtf8();
}

namespace {
QJsonObject common(const QString &node, const QString &object, const QString &name,
                   const BusSettings &settings) {
    return {
        // The entity is named within its device ("Velmar gate-house Monitor 1"),
        // and its id says which station it is (select.velmar_gate_house_monitor_1).
        {QStringLiteral("name"), name},
        {QStringLiteral("has_entity_name"), true},
        {QStringLiteral("unique_id"), node + QLatin1Char('_') + object},
        {QStringLiteral("object_id"), node + QLatin1Char('_') + object},
        {QStringLiteral("availability_topic"), settings.base() + QStringLiteral("status")},
        {QStringLiteral("payload_available"), QStringLiteral("online")},
        {QStringLiteral("payload_not_available"), QStringLiteral("offline")},
        {QStringLiteral("device"),
         QJsonObject{
             {QStringLiteral("identifiers"), QJsonArray{node}},
             {QStringLiteral("name"), QStringLiteral("Velmar ") + settings.station},
             {QStringLiteral("manufacturer"), QStringLiteral("Velmar")},
             {QStringLiteral("model"), QStringLiteral("Velmar Controller")},
         }},
    };
}
} // namespace

Discovery::Config Discovery::monitor(int monitor, const QStringList &options) const {
    const QString object = QStringLiteral("monitor_%1").arg(monitor);
    QJsonObject config =
        common(m_node, object, QStringLiteral("Monitor %1").arg(monitor), m_settings);
    // The monitor's state names its camera by number; the select shows the
    // camera's name, and "None" (unknown) while the switcher has not said.
    QStringList pairs;
    for (int k = 0; k < options.size(); ++k)
        pairs << QStringLiteral("%1: %2").arg(k + 1).arg(jinjaString(options[k]));
    config.insert(QStringLiteral("value_template"),
                  QStringLiteral("{{ {%1}.get(value_json.camera, \"None\") }}")
                      .arg(pairs.join(QStringLiteral(", "))));
    config.insert(QStringLiteral("state_topic"),
                  QString::fromUtf8(stationTopic(QStringLiteral("monitor/%1").arg(monitor))));
    config.insert(QStringLiteral("command_topic"),
                  QString::fromUtf8(stationTopic(QStringLiteral("monitor/%1/set").arg(monitor))));
    config.insert(QStringLiteral("options"), QJsonArray::fromStringList(options));
    config.insert(QStringLiteral("icon"), QStringLiteral("mdi:monitor"));
    return {configTopic("select", object), compact(config)};
}

Discovery::Config Discovery::link() const {
    QJsonObject config =
        common(m_node, QStringLiteral("link"), QStringLiteral("Switcher link"), m_settings);
    config.insert(QStringLiteral("device_class"), QStringLiteral("connectivity"));
    config.insert(QStringLiteral("state_topic"),
                  QString::fromUtf8(stationTopic(QStringLiteral("link"))));
    config.insert(QStringLiteral("value_template"),
                  QStringLiteral("{{ \"ON\" if value_json.ok else \"OFF\" }}"));
    return {configTopic("binary_sensor", QStringLiteral("link")), compact(config)};
}

Discovery::Config Discovery::salvo(const QString &name) const {
    // A salvo's name may hold anything; its object id is a digest of it, the
    // same for the same name on every start.
    const QString object =
        QStringLiteral("salvo_") +
        QString::fromLatin1(
            QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex().left(12));
    QJsonObject config = common(m_node, object, QStringLiteral("Salvo %1").arg(name), m_settings);
    config.insert(QStringLiteral("command_topic"),
                  QString::fromUtf8(stationTopic(QStringLiteral("salvo/set"))));
    config.insert(QStringLiteral("payload_press"), name);
    return {configTopic("button", object), compact(config)};
}

Discovery::Config Discovery::tour(int tour, int monitor) const {
    const QString object = QStringLiteral("tour_%1").arg(tour);
    QJsonObject config = common(
        m_node, object, QStringLiteral("Tour %1 (monitor %2)").arg(tour).arg(monitor), m_settings);
    config.insert(QStringLiteral("state_topic"),
                  QString::fromUtf8(stationTopic(QStringLiteral("tour/%1").arg(tour))));
    config.insert(QStringLiteral("command_topic"),
                  QString::fromUtf8(stationTopic(QStringLiteral("tour/%1/set").arg(tour))));
    config.insert(QStringLiteral("value_template"),
                  QStringLiteral("{{ \"OFF\" if value_json.state == \"stopped\" else \"ON\" }}"));
    config.insert(QStringLiteral("payload_on"), QStringLiteral("ON"));
    config.insert(QStringLiteral("payload_off"), QStringLiteral("OFF"));
    return {configTopic("switch", object), compact(config)};
}

} // namespace bus
