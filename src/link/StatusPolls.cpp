#include "link/StatusPolls.h"

#include "ui/Timer.h"

namespace devicelink {

StatusPolls::StatusPolls(QObject *parent)
    : QObject(parent)
    , m_Timer3(new ui::Timer(QStringLiteral("Timer3"), 1000, true, this))
    , m_Timer5(new ui::Timer(QStringLiteral("Timer5"), 4000, true, this)) {}

void StatusPolls::stop() {
    m_Timer5->setEnabled(false);
    m_Timer3->setEnabled(false);
}

void StatusPolls::start() {
    m_Timer3->setEnabled(true);
    m_Timer5->setEnabled(true);
}

} // namespace devicelink
