#pragma once

#include <QRect>
#include <array>
#include <vector>
#include "qt/ModelDialog.h"

#include "settings/TOptionsbx.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace twinfold::qt {

// The Options dialog on screen, laid out at the original positions and grown
// uniformly (never clipped) when the font needs more room. Escape, "Cancel"
// and the close box close without OK.
class OptionsView : public ModelDialog {
    Q_OBJECT

public:
    explicit OptionsView(TOptionsbx& model, QWidget* parent = nullptr);

    // How much the original layout was enlarged to fit the font (1 or more).
    double Scale() const { return scale_; }

protected:
    void ShowChanging() override;
    void Shown() override;

private:
    // A widget at its original position, and the size its content needs at
    // the present font; the dialog grows until every need fits.
    struct Placement {
        QWidget* widget;
        QRect design;
        QSize need;
    };

    QLineEdit* AddEdit(TEdit& edit, const char* name, void (TOptionsbx::*keyDown)(Key));
    QPushButton* AddButton(const char* name, const char* text, void (TOptionsbx::*click)());
    QListWidget* AddList(TListBox& list, const char* name, void (TOptionsbx::*dblClick)(int),
                         void (TOptionsbx::*remove)());
    void AddCopyBufferGroup();
    void AddLabel(const char* text, QRect design);
    void Place(QWidget* widget, QRect design, QSize need);
    void ComputeScale();
    void PlaceAll();
    void SetTabOrder();
    void ShowChecked();
    int Scaled(int design) const;

    TOptionsbx& model_;
    std::vector<Placement> placements_;
    double scale_ = 1.0;
    QLineEdit* editInclude_ = nullptr;
    QLineEdit* editExclude_ = nullptr;
    QPushButton* addInclude_ = nullptr;
    QPushButton* addExclude_ = nullptr;
    QListWidget* includeList_ = nullptr;
    QListWidget* excludeList_ = nullptr;
    QWidget* copyBuffer_ = nullptr;
    std::array<QRadioButton*, kCopyBufferChoices.size()> radios_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* clear_ = nullptr;
    Connections connections_;
};

}  // namespace twinfold::qt
