#pragma once

#include "controls/Signal.h"
#include "controls/TForm.h"
#include "controls/TGauge.h"
#include "controls/TLabel.h"
#include "desktop/Desktop.h"
#include "sync/CancelToken.h"

namespace twinfold {

// The progress dialog of a synchronisation. It holds the run state the engine
// polls between files: kRunOn while the run may go on, kCancelled once the
// person has confirmed a cancel. It is shown without blocking and never
// decides anything about the run itself.
class TSyncBox : public TForm {
public:
    static constexpr int kRunOn = 1;
    static constexpr int kCancelled = 2;

    explicit TSyncBox(Desktop& desktop);

    TLabel SyncDirFrom;
    TLabel SyncDirTo;
    TLabel FileName;
    TLabel Process;
    TGauge Gauge;
    // Under the gauge in a whole-tree run: how far the whole run has come.
    TLabel Overall;

    int ModalResult() const { return modalResult_; }
    // kRunOn starts the run's cancel afresh; kCancelled confirms it.
    void SetModalResult(int value);
    // The cancel that the run's workers check: pressing Cancel holds them
    // until the question is answered.
    sync::CancelToken& Token() { return token_; }

    // Asks the view to draw the dialog now rather than at the next pump.
    void Repaint() { OnRepaint(); }
    // Keyboard focus to the dialog and to its Cancel button.
    void SetFocus() { OnFocus(); }
    void FocusCancel() { OnFocusCancel(); }

    // The Cancel button (a click, Space or Enter on it, or Escape): asks
    // "Are you sure you wish to cancel?", while the workers wait. Yes leaves
    // the run state at kCancelled and hides the dialog; No puts it back to
    // kRunOn and the workers go on where they stopped.
    void CancelClick();
    // The close box or the system menu: hides the dialog and nothing else,
    // so the run goes on.
    void FormCloseClick() { Close(); }

    Signal<> OnRepaint;
    Signal<> OnFocus;
    Signal<> OnFocusCancel;

private:
    Desktop& desktop_;
    int modalResult_ = 0;
    sync::CancelToken token_;
};

}  // namespace twinfold
