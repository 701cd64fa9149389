#include "settings/TOptionsbx.h"

#include <algorithm>

#include "settings/PatternList.h"

namespace twinfold {

void TOptionsbx::Apply(const SyncSettings& settings) {
    excludeFilters_ = settings.Exclude;
    includeFilters_ = settings.Include;
    copyBufferSize_ = settings.CopyBuffer;
    setChunkSizeForm(copyBufferSize_);
    RefillLists();
}

void TOptionsbx::Collect(SyncSettings& settings) const {
    settings.Exclude = excludeFilters_;
    settings.Include = includeFilters_;
    settings.CopyBuffer = copyBufferSize_;
}

void TOptionsbx::setChunkSizeForm(std::int32_t size) {
    if (auto button = ButtonForSize(size)) SetChecked(*button);
}

void TOptionsbx::RefillLists() {
    ExcludeList.Clear();
    IncludeList.Clear();
    ExcludeList.Append(parseString(excludeFilters_));
    IncludeList.Append(parseString(includeFilters_));
}

void TOptionsbx::EditIncludeKeyDown(Key key) {
    if (key == Key::Enter) AddIncludeClick();
}

void TOptionsbx::EditExcludeKeyDown(Key key) {
    if (key == Key::Enter) AddExcludeClick();
}

void TOptionsbx::ClearClick() {
    IncludeList.Clear();
    ExcludeList.Clear();
}

void TOptionsbx::CopyBufferClick(CopyBufferButton button) {
    SetChecked(button);
    copyBufferSize_ = ChoiceOf(button).size;
}

void TOptionsbx::OkClick() {
    includeFilters_ = PackPatterns(IncludeList.Items());
    excludeFilters_ = PackPatterns(ExcludeList.Items());
    OnCommitted();
    CloseWith(kModalOk);
}

void TOptionsbx::ShowModal() {
    ModalResult = kModalNone;
    TForm::ShowModal();
}

void TOptionsbx::CancelClick() {
    RefillLists();
    CloseWith(kModalCancel);
}

// A pattern listed twice would list its files twice.
void TOptionsbx::AddFrom(TEdit& edit, TListBox& list) {
    const std::string& text = edit.Text();
    if (!text.empty()) {
        const auto& items = list.Items();
        const auto found = std::find(items.begin(), items.end(), text);
        if (found == items.end()) {
            list.Add(text);
        } else {
            list.SetItemIndex(static_cast<int>(found - items.begin()));
        }
    }
    edit.SetFocus();
}

void TOptionsbx::RemoveAt(TListBox& list, int index) {
    if (index < 0 || index >= list.Count()) return;
    list.SetItemIndex(index);
    list.Delete(list.ItemIndex());
}

void TOptionsbx::SetChecked(CopyBufferButton button) {
    if (button == checked_) return;
    checked_ = button;
    OnCheckedChange();
}

void TOptionsbx::CloseWith(int result) {
    ModalResult = result;
    TForm::Close();
}

}  // namespace twinfold
