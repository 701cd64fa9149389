#include "qt/QtDesktop.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

#include "qt/Strings.h"

namespace twinfold::qt {
namespace {

QMessageBox::Icon IconOf(BoxKind kind) {
    switch (kind) {
        case BoxKind::Information:
            return QMessageBox::Information;
        case BoxKind::Warning:
            return QMessageBox::Warning;
        case BoxKind::Confirmation:
            return QMessageBox::Question;
        case BoxKind::Error:
            return QMessageBox::Critical;
        case BoxKind::Plain:
            break;
    }
    return QMessageBox::NoIcon;
}

bool AsksYesNo(BoxKind kind) { return kind == BoxKind::Warning || kind == BoxKind::Confirmation; }

// Qt matches "*" against every name; "*.*" would miss names without a dot.
QString QtPattern(QString mask) {
    mask.replace(";", " ");
    return mask == "*.*" ? QString("*") : mask;
}

// A window that stays above the others keeps its boxes above them too; a
// stacking window manager would otherwise lower a box below its parent.
void StackAbove(QWidget* dialog, const QWidget* parent) {
    if (parent != nullptr && parent->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        dialog->setWindowFlag(Qt::WindowStaysOnTopHint);
    }
}

QFileDialog* MakeDialog(QWidget* parent, const FileDialog& dialog) {
    auto* chooser =
        new QFileDialog(parent, ToQString(dialog.title), ToQString(dialog.initialDirectory));
    StackAbove(chooser, parent);
    QStringList filters = ToQtFilter(dialog.filter).split(";;");
    chooser->setNameFilters(filters);
    if (dialog.filterIndex >= 0 && dialog.filterIndex < filters.size()) {
        chooser->selectNameFilter(filters[dialog.filterIndex]);
    }
    chooser->setDefaultSuffix(ToQString(dialog.defaultExtension));
    if (!dialog.fileName.empty()) chooser->selectFile(ToQString(dialog.fileName));
    return chooser;
}

std::optional<std::string> RunDialog(QFileDialog* chooser) {
    std::optional<std::string> chosen;
    if (chooser->exec() == QDialog::Accepted && !chooser->selectedFiles().isEmpty()) {
        chosen = FromQString(chooser->selectedFiles().first());
    }
    delete chooser;
    return chosen;
}

}  // namespace

QString ToQtFilter(const std::string& filter) {
    QStringList parts = ToQString(filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        QString pattern = QtPattern(parts[i + 1]);
        filters << (description.contains('(') ? description.section('(', 0, 0).trimmed()
                                              : description) +
                       " (" + pattern + ")";
    }
    return filters.join(";;");
}

QWidget* QtDesktop::DialogParent() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    // Not modal, but above everything while a run goes on: the progress dialog.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<QDialog*>(window) && window->isVisible() &&
            window->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
            return window;
        }
    }
    return parent_;
}

bool QtDesktop::Show(const MessageBox& box) {
    QWidget* parent = DialogParent();
    QMessageBox dialog(IconOf(box.kind), ToQString(box.caption), ToQString(box.text),
                       AsksYesNo(box.kind) ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                       parent);
    if (!box.detail.empty()) dialog.setInformativeText(ToQString(box.detail));
    if (box.noByDefault) dialog.setDefaultButton(QMessageBox::No);
    const int answer = Exec(dialog, parent);
    return !AsksYesNo(box.kind) || answer == QMessageBox::Yes;
}

int QtDesktop::Exec(QMessageBox& dialog, QWidget* parent) {
    StackAbove(&dialog, parent);
    // Whatever the cursor says, a box waits for the person.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = dialog.exec();
    QApplication::restoreOverrideCursor();
    // The next pump looks at input at once: a Cancel pressed just after
    // answering a box is seen before the next file, not one file later.
    lastPump_.invalidate();
    return answer;
}

bool QtDesktop::RunFailure(const std::string& text, const std::string& detail) {
    QWidget* parent = DialogParent();
    QMessageBox dialog(QMessageBox::Critical, ToQString(std::string(kAppTitle)), ToQString(text),
                       QMessageBox::Ok, parent);
    if (!detail.empty()) dialog.setInformativeText(ToQString(detail));
    auto* quiet = new QCheckBox("Do not show further errors in this run", &dialog);
    quiet->setObjectName("quietFailures");
    dialog.setCheckBox(quiet);
    Exec(dialog, parent);
    return quiet->isChecked();
}

SaveChoice QtDesktop::AskToSave(const std::string& text) {
    QWidget* parent = DialogParent();
    QMessageBox dialog(QMessageBox::Question, ToQString(std::string(kAppTitle)), ToQString(text),
                       QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    dialog.setDefaultButton(QMessageBox::Save);
    switch (Exec(dialog, parent)) {
        case QMessageBox::Save:
            return SaveChoice::Save;
        case QMessageBox::Discard:
            return SaveChoice::Discard;
        default:
            return SaveChoice::Cancel;
    }
}

std::optional<std::string> QtDesktop::Prompt(const std::string& caption, const std::string& prompt,
                                             const std::string& initial) {
    QWidget* parent = DialogParent();
    QInputDialog dialog(parent);
    StackAbove(&dialog, parent);
    dialog.setWindowTitle(ToQString(caption));
    dialog.setLabelText(ToQString(prompt));
    dialog.setTextValue(ToQString(initial));
    if (auto* edit = dialog.findChild<QLineEdit*>()) edit->setMaxLength(255);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return FromQString(dialog.textValue());
}

std::optional<std::string> QtDesktop::OpenFile(const FileDialog& dialog) {
    QFileDialog* chooser = MakeDialog(DialogParent(), dialog);
    chooser->setAcceptMode(QFileDialog::AcceptOpen);
    chooser->setFileMode(dialog.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    return RunDialog(chooser);
}

std::optional<std::string> QtDesktop::SaveFile(const FileDialog& dialog) {
    QFileDialog* chooser = MakeDialog(DialogParent(), dialog);
    chooser->setAcceptMode(QFileDialog::AcceptSave);
    chooser->setFileMode(QFileDialog::AnyFile);
    chooser->setOption(QFileDialog::DontConfirmOverwrite, !dialog.confirmOverwrite);
    return RunDialog(chooser);
}

// A run pumps before every file, thousands of times a second; each pass
// would repaint what changed. Once per screen refresh is all a person sees
// and answers, so more passes only slow the run down.
void QtDesktop::ProcessMessages() {
    if (lastPump_.isValid() && lastPump_.elapsed() < kPumpIntervalMs) return;
    QApplication::processEvents();
    lastPump_.restart();
}

void QtDesktop::SetBusyCursor(bool busy) {
    if (busy) {
        ++busyDepth_;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0) {
        --busyDepth_;
        QApplication::restoreOverrideCursor();
    }
}

void QtDesktop::ShowHelp(int context) {
    if (helpHandler) helpHandler(context);
}

}  // namespace twinfold::qt
