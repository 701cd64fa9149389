#include "controls/TGauge.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>

namespace twinfold {
namespace {

Error OutOfRange(int low, int high) {
    char text[64];
    std::snprintf(text, sizeof text, "Value must be between %d and %d", low, high);
    return Error{text, 0};
}

int PercentOf(std::int64_t min, std::int64_t max, std::int64_t progress) {
    if (max == min) return 0;
    return static_cast<int>(100 * (progress - min) / (max - min));
}

}  // namespace

Status TGauge::SetMinValue(int value) {
    if (value > max_) return OutOfRange(std::numeric_limits<std::int32_t>::min(), max_);
    Update(value, max_, std::max(progress_, value));
    return Ok();
}

Status TGauge::SetMaxValue(int value) {
    if (value < min_) return OutOfRange(min_, std::numeric_limits<std::int32_t>::max());
    Update(min_, value, std::min(progress_, value));
    return Ok();
}

void TGauge::SetProgress(int value) { Update(min_, max_, std::clamp(value, min_, max_)); }

int TGauge::Percent() const { return PercentOf(min_, max_, progress_); }

void TGauge::Update(int min, int max, int progress) {
    int before = Percent();
    min_ = min;
    max_ = max;
    progress_ = progress;
    if (Percent() != before) OnChange();
}

}  // namespace twinfold
