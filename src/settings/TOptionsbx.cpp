#include "settings/TOptionsbx.h"

#include "settings/PatternList.h"
#include "settings/TIniFile.h"

namespace twinfold {

void TOptionsbx::FormCreate(const std::string& defaultSettingsFile) {
    TIniFile ini(defaultSettingsFile);
    excludeFilters = ini.ReadString("Options", "Exclude", "");
    includeFilters = ini.ReadString("Options", "Include", "");
    std::int32_t size = ini.ReadInteger("Options", "CopyBuffer", kDefaultCopyBufferSize);
    CopyBufferSize = size > 0 ? size : kDefaultCopyBufferSize;
    setChunkSizeForm(CopyBufferSize);
    ExcludeList.Append(parseString(excludeFilters));
    IncludeList.Append(parseString(includeFilters));
}

void TOptionsbx::setChunkSizeForm(std::int32_t size) {
    if (auto button = ButtonForSize(size)) SetChecked(*button);
}

void TOptionsbx::RefillLists() {
    ExcludeList.Clear();
    IncludeList.Clear();
    ExcludeList.Append(parseString(excludeFilters));
    IncludeList.Append(parseString(includeFilters));
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
    CopyBufferSize = ChoiceOf(button).size;
}

void TOptionsbx::OkClick() {
    includeFilters = PackPatterns(IncludeList.Items());
    excludeFilters = PackPatterns(ExcludeList.Items());
    OnCommitted();
    CloseWith(kModalOk);
}

void TOptionsbx::ShowModal() {
    ModalResult = kModalNone;
    if (visible_) return;
    visible_ = true;
    OnShowChange();
}

void TOptionsbx::AddFrom(TEdit& edit, TListBox& list) {
    if (!edit.Text().empty()) list.Add(edit.Text());
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
    if (!visible_) return;
    visible_ = false;
    OnShowChange();
}

}  // namespace twinfold
