#pragma once

#include <cstdint>

#include "controls/Signal.h"
#include "platform/Result.h"

namespace twinfold {

// A horizontal percentage bar. Progress always lies in [MinValue, MaxValue].
// OnChange fires only when the whole-number percentage changes, so a view
// redraws at most about a hundred times however many steps a run takes.
class TGauge {
public:
    int MinValue() const { return min_; }
    int MaxValue() const { return max_; }
    int Progress() const { return progress_; }

    // Refuses a minimum above MaxValue with "Value must be between
    // -2147483648 and <MaxValue>" (the range the minimum may take). Raising
    // the minimum above Progress raises Progress with it.
    Status SetMinValue(int value);
    // Refuses a maximum below MinValue with "Value must be between
    // <MinValue> and 2147483647". Lowering the maximum below Progress lowers
    // Progress with it.
    Status SetMaxValue(int value);
    // Clamps `value` into [MinValue, MaxValue].
    void SetProgress(int value);

    // The whole-number part of 100 * (Progress - MinValue) / (MaxValue -
    // MinValue); 0 when the range is empty.
    int Percent() const;

    Signal<> OnChange;

private:
    // Applies a new state and notifies when the percentage moved.
    void Update(int min, int max, int progress);

    std::int32_t min_ = 0;
    std::int32_t max_ = 100;
    std::int32_t progress_ = 0;
};

}  // namespace twinfold
