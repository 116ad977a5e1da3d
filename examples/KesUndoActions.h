// KesUndoActions: Edit's Undo and Redo items over a panel's history (KesPanelHistory).
//
// Used by kes-panel's window and by kes-host's operation dialog. The items take back and apply
// again the history's steps, name the attribute of the step they would take, and are disabled
// when there is none. Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y reach the items even from a field of the
// window with an undo of its own: a gesture is committed when it reaches the panel, so the
// panel's undo is the one.
#pragma once

#include <QObject>

#include <functional>

class KesPanelHistory;
class QAction;
class QEvent;
class QMenu;
class QWidget;

class KesUndoActions : public QObject {
public:
    // Adds the items to `edit`; `afterStep` runs after each undo and redo. The history and
    // `window` must outlive this; keys pressed in `window`'s widgets go to the items.
    KesUndoActions(QMenu& edit, QWidget& window, KesPanelHistory& history,
                   std::function<void()> afterStep);
    ~KesUndoActions() override;
    KesUndoActions(const KesUndoActions&) = delete;
    KesUndoActions& operator=(const KesUndoActions&) = delete;

    // The items' texts and enabled state from the history as it stands.
    void Refresh();
    // Also says in each item's status tip why its step cannot be taken.
    void RefreshWithRefusals();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    KesPanelHistory& history_;
    std::function<void()> afterStep_;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
};
