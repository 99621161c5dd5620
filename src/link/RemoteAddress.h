#pragma once

#include <QObject>
#include <QString>

class QLineEdit;
class QWidget;

namespace devicelink {

// The remote address box IPAD: "0.0.0.0" selects the serial port, any other
// text is the host of a remote site's gateway. It holds "0.0.0.0" at every
// start; only the site chooser changes it.
class RemoteAddress : public QObject {
    Q_OBJECT
public:
    static const QString serialMarker; // "0.0.0.0"

    // Makes the box in the given window.
    explicit RemoteAddress(QWidget *parent);

    QLineEdit *box() const { return m_IPAD; }
    QString text() const;
    void setText(const QString &address);
    // Exactly "0.0.0.0": compared as text, no trimming.
    bool serialSelected() const;

signals:
    void changed(const QString &address);

private:
    QLineEdit *m_IPAD;
};

} // namespace devicelink
