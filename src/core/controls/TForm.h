#pragma once

#include "controls/Signal.h"

namespace twinfold {

// A window that is shown and hidden. Its view follows OnShowChange, which
// fires only on a real change; a modal view runs its own loop while shown.
class TForm {
public:
    TForm() = default;
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;
    virtual ~TForm() = default;

    bool Visible() const { return visible_; }
    void Show() { SetVisible(true); }
    virtual void ShowModal() { SetVisible(true); }
    // The close box and every command that closes the window.
    virtual void Close() { SetVisible(false); }

    Signal<> OnShowChange;

protected:
    // Runs on every showing, before the window is visible and its view hears
    // of it, so the window is right whether or not a view draws it.
    virtual void FormShow() {}

private:
    void SetVisible(bool visible) {
        if (visible == visible_) return;
        if (visible) FormShow();
        visible_ = visible;
        OnShowChange();
    }

    bool visible_ = false;
};

}  // namespace twinfold
