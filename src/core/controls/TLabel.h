#pragma once

#include <functional>
#include <limits>
#include <string>

#include "controls/Signal.h"

namespace twinfold {

// A text label. A view that knows its font installs `measure` and `width`
// so that models can shorten texts to fit (a directory list's label).
class TLabel {
public:
    using Measure = std::function<int(const std::string&)>;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption) {
        caption_ = caption;
        OnChange();
    }

    // Without a view: one unit per byte and no limit.
    Measure measure = [](const std::string& text) { return static_cast<int>(text.size()); };
    int width = std::numeric_limits<int>::max();

    Signal<> OnChange;

private:
    std::string caption_;
};

}  // namespace twinfold
