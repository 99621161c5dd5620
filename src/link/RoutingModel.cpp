#include "link/RoutingModel.h"

namespace devicelink {

void RoutingModel::apply(const StatusReply &reply, qint64 at, const QString &channel) {
    m_last = reply;
    ++m_replies;
    m_lit.monitor = reply.monitor;
    m_lit.monitorStale = false;
    if (reply.camera != 0) {
        m_lit.camera = reply.camera;
        m_lit.cameraStale = false;
    }
    emit litChanged();
    // A reply that names no camera says nothing of the routing.
    if (reply.camera == 0 || reply.monitor < 1 || reply.monitor > monitors)
        return;
    Entry &e = m_entries[reply.monitor - 1];
    const bool news = e.camera != reply.camera || e.stale;
    e.camera = reply.camera;
    e.at = at;
    if (e.channel != channel)
        e.channel = channel;
    e.stale = false;
    if (news)
        emit changed(reply.monitor);
}

void RoutingModel::markStale() {
    const bool litStale =
        (m_lit.camera != 0 && !m_lit.cameraStale) || (m_lit.monitor != 0 && !m_lit.monitorStale);
    m_lit.cameraStale = m_lit.camera != 0;
    m_lit.monitorStale = m_lit.monitor != 0;
    if (litStale)
        emit litChanged();
    for (int m = 1; m <= monitors; ++m) {
        Entry &e = m_entries[m - 1];
        if (e.camera != 0 && !e.stale) {
            e.stale = true;
            emit changed(m);
        }
    }
}

} // namespace devicelink
