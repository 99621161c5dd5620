#pragma once

#include <QString>

namespace automation {

// `velmar-controller --alarm N on|off`: tells the running program that alarm
// input N became active or was cleared, through its alarm socket in `folder`
// (the runtime folder's), and waits at most a few seconds for its answer.
// Needs an application object. The exit status: 0 the program took it, 1 it
// refused it (message says why), 2 N or the state is not one, 3 no program
// answered.
int sendAlarm(const QString &input, const QString &state, QString &message,
              const QString &folder = {});

} // namespace automation
