// Account identities and the weekday byte of a reminder as the settings file stores it.
#include "app/DataModel.h"

#include <atomic>

uint64_t NewAccountId() {
    static std::atomic<uint64_t> last{0};
    return ++last;
}

uint8_t PackWeekdays(const std::array<bool, 8>& dnNedel) {
    uint8_t weekdays = 0;
    for (int day = 1; day <= 7; ++day) {
        if (dnNedel[day]) {
            weekdays |= static_cast<uint8_t>(1u << day);
        }
    }
    return weekdays;
}

std::array<bool, 8> UnpackWeekdays(uint8_t weekdays) {
    std::array<bool, 8> dnNedel{};
    for (int day = 1; day <= 7; ++day) {
        dnNedel[day] = (weekdays >> day) & 1u;
    }
    return dnNedel;
}
