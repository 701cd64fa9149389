#pragma once

#include "listing/TDriveComboBox.h"

#include <QComboBox>

namespace twinfold {
class Desktop;
}

namespace twinfold::qt {

// The drive list on screen: one entry per volume with the glyph of its kind.
// A choice goes to the model; an error from it is shown in a message box and
// the entry shown goes back to the model's.
class DriveComboView : public QComboBox {
    Q_OBJECT

public:
    DriveComboView(TDriveComboBox& model, Desktop& desktop, QWidget* parent = nullptr);

    void showPopup() override;

private:
    void Rebuild();
    void Chosen(int index);
    QIcon GlyphOf(platform::VolumeKind kind) const;

    TDriveComboBox& model_;
    Desktop& desktop_;
    Connections connections_;
};

}  // namespace twinfold::qt
