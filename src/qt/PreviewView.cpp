#include "qt/PreviewView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt/Placement.h"
#include "qt/Strings.h"

namespace twinfold::qt {

PreviewView::PreviewView(TPreviewbx& model, QWidget* parent)
    : ModelDialog(model, Modality::Window, parent,
                  Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                      Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint),
      model_(model) {
    setWindowTitle("Preview Sync");
    setModal(true);
    setSizeGripEnabled(true);
    PlaceOnShow(this, Placement::KeepOnScreen);
    auto* layout = new QVBoxLayout(this);
    counts_ = new QLabel(this);
    counts_->setObjectName("Counts");
    layout->addWidget(counts_);
    lines_ = new QListWidget(this);
    lines_->setObjectName("Lines");
    lines_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(lines_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* save = new QPushButton("&Save", this);
    save->setObjectName("Save");
    auto* close = new QPushButton("Close", this);
    close->setObjectName("Close");
    close->setDefault(true);
    buttons->addWidget(save);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, [this] { model_.SaveClick(); });
    connect(close, &QPushButton::clicked, this, [this] { model_.CloseClick(); });
    resize(640, 420);
}

void PreviewView::showEvent(QShowEvent* event) {
    Fill();
    QDialog::showEvent(event);
}

// The lines are taken when the dialog opens: a preview is complete by then.
void PreviewView::Fill() {
    counts_->setText(ToQString(model_.Counts().Text()));
    lines_->clear();
    const LogList& lines = model_.Lines();
    for (std::size_t i = 0; i < lines.Count(); ++i) {
        lines_->addItem(ToQString(std::string(lines[i])));
    }
}

}  // namespace twinfold::qt
