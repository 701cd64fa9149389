#pragma once

#include "controls/Signal.h"
#include "controls/TCheckBox.h"
#include "controls/TComboBox.h"
#include "controls/TLabel.h"

class QCheckBox;
class QComboBox;
class QLabel;

// Keeps a widget in step with its control model and forwards the person's
// input to the model. The listeners go into `connections`, which the view
// holding the widget owns, so none outlives the view.
namespace twinfold::qt {

void Bind(QLabel* label, TLabel& model, Connections& connections);
void Bind(QCheckBox* box, TCheckBox& model, Connections& connections);
void Bind(QComboBox* box, TComboBox& model, Connections& connections);

}  // namespace twinfold::qt
