#pragma once

#include "link/Switcher.h"

#include <QObject>
#include <QPointer>
#include <deque>
#include <functional>

namespace automation {

// Puts a camera on a monitor for the automation, with its preset when it has
// one. A preset recall is refused while another runs, so the automation's
// own calls with a preset go one after the other, each route directly
// followed by its preset; a call without a preset goes at once, so that a
// tour's step keeps its time.
class Dispatcher : public QObject {
    Q_OBJECT
public:
    // How the route went, and how its preset went (Done when there was none).
    using Finished =
        std::function<void(const devicelink::Outcome &route, const devicelink::Outcome &preset)>;
    // Calls with a preset that may wait at once; one more is refused.
    static constexpr int maxWaiting = 64;

    explicit Dispatcher(devicelink::Switcher &switcher, QObject *parent = nullptr);

    // finished is called once, unless the dispatcher goes first.
    void put(int monitor, int camera, int preset, const devicelink::Origin &origin,
             Finished finished);
    int waiting() const { return int(m_waiting.size()); }

private:
    struct Call {
        int monitor;
        int camera;
        int preset;
        devicelink::Origin origin;
        Finished finished;
    };
    void next();
    void recallPreset(const Call &call, const devicelink::Outcome &route);

    devicelink::Switcher &m_switcher;
    std::deque<Call> m_waiting;
    bool m_busy = false;
};

} // namespace automation
