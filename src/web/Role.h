#pragma once

#include <QString>
#include <optional>

namespace web {

// What a user of the browser panel may do. A viewer looks; an operator also
// routes, moves cameras, recalls presets, works the auxiliary functions,
// salvos, tours, alarms and its own locks; a supervisor also forces locks.
enum class Role : quint8 { Viewer, Operator, Supervisor };

// "viewer", "operator", "supervisor": the words of users.ini, the command
// line and the API.
QString roleName(Role role);
std::optional<Role> roleFromName(const QString &name);

inline bool mayAct(Role role) {
    return role != Role::Viewer;
}
inline bool mayForce(Role role) {
    return role == Role::Supervisor;
}

} // namespace web
