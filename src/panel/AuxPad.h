#pragma once

#include <QList>
#include <QObject>

class QWidget;

namespace devicelink {
class CommandSink;
}
namespace ui {
class Timer;
}

namespace panel {

// The auxiliary functions: A/P, Aux, Lamps, Wiper, Tour and Seq. Aux, Lamps
// and Wiper are followed 800 ms later by "B7", after which the switcher is
// asked for its status.
class AuxPad : public QObject {
    Q_OBJECT
public:
    enum Button { Seq, Wiper, AP, Lamps, Aux, Tour };

    AuxPad(QWidget *parent, devicelink::CommandSink &sink, ui::Timer &Timer4, ui::Timer &Timer3);

    void Click(Button button); // seq_Click, Wiper_Click, AP_Click, ...
    void Timer4_Timer();

    // The buttons, for the captions of a language file.
    const QList<QObject *> &captioned() const { return m_captioned; }

private:
    devicelink::CommandSink &m_sink;
    ui::Timer &m_Timer4;
    ui::Timer &m_Timer3;
    QList<QObject *> m_captioned;
};

} // namespace panel
