#pragma once

#include <QString>

namespace devicelink {

// Which channel the session uses: the serial port, or the gateway of a
// remote site. The address box shows it as text, "0.0.0.0" for the serial
// port; that text is read in one place, here.
class ChannelChoice {
public:
    static const QString serialMarker; // "0.0.0.0"

    static ChannelChoice serial() { return ChannelChoice(); }
    static ChannelChoice site(const QString &host) { return ChannelChoice(host); }
    // Exactly "0.0.0.0" (compared as text, no trimming) is the serial port;
    // any other text, an empty one too, is a site.
    static ChannelChoice fromAddress(const QString &text);

    bool isSerial() const { return m_serial; }
    // The site's host as given; empty for the serial port.
    QString host() const { return m_host; }
    // What the address box shows: "0.0.0.0" or the site.
    QString addressText() const { return m_serial ? serialMarker : m_host; }

    bool operator==(const ChannelChoice &other) const = default;

private:
    ChannelChoice() = default;
    explicit ChannelChoice(QString host)
        : m_serial(false)
        , m_host(std::move(host)) {}

    bool m_serial = true;
    QString m_host;
};

} // namespace devicelink
