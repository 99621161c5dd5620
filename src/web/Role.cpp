#include "web/Role.h"

namespace web {

QString roleName(Role role) {
    switch (role) {
    case Role::Viewer:
        return QStringLiteral("viewer");
    case Role::Operator:
        return QStringLiteral("operator");
    case Role::Supervisor:
        return QStringLiteral("supervisor");
    }
    return {};
}

std::optional<Role> roleFromName(const QString &name) {
    for (const Role role : {Role::Viewer, Role::Operator, Role::Supervisor}) {
        if (name == roleName(role))
            return role;
    }
    return std::nullopt;
}

} // namespace web
