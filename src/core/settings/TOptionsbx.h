#pragma once

#include <cstdint>
#include <string>

#include "controls/Key.h"
#include "controls/Signal.h"
#include "controls/TEdit.h"
#include "controls/TForm.h"
#include "controls/TListBox.h"
#include "settings/CopyBufferButtons.h"
#include "settings/SyncOptions.h"
#include "settings/SyncSettings.h"

namespace twinfold {

// The Options dialog: it holds the committed include and exclude patterns
// (packed, every pattern followed by ";") and the copy buffer size that the
// filter, the copy and the settings files read. The two lists are the edited
// form of the patterns; only OK commits them, and Cancel, Escape and the close
// box put them back as committed. The buffer size takes effect as soon as a
// size button is clicked.
class TOptionsbx : public TForm, public SyncOptions {
public:
    static constexpr int kModalNone = 0;
    static constexpr int kModalOk = 1;
    static constexpr int kModalCancel = 2;

    // Empty patterns, 32768 bytes and "32K (default)" checked; reads nothing.
    TOptionsbx() = default;

    // The committed values, which change only through Apply, OK and the size
    // buttons.
    const std::string& includeFilters() const override { return includeFilters_; }
    const std::string& excludeFilters() const override { return excludeFilters_; }
    std::int32_t CopyBufferSize() const override { return copyBufferSize_; }

    TEdit EditInclude;
    TEdit EditExclude;
    TListBox IncludeList;
    TListBox ExcludeList;

    // The one way settings come in: takes Exclude, Include and CopyBuffer of
    // `settings` as the committed values, checks the button of that size
    // (setChunkSizeForm) and refills both lists from the patterns. Creation,
    // loading a settings file and every batch entry use it.
    void Apply(const SyncSettings& settings) override;
    // The one way settings go out: the committed values into Exclude, Include
    // and CopyBuffer of `settings`; the lists' uncommitted edits stay out.
    void Collect(SyncSettings& settings) const override;
    // Creation takes what the start-up read found in the default settings
    // file (the defaults when there is none).
    void FormCreate(const SyncSettings& stored) { Apply(stored); }

    // Checks the button of `size`; a size that no button offers leaves the
    // checked one as it is. CopyBufferSize is the caller's to set.
    void setChunkSizeForm(std::int32_t size) override;
    CopyBufferButton CheckedButton() const { return checked_; }
    std::int32_t CheckedSize() const { return ChoiceOf(checked_).size; }

    // "Add": appends the edit's text, exactly as typed; a text the list holds
    // already is selected there instead, and an empty text adds nothing. The
    // edit keeps its text and gets the focus.
    void AddIncludeClick() { AddFrom(EditInclude, IncludeList); }
    void AddExcludeClick() { AddFrom(EditExclude, ExcludeList); }
    // Enter in either edit adds as its "Add" button does.
    void EditIncludeKeyDown(Key key);
    void EditExcludeKeyDown(Key key);

    // A double click on the entry at `index` selects it and removes it; -1,
    // a double click beside the entries, removes nothing.
    void IncludeListDblClick(int index) { RemoveAt(IncludeList, index); }
    void ExcludeListDblClick(int index) { RemoveAt(ExcludeList, index); }
    // "Remove" of a list's context menu, also the Delete key in the list:
    // removes the selected entry, if any.
    void RemoveIncludeClick() { RemoveAt(IncludeList, IncludeList.ItemIndex()); }
    void RemoveExcludeClick() { RemoveAt(ExcludeList, ExcludeList.ItemIndex()); }

    // "Clear": empties both lists. The edits, the committed patterns and the
    // buffer size stay, and so does the dialog.
    void ClearClick();

    // The size buttons: check the button and set CopyBufferSize at once.
    void CopyBufferClick(CopyBufferButton button);
    void Mem32KClick() { CopyBufferClick(CopyBufferButton::Mem32K); }
    void Mem128KClick() { CopyBufferClick(CopyBufferButton::Mem128K); }
    void Mem256kClick() { CopyBufferClick(CopyBufferButton::Mem256k); }
    void Mem512kClick() { CopyBufferClick(CopyBufferButton::Mem512k); }
    void Mem1mbClick() { CopyBufferClick(CopyBufferButton::Mem1mb); }

    // "OK": packs the lists into includeFilters and excludeFilters, fires
    // OnCommitted (the main window re-reads its file list and re-applies the
    // file type there) and closes the dialog with kModalOk. Nothing is saved.
    void OkClick();

    // Shows the dialog as it was left: nothing is re-read or reset.
    void ShowModal() override;
    // "Cancel", Escape and the close box: the lists show the committed
    // patterns again and the dialog closes with kModalCancel. The edits and
    // the buffer size stay as they are.
    void CancelClick();
    void Close() override { CancelClick(); }
    int ModalResult = kModalNone;

    Signal<> OnCommitted;
    Signal<> OnCheckedChange;

private:
    void RefillLists();
    void AddFrom(TEdit& edit, TListBox& list);
    void RemoveAt(TListBox& list, int index);
    void SetChecked(CopyBufferButton button);
    void CloseWith(int result);

    std::string includeFilters_;
    std::string excludeFilters_;
    std::int32_t copyBufferSize_ = kDefaultCopyBufferSize;
    CopyBufferButton checked_ = CopyBufferButton::Mem32K;
};

}  // namespace twinfold
