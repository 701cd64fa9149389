#pragma once

#include "desktop/Desktop.h"

namespace twinfold {

// The busy cursor for the length of a scope, shown on request (a read shows
// it only once it turns out long) and turned back however the scope ends.
// Desktop cannot tell the former cursor, so only a cursor this object turned
// busy is turned back.
class BusyCursor {
public:
    // Without a desktop nothing is shown.
    explicit BusyCursor(Desktop* desktop) : desktop_(desktop) {}
    ~BusyCursor() {
        if (shown_) desktop_->SetBusyCursor(false);
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    void Show() {
        if (desktop_ == nullptr || shown_) return;
        desktop_->SetBusyCursor(true);
        shown_ = true;
    }

    // Shows it and lets it be drawn before a step that keeps the desktop
    // waiting.
    void ShowNow() {
        Show();
        if (desktop_ != nullptr) desktop_->ProcessMessages();
    }

private:
    Desktop* desktop_;
    bool shown_ = false;
};

}  // namespace twinfold
