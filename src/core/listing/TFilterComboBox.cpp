#include "listing/TFilterComboBox.h"

#include <algorithm>
#include <utility>

#include "listing/TFileListBox.h"
#include "util/Ascii.h"

namespace twinfold {
namespace {

constexpr char kBar = '|';
constexpr const char* kEveryName = "*.*";

}  // namespace

TFilterComboBox::TFilterComboBox() { Parse(); }

Status TFilterComboBox::SetFilter(const std::string& filter) {
    if (SameIgnoringCase(filter, filter_)) return Ok();
    filter_ = filter;
    Parse();
    return Change();
}

void TFilterComboBox::SetItemIndex(int index) {
    const int chosen = (index >= 0 && index < Count()) ? index : -1;
    if (chosen == itemIndex_) return;
    itemIndex_ = chosen;
    OnItemsChange();
}

Status TFilterComboBox::Choose(int index) {
    SetItemIndex(index);
    return Change();
}

std::string TFilterComboBox::Mask() const {
    if (items_.empty()) return kEveryName;
    if (itemIndex_ < 0) {
        itemIndex_ = Count() - 1;
        OnItemsChange();
    }
    return masks_[static_cast<std::size_t>(itemIndex_)];
}

void TFilterComboBox::SetFileList(TFileListBox* list) {
    fileList_.Set(list, list == nullptr ? nullptr : &list->OnChange);
}

// Description, mask, description, mask ...: each description up to a "|",
// its mask up to the next one or the end. A description with no "|" after it
// has no mask and is dropped.
void TFilterComboBox::Parse() {
    items_.clear();
    masks_.clear();
    std::string rest = filter_;
    for (std::size_t bar; (bar = rest.find(kBar)) != std::string::npos;) {
        std::string description = rest.substr(0, bar);
        rest.erase(0, bar + 1);
        const std::size_t end = rest.find(kBar);
        AddEntry(std::move(description), rest.substr(0, end));
        rest.erase(0, end == std::string::npos ? rest.size() : end + 1);
    }
    itemIndex_ = items_.empty() ? -1 : 0;
    OnItemsChange();
}

void TFilterComboBox::AddEntry(std::string description, std::string mask) {
    items_.push_back(std::move(description));
    masks_.push_back(std::move(mask));
}

Status TFilterComboBox::Change() {
    Status listed = Ok();
    if (TFileListBox* list = fileList_.get()) listed = list->SetMask(Mask());
    OnChange();
    return listed;
}

}  // namespace twinfold
