#include "qt/OptionsView.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <algorithm>
#include <cmath>

#include "qt/DialogFlags.h"
#include "qt/ListBoxWidget.h"
#include "qt/Placement.h"
#include "qt/Strings.h"

namespace twinfold::qt {
namespace {

constexpr int kClientWidth = 355;
constexpr int kClientHeight = 268;
constexpr const char* kListHint = "DoubleClick to Remove";
constexpr const char* kCustomHint = "These patterns apply when the file type is Custom.";

// Radio buttons inside the group, from top to bottom.
QRect RadioRect(int index) { return QRect(8, 18 + index * 21, 95, 19); }

// A push button's text, its glyph and the style's margins side by side; the
// style's own size hint adds a minimum width that these small buttons never had.
QSize ButtonNeed(const QPushButton& button) {
    int margin = button.style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button);
    int glyph = button.icon().isNull() ? 0 : button.iconSize().width() + 4;
    int width = button.fontMetrics().horizontalAdvance(button.text()) + glyph + 2 * margin + 4;
    return QSize(width, button.fontMetrics().height() + 8);
}

QStringList TextsOf(const QListWidget& widget) {
    QStringList texts;
    for (int i = 0; i < widget.count(); ++i) texts << widget.item(i)->text();
    return texts;
}

// Draws a list model's entries and focused entry; only what differs is
// touched, so the person's scroll position survives a change of selection.
void ShowList(QListWidget& widget, const TListBox& list) {
    QStringList texts;
    for (const auto& item : list.Items()) texts << ToQString(item);
    QSignalBlocker block(widget);
    if (TextsOf(widget) != texts) {
        widget.clear();
        widget.addItems(texts);
    }
    widget.setCurrentRow(list.ItemIndex());
    if (list.ItemIndex() < 0) widget.clearSelection();
}

}  // namespace

OptionsView::OptionsView(TOptionsbx& model, QWidget* parent)
    : ModelDialog(model, Modality::Window, parent, kDialogFlags), model_(model) {
    setWindowTitle("Options");
    setModal(true);
    AddLabel("Include:", QRect(16, 12, 42, 15));
    editInclude_ = AddEdit(model_.EditInclude, "EditInclude", &TOptionsbx::EditIncludeKeyDown);
    addInclude_ = AddButton("AddInclude", "Add", &TOptionsbx::AddIncludeClick);
    AddLabel("Exclude:", QRect(13, 44, 45, 15));
    editExclude_ = AddEdit(model_.EditExclude, "EditExclude", &TOptionsbx::EditExcludeKeyDown);
    addExclude_ = AddButton("AddExclude", "Add", &TOptionsbx::AddExcludeClick);
    AddLabel("Include Filters:", QRect(16, 80, 104, 15));
    includeList_ = AddList(model_.IncludeList, "IncludeList", &TOptionsbx::IncludeListDblClick,
                           &TOptionsbx::RemoveIncludeClick);
    AddLabel("Exclude Filters:", QRect(124, 80, 104, 15));
    excludeList_ = AddList(model_.ExcludeList, "ExcludeList", &TOptionsbx::ExcludeListDblClick,
                           &TOptionsbx::RemoveExcludeClick);
    AddLabel(kCustomHint, QRect(16, 247, 325, 15));
    AddCopyBufferGroup();
    ok_ = AddButton("Ok", "OK", &TOptionsbx::OkClick);
    ok_->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    cancel_ = AddButton("Cancel", "Cancel", &TOptionsbx::CancelClick);
    cancel_->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    clear_ = AddButton("Clear", "Clear", &TOptionsbx::ClearClick);
    clear_->setIcon(style()->standardIcon(QStyle::SP_DialogResetButton));

    Place(editInclude_, QRect(60, 8, 93, 21), editInclude_->sizeHint());
    Place(addInclude_, QRect(156, 6, 37, 25), ButtonNeed(*addInclude_));
    Place(editExclude_, QRect(60, 40, 93, 21), editExclude_->sizeHint());
    Place(addExclude_, QRect(156, 38, 37, 25), ButtonNeed(*addExclude_));
    Place(includeList_, QRect(16, 96, 93, 145), QSize());
    Place(excludeList_, QRect(124, 96, 93, 145), QSize());
    Place(ok_, QRect(268, 6, 75, 25), ButtonNeed(*ok_));
    Place(cancel_, QRect(268, 36, 75, 25), ButtonNeed(*cancel_));
    Place(clear_, QRect(268, 66, 75, 25), ButtonNeed(*clear_));
    ComputeScale();
    PlaceAll();
    SetTabOrder();
    ShowChecked();

    connections_ += model_.OnCheckedChange.Connect([this] { ShowChecked(); });
}

void OptionsView::AddLabel(const char* text, QRect design) {
    auto* label = new QLabel(text, this);
    Place(label, design, label->sizeHint());
}

