// KesHostOperationDialog: an operation of the part document edited in its panel, as a host
// opens a dialog: the panel file read and built over the model as it stands, the values stored
// with the operation pushed in (as a caller does: SetAttValue, then the impacts), the panel
// shown in a KesQtPanelView with OK, Apply and Cancel.
//
// OK and Apply collect the records (GetAttValue) into the operation's stored values; Cancel
// leaves the operation as it was (what was applied stays applied). Edit > Undo and Redo take
// back the gestures made in the dialog (KesPanelHistory). A link whose description has a
// sub-panel opens it as a child dialog (KesSubPanels).
//
// Model parameters a gesture creates or changes go to the model service the host installed:
// they are the document's at once, whatever the dialog's outcome, as in any host whose model
// is live.
#pragma once

#include "KesHostDocument.h"

#include "platform/KesDlgTestFrame.h"
#include "tools/KesPanelDescription.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class KesMfgAttribute;
class KesPanelBuilder;
class KesPanelHistory;
class KesUndoActions;
class KesQtPanelView;
class KesSubPanels;
class QPushButton;

class KesHostOperationDialog : public QDialog {
public:
    // The dialog of `operation`, whose panel file is found relative to `documentFolder`. Call
    // Load before showing it.
    KesHostOperationDialog(const KesHostOperation& operation, const QString& documentFolder,
                           QWidget* parent = nullptr);
    ~KesHostOperationDialog() override;
    KesHostOperationDialog(const KesHostOperationDialog&) = delete;
    KesHostOperationDialog& operator=(const KesHostOperationDialog&) = delete;

    // Reads the panel file, builds it and pushes the stored values. Answers "" when the panel
    // is shown, else the messages of what refused it (then nothing was built). What the values
    // did not take as stored (a value clamped, an attribute the panel lacks) goes to `report`.
    QString Load(QStringList* report = nullptr);

    // Called with the operation's collected values on OK and Apply.
    void SetCollected(std::function<void(const std::string& values)> collected) {
        collected_ = std::move(collected);
    }
    // Called with what the host should tell the user (a sub-panel that cannot be opened).
    void SetMessage(std::function<void(const QString&)> message) { message_ = std::move(message); }
    // The values as collected now (what OK would store).
    std::string Collect() const;

    // For hosts' tests: the panel's frame, attributes, view, history and sub-dialogs.
    KesDlgTestFrame& Frame() { return frame_; }
    const std::vector<KesMfgAttribute*>& Attributes() const;
    KesQtPanelView& View() { return *view_; }
    KesPanelHistory& History() { return *history_; }
    KesSubPanels& SubPanels() { return *subPanels_; }
    QPushButton* Button(int standardButton) const;

private:
    void Apply();
    void AfterChange();

    KesHostOperation operation_;
    QString documentFolder_;
    KesPanelDescription description_;
    KesDlgTestFrame frame_; // the panel's frame; it records what it hears, for hosts' tests
    std::unique_ptr<KesPanelBuilder> builder_;
    std::unique_ptr<KesQtPanelView> view_;
    std::unique_ptr<KesPanelHistory> history_;
    std::unique_ptr<KesUndoActions> undoActions_; // Edit's Undo and Redo over the history
    std::unique_ptr<KesSubPanels> subPanels_;
    std::function<void(const std::string&)> collected_;
    std::function<void(const QString&)> message_;
    class QDialogButtonBox* buttons_ = nullptr;
};
