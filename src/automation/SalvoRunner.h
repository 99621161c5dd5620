#pragma once

#include "automation/AutomationFile.h"
#include "link/Switcher.h"

#include <QObject>
#include <deque>

namespace automation {

class Dispatcher;

// Recalls salvos: each route goes out after the one before it has, with its
// preset, as the operator's keypad would send them. A route that is refused
// (a locked monitor) is reported and the rest go on. Recalls asked for while
// one runs wait their turn.
class SalvoRunner : public QObject {
    Q_OBJECT
public:
    static constexpr int maxWaiting = 16;

    explicit SalvoRunner(Dispatcher &dispatcher, QObject *parent = nullptr);

    // The routes go out with `origin` ("salvo Night" at the priority of whoever
    // recalled it). done: Done when every route left, else the first refusal
    // or failure.
    void recall(const AutomationFile::Salvo &salvo, const devicelink::Origin &origin,
                const devicelink::Origin &by, devicelink::Done done);
    bool busy() const { return m_running; }

signals:
    void noted(const QString &origin, const QString &what);

private:
    struct Recall {
        AutomationFile::Salvo salvo;
        devicelink::Origin origin;
        devicelink::Done done;
        int next = 0;
        std::optional<devicelink::Outcome> failure;
    };
    void begin();
    void step();

    Dispatcher &m_dispatcher;
    std::deque<Recall> m_recalls;
    bool m_running = false;
};

} // namespace automation
