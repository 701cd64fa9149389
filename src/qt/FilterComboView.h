#pragma once

#include "listing/TFilterComboBox.h"

#include <QComboBox>

namespace twinfold {
class Desktop;
}

namespace twinfold::qt {

// The filter list on screen: the descriptions, the chosen one shown. A choice
// goes to the model; an error of the file list behind it is shown in a
// message box.
class FilterComboView : public QComboBox {
    Q_OBJECT

public:
    FilterComboView(TFilterComboBox& model, Desktop& desktop, QWidget* parent = nullptr);

    void showPopup() override;

private:
    void Rebuild();
    void Chosen(int index);

    TFilterComboBox& model_;
    Desktop& desktop_;
    Connections connections_;
};

}  // namespace twinfold::qt
