// KesSubPanels: the sub-dialogs of a panel's links, opened as a host opens them.
//
// A link stands for values edited in a sub-dialog: pressing its button sends a
// KesMfgAttNotifyPB to the panel's frame, whose owner opens the sub-dialog. For every link whose
// description has a sub-panel (KesPanelAttributeDescription::subPanel), this class answers the
// press with a child dialog (its own frame, the sub-panel built over the model as it stands,
// a KesQtPanelView, OK and Cancel) showing the records the link holds. OK hands the sub-panel's
// records to the link (KesPanelBuilder::HandRecordsToLink, the seven-argument SetAttValue), so
// they travel with the panel's values; Cancel leaves the link as it was before the press (a
// link with relays has taken its relay by then: that is undone).
//
// Used by kes-host's operation dialog and by kes-panel's window. The sub-dialog is modal to its
// parent window but does not block: the press returns at once, and the answer comes with OK or
// Cancel.
#pragma once

#include "tools/KesPanelDescription.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class KesDlgFrame;
class KesDlgTestFrame;
class KesQtPanelView;
class KesMfgAttribute;
class QDialog;
class QObject;
class QWidget;

class KesSubPanels {
public:
    // Watches the links among `attributes` (built from `description` into `frame`; matched by
    // name) whose description has a sub-panel. The frame and attributes must outlive this.
    KesSubPanels(KesDlgFrame& frame, const KesPanelDescription& description,
                 const std::vector<KesMfgAttribute*>& attributes, QWidget* parent);
    ~KesSubPanels();
    KesSubPanels(const KesSubPanels&) = delete;
    KesSubPanels& operator=(const KesSubPanels&) = delete;

    // Called after OK handed records to a link, and after Cancel put a link back (the panel
    // changed without a gesture of its own).
    void SetChanged(std::function<void()> changed) { changed_ = std::move(changed); }
    // Called with the messages of a sub-panel that could not be built (nothing opens).
    void SetRefused(std::function<void(const std::string&)> refused) {
        refused_ = std::move(refused);
    }
    // Reads the links' records again: what Cancel puts back. Call it after values were pushed
    // into the panel, and after each gesture and each undo.
    void Remember();
    // The sub-dialog open now, its frame (it records what it hears, for hosts' tests) and its
    // view; null when none is open.
    QDialog* Current() const;
    KesDlgTestFrame* CurrentFrame() const;
    KesQtPanelView* CurrentView() const;

private:
    struct Link;
    class Dialog;
    void Open(Link& link);

    std::vector<std::unique_ptr<Link>> links_;
    std::unique_ptr<Dialog> open_;
    std::unique_ptr<Dialog> closing_; // closed: deleted once control is back in the event loop
    QWidget* parent_;
    std::function<void()> changed_;
    std::function<void(const std::string&)> refused_;
    std::unique_ptr<QObject> context_; // of the deferred deletion: none once this is gone
};