QLineEdit* OptionsView::AddEdit(TEdit& edit, const char* name, void (TOptionsbx::*keyDown)(Key)) {
    auto* widget = new QLineEdit(ToQString(edit.Text()), this);
    widget->setObjectName(name);
    connect(widget, &QLineEdit::textEdited, this,
            [&edit](const QString& text) { edit.SetText(FromQString(text)); });
    connect(widget, &QLineEdit::returnPressed, this,
            [this, keyDown] { (model_.*keyDown)(Key::Enter); });
    connections_ += edit.OnChange.Connect([widget, &edit] {
        if (FromQString(widget->text()) != edit.Text()) widget->setText(ToQString(edit.Text()));
    });
    connections_ += edit.OnFocusRequest.Connect([widget] { widget->setFocus(); });
    return widget;
}

// No button is a default one: Enter belongs to the edits.
QPushButton* OptionsView::AddButton(const char* name, const char* text,
                                    void (TOptionsbx::*click)()) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, click] { (model_.*click)(); });
    return button;
}

QListWidget* OptionsView::AddList(TListBox& list, const char* name,
                                  void (TOptionsbx::*dblClick)(int), void (TOptionsbx::*remove)()) {
    auto* widget = new ListBoxWidget(this);
    widget->setObjectName(name);
    widget->setToolTip(kListHint);
    widget->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(widget, &QListWidget::currentRowChanged, this,
            [&list](int row) { list.SetItemIndex(row); });
    connect(
        widget, &QListWidget::itemDoubleClicked, this,
        [this, widget, dblClick](QListWidgetItem* item) { (model_.*dblClick)(widget->row(item)); });
    connections_ += list.OnChange.Connect([widget, &list] { ShowList(*widget, list); });
    ShowList(*widget, list);
    // The Delete key works while the list has the focus; the menu shows it.
    auto* menu = new QMenu(widget);
    QAction* removeAction = menu->addAction("Remove");
    removeAction->setShortcut(QKeySequence::Delete);
    removeAction->setShortcutContext(Qt::WidgetShortcut);
    widget->addAction(removeAction);
    connect(removeAction, &QAction::triggered, this, [this, remove] { (model_.*remove)(); });
    AttachContextMenu(widget, menu);
    return widget;
}

void OptionsView::AddCopyBufferGroup() {
    auto* group = new QGroupBox("Copy Buffer Size", this);
    group->setObjectName("CopyBuffer");
    group->setToolTip("Change buffer size");
    copyBuffer_ = group;
    int titleWidth = group->fontMetrics().horizontalAdvance(group->title()) + 16;
    Place(group, QRect(232, 92, 109, 129), QSize(titleWidth, 0));
    for (std::size_t i = 0; i < kCopyBufferChoices.size(); ++i) {
        const auto& choice = kCopyBufferChoices[i];
        auto* radio = new QRadioButton(choice.caption, group);
        radio->setObjectName(choice.name);
        connect(radio, &QRadioButton::clicked, this,
                [this, button = choice.button] { model_.CopyBufferClick(button); });
        radios_[i] = radio;
        Place(radio, RadioRect(static_cast<int>(i)), radio->sizeHint());
    }
}

void OptionsView::Place(QWidget* widget, QRect design, QSize need) {
    placements_.push_back({widget, design, need});
}

void OptionsView::ComputeScale() {
    scale_ = 1.0;
    for (const auto& placement : placements_) {
        const auto& design = placement.design;
        scale_ = std::max(scale_, placement.need.width() / static_cast<double>(design.width()));
        scale_ = std::max(scale_, placement.need.height() / static_cast<double>(design.height()));
    }
}

int OptionsView::Scaled(int design) const { return static_cast<int>(std::ceil(design * scale_)); }

void OptionsView::PlaceAll() {
    setFixedSize(Scaled(kClientWidth), Scaled(kClientHeight));
    for (const auto& [widget, design, need] : placements_) {
        widget->setGeometry(Scaled(design.left()), Scaled(design.top()), Scaled(design.width()),
                            Scaled(design.height()));
    }
}

void OptionsView::SetTabOrder() {
    QList<QWidget*> order{editInclude_, addInclude_,  editExclude_,
                          addExclude_,  includeList_, excludeList_};
    for (auto* radio : radios_) order << radio;
    order << ok_ << cancel_ << clear_;
    for (int i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void OptionsView::ShowChecked() {
    radios_[static_cast<std::size_t>(model_.CheckedButton())]->setChecked(true);
}

void OptionsView::ShowChanging() {
    setResult(model_.ModalResult == TOptionsbx::kModalOk ? Accepted : Rejected);
}

void OptionsView::Shown() { editInclude_->setFocus(); }

}  // namespace twinfold::qt
