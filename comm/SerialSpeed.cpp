#include "SerialSpeed.h"

bool IsSpeedAcceptable(unsigned requested, unsigned reported) {
    if (requested == 0 || reported == 0) {
        return false;
    }
    const unsigned long long deviation =
        requested > reported ? requested - reported : reported - requested;
    return deviation * 1000 <= static_cast<unsigned long long>(requested) * kSpeedTolerancePerMille;
}
