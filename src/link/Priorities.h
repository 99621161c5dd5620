#pragma once

#include "link/Origin.h"

namespace ui {
class SettingsStore;
}

namespace devicelink {

// How much each kind of source weighs when two want one monitor or one
// camera: small integers in settings.ini [Priorities], higher wins. The
// defaults let the local operator win over every remote client and an
// alarm win over the operator.
struct Priorities {
    int tour = 10;
    int videohub = 20;
    int mqtt = 20;
    int webOperator = 40; // [Priorities] Operator=, a web user of the role operator
    int panel = 50;
    int alarm = 60;
    int supervisor = 80; // a web user of the role supervisor

    // [Priorities] as set; a key missing or not a number keeps its default.
    static Priorities read(const ui::SettingsStore &settings);

    // What an origin weighs: its own priority when it names one, else its kind's.
    int of(const Origin &origin) const;
};

} // namespace devicelink
