#include "qt/DeleteView.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt/DialogFlags.h"
#include "qt/Placement.h"
#include "qt/Strings.h"

namespace twinfold::qt {
namespace {

// Room for a path of ordinary length without scrolling the field.
constexpr int kFieldMinimumWidth = 360;

}  // namespace

DeleteView::DeleteView(TDelete& model, QWidget* parent)
    : ModelDialog(model, Modality::Window, parent, kDialogFlags), model_(model) {
    setWindowTitle("Delete?");
    setModal(true);
    PlaceOnShow(this, Placement::KeepOnScreen);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel("Delete Files in Directory:", this);
    field_ = new QLineEdit(this);
    field_->setObjectName("Edit1");
    field_->setMinimumWidth(kFieldMinimumWidth);
    label->setBuddy(field_);
    subdirectories_ = new QCheckBox("Delete All SubDirectories and Files", this);
    subdirectories_->setObjectName("DelSubdir");
    layout->addWidget(label);
    layout->addWidget(field_);
    layout->addWidget(subdirectories_);
    layout->addWidget(AddButtons());
    layout->setSizeConstraint(QLayout::SetFixedSize);
    BindField();
    BindCheckBox();
}

void DeleteView::BindField() {
    field_->setText(ToQString(model_.Edit1.Text()));
    connections_ += model_.Edit1.OnChange.Connect([this] {
        const QString text = ToQString(model_.Edit1.Text());
        if (field_->text() != text) field_->setText(text);
    });
    connect(field_, &QLineEdit::textEdited, this,
            [this](const QString& text) { model_.Edit1.SetText(FromQString(text)); });
}

void DeleteView::BindCheckBox() {
    subdirectories_->setChecked(model_.DelSubdir.Checked());
    connections_ += model_.DelSubdir.OnClick.Connect(
        [this] { subdirectories_->setChecked(model_.DelSubdir.Checked()); });
    connect(subdirectories_, &QCheckBox::clicked, this,
            [this](bool checked) { model_.DelSubdir.SetChecked(checked); });
}

QWidget* DeleteView::AddButtons() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    ok_ = new QPushButton("OK", row);
    ok_->setObjectName("BitBtn2");
    // Enter in the field must not delete: Cancel is the default.
    ok_->setAutoDefault(false);
    cancel_ = new QPushButton("Cancel", row);
    cancel_->setObjectName("BitBtn1");
    cancel_->setDefault(true);
    layout->addWidget(ok_);
    layout->addWidget(cancel_);
    connect(ok_, &QPushButton::clicked, this, [this] { model_.BitBtn2Click(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { model_.BitBtn1Click(); });
    return row;
}

void DeleteView::Shown() {
    field_->selectAll();
    field_->setFocus();
}

}  // namespace twinfold::qt
