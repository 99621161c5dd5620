#include "panel/NumberEntry.h"

namespace panel {

using Kind = NumberEntry::Result::Kind;

int NumberEntry::highest(Target target) {
    switch (target) {
    case Target::Monitor:
    case Target::Lock:
        return 4;
    case Target::Camera:
    case Target::Preset:
        return 16;
    case Target::Acknowledge:
        return 64;
    default:
        return 999;
    }
}

bool NumberEntry::expire(qint64 nowMs) {
    if (m_typed.isEmpty() || nowMs - m_lastKeyMs < timeoutMs)
        return false;
    m_typed.clear();
    return true;
}

NumberEntry::Result NumberEntry::digit(int digit, qint64 nowMs) {
    expire(nowMs);
    m_lastKeyMs = nowMs;
    if (digit < 0 || digit > 9)
        return {};
    // A number longer than any the switcher knows stays as typed, to be
    // refused whole with the letter, instead of rolling over into another.
    if (m_typed.size() < maxDigits)
        m_typed.append(QChar(u'0' + digit));
    return {Kind::Typing};
}

NumberEntry::Result NumberEntry::choose(Target target, qint64 nowMs) {
    expire(nowMs);
    m_lastKeyMs = nowMs;
    if (m_typed.isEmpty())
        return {Kind::NoNumber, target};
    const int number = m_typed.toInt();
    m_typed.clear();
    const bool inRange = number >= 1 && number <= highest(target);
    return {inRange ? Kind::Chosen : Kind::OutOfRange, target, number};
}

NumberEntry::Result NumberEntry::erase(qint64 nowMs) {
    if (expire(nowMs) || m_typed.isEmpty())
        return {};
    m_lastKeyMs = nowMs;
    m_typed.chop(1);
    return {m_typed.isEmpty() ? Kind::Cleared : Kind::Typing};
}

NumberEntry::Result NumberEntry::clear() {
    if (m_typed.isEmpty())
        return {};
    m_typed.clear();
    return {Kind::Cleared};
}

} // namespace panel
