#include "bus/ReconnectDelay.h"

namespace bus {

int ReconnectDelay::afterFailures(int failures) {
    int seconds = firstSeconds;
    for (int n = 1; n < failures && seconds < longestSeconds; ++n)
        seconds *= 2;
    return seconds < longestSeconds ? seconds : longestSeconds;
}

} // namespace bus
