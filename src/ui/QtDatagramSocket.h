#pragma once

#include "ui/DatagramSocket.h"

#include <QElapsedTimer>
#include <QHostInfo>
#include <QList>
#include <QPair>
#include <QTimer>
#include <QUdpSocket>
#include <functional>

namespace ui {

// DatagramSocket over QUdpSocket. A host name is resolved without blocking
// when it is given; datagrams sent meanwhile wait, in order, for at most
// waitMs (a few of them at most), and leave as soon as the answer is in.
class QtDatagramSocket : public DatagramSocket {
    Q_OBJECT
public:
    static constexpr int waitMs = 5000;      // a command older than this is not sent
    static constexpr int maxWaiting = 16;    // datagrams kept while a name resolves
    static constexpr int retryMs = 10000;    // a name that failed is looked up again
    static constexpr int refreshMs = 300000; // an answer is looked up again after this

    // Looks a name up and calls back with its addresses, or an error text.
    using Answer = std::function<void(const QList<QHostAddress> &, const QString &error)>;
    using Resolver = std::function<void(const QString &name, QObject *context, Answer answer)>;

    explicit QtDatagramSocket(QObject *parent = nullptr);
    ~QtDatagramSocket() override;

    // The system's resolver, or a test's.
    void setResolver(Resolver resolver) { m_resolver = std::move(resolver); }

    void setRemoteHost(const QString &host) override;
    Outcome SendData(const QByteArray &datagram) override;
    bool isFromRemoteHost(const QHostAddress &sender) const override;
    HostState hostState() const override { return m_state; }
    QString hostProblem() const override { return m_problem; }
    QString inEnglish(const QString &said) const override {
        return said == m_english.first ? m_english.second : said;
    }
    quint16 localPort() const { return m_socket.localPort(); }

private:
    struct Waiting {
        QByteArray datagram;
        qint64 since; // ms on m_clock
    };

    bool sendTo(const QHostAddress &address, const QByteArray &datagram);
    void lookUp();
    void onAnswer(quint64 lookup, const QList<QHostAddress> &addresses, const QString &error);
    void expireWaiting();
    void dropAll(const QString &why);
    void setState(HostState state, const QString &problem = {});
    void onReadyRead();

    QUdpSocket m_socket;
    Resolver m_resolver;
    QHostAddress m_address; // the remote host's address once known
    QString m_name;         // the name being looked up or known
    HostState m_state = HostState::Ready;
    QString m_problem;
    QPair<QString, QString> m_english; // the last reason given, and in English
    quint64 m_lookup = 0;              // the lookup whose answer counts
    bool m_looking = false;
    QList<Waiting> m_waiting;
    QElapsedTimer m_clock;
    QTimer m_expiry;  // the oldest waiting datagram's deadline
    QTimer m_refresh; // the next lookup of a known or failed name
};

} // namespace ui
