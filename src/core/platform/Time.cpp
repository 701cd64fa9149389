// Packed DOS time stamps of local time, as the copy decision compares them.
#include <ctime>

#include "platform/FileSystem.h"

namespace twinfold::platform {

std::optional<std::uint32_t> PackLocalTime(std::int64_t seconds) {
    std::time_t time = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) return std::nullopt;
    int year = local.tm_year + 1900;
    if (year < 1980 || year > 2107) return std::nullopt;
    std::uint32_t packed = static_cast<std::uint32_t>(year - 1980) << 25;
    packed |= static_cast<std::uint32_t>(local.tm_mon + 1) << 21;
    packed |= static_cast<std::uint32_t>(local.tm_mday) << 16;
    packed |= static_cast<std::uint32_t>(local.tm_hour) << 11;
    packed |= static_cast<std::uint32_t>(local.tm_min) << 5;
    // A leap second (60) would overflow the five bits.
    packed |= static_cast<std::uint32_t>(local.tm_sec > 59 ? 59 : local.tm_sec) / 2;
    return packed;
}

// mktime would look at the time-zone file again on every call when TZ is
// unset; the offset that localtime_r gives (rules loaded once) does as well.
std::int64_t UnpackLocalTime(std::uint32_t packed) {
    std::tm local{};
    local.tm_year = static_cast<int>(packed >> 25) + 80;
    local.tm_mon = static_cast<int>((packed >> 21) & 0x0F) - 1;
    local.tm_mday = static_cast<int>((packed >> 16) & 0x1F);
    local.tm_hour = static_cast<int>((packed >> 11) & 0x1F);
    local.tm_min = static_cast<int>((packed >> 5) & 0x3F);
    local.tm_sec = static_cast<int>(packed & 0x1F) * 2;
    const std::time_t asUtc = timegm(&local);
    // The offset at the guess, then at the first answer, settles the hours
    // around a change of daylight saving time.
    std::time_t answer = asUtc;
    for (int pass = 0; pass < 2; ++pass) {
        std::tm probe{};
        if (localtime_r(&answer, &probe) == nullptr) return asUtc;
        answer = asUtc - probe.tm_gmtoff;
    }
    return static_cast<std::int64_t>(answer);
}

}  // namespace twinfold::platform
