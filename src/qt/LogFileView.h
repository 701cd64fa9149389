#pragma once

#include "log/TLogFilebx.h"

#include <cstddef>
#include <functional>
#include <vector>
#include "qt/ModelDialog.h"

class QGridLayout;
class QListWidget;

namespace twinfold::qt {

// The run-log dialog on screen: the three lists, a "Save" beside each, OK and
// "Clear". It is application-modal and follows the model's lists while open;
// while hidden it leaves them alone, so a long run costs it nothing.
class LogFileView : public ModelDialog {
    Q_OBJECT

public:
    explicit LogFileView(TLogFilebx& model, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Pane {
        const LogList* list = nullptr;
        QListWidget* widget = nullptr;
        bool emptied = false;  // the list was cleared since the last sync
    };

    void AddPane(QGridLayout* grid, int row, const char* caption, LogList& list,
                 const char* listName, const char* saveName, std::function<void()> save);
    QWidget* AddButtons();
    void ListChanged(std::size_t index);
    void ScheduleSync();
    void SyncPanes();
    static void SyncPane(Pane& pane);

    TLogFilebx& model_;
    std::vector<Pane> panes_;
    bool syncPending_ = false;
    Connections connections_;
};

}  // namespace twinfold::qt
