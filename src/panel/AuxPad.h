#pragma once

#include <QList>
#include <QObject>

class QWidget;

namespace devicelink {
class Switcher;
}

namespace panel {

// The auxiliary functions: A/P, Aux, Lamps, Wiper, Tour and Seq, each asked
// of the switcher's operations (Aux, Lamps and Wiper are followed there 800
// ms later by their release, after which the switcher is asked for its status).
class AuxPad : public QObject {
    Q_OBJECT
public:
    enum Button { Seq, Wiper, AP, Lamps, Aux, Tour };

    AuxPad(QWidget *parent, devicelink::Switcher &switcher);

    void Click(Button button); // seq_Click, Wiper_Click, AP_Click, ...

    // The buttons, for the captions of a language file.
    const QList<QObject *> &captioned() const { return m_captioned; }

private:
    devicelink::Switcher &m_switcher;
    QList<QObject *> m_captioned;
};

} // namespace panel
