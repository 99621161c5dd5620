#include "Panel.h"

#include "link/CommandCode.h"

#include <QAbstractButton>
#include <QLineEdit>

void Panel::selectSite(const QString &address) {
    find<QLineEdit>("IPAD")->setText(address);
}

void Panel::click(const QString &name) {
    if (auto *button = find<QAbstractButton>(name))
        QTest::mouseClick(button, Qt::LeftButton);
}

QByteArray Panel::takeWritten() {
    return std::exchange(port.written, {});
}

QList<QByteArray> Panel::takeDatagrams() {
    QList<QByteArray> out;
    for (const auto &s : std::exchange(socket.sent, {}))
        out.append(s.datagram);
    return out;
}

QByteArray serialFrames(const QStringList &codes) {
    QByteArray out;
    for (const QString &code : codes) {
        out.append(static_cast<char>(*devicelink::commandValue(code)));
        out.append('\r');
    }
    return out;
}
