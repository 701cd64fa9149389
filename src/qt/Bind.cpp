#include "qt/Bind.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include "qt/Strings.h"

namespace twinfold::qt {

void Bind(QLabel* label, TLabel& model, Connections& connections) {
    label->setText(ToQString(model.Caption()));
    connections +=
        model.OnChange.Connect([label, &model] { label->setText(ToQString(model.Caption())); });
}

void Bind(QCheckBox* box, TCheckBox& model, Connections& connections) {
    box->setChecked(model.Checked());
    box->setEnabled(model.Enabled());
    connections += model.OnClick.Connect([box, &model] { box->setChecked(model.Checked()); });
    connections +=
        model.OnEnabledChange.Connect([box, &model] { box->setEnabled(model.Enabled()); });
    QObject::connect(box, &QCheckBox::clicked, box,
                     [&model](bool checked) { model.SetChecked(checked); });
}

void Bind(QComboBox* box, TComboBox& model, Connections& connections) {
    auto refresh = [box, &model] {
        QSignalBlocker blocker(box);
        box->clear();
        for (const auto& item : model.Items()) box->addItem(ToQString(item));
        box->setCurrentIndex(model.ItemIndex());
    };
    refresh();
    connections += model.OnItemsChange.Connect(refresh);
    QObject::connect(box, QOverload<int>::of(&QComboBox::activated), box,
                     [&model](int index) { model.Choose(index); });
}

}  // namespace twinfold::qt
