// Edit's Undo and Redo items over a panel's history, and the keys that reach them.
#include "KesUndoActions.h"

#include "tools/KesPanelHistory.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

#include <utility>

KesUndoActions::KesUndoActions(QMenu& edit, QWidget& window, KesPanelHistory& history,
                               std::function<void()> afterStep)
    : window_(window), history_(history), afterStep_(std::move(afterStep)) {
    undo_ = edit.addAction(QStringLiteral("&Undo"), this, [this] {
        history_.Undo();
        afterStep_();
    });
    undo_->setObjectName(QStringLiteral("undo"));
    undo_->setShortcut(QKeySequence::Undo);
    redo_ = edit.addAction(QStringLiteral("&Redo"), this, [this] {
        history_.Redo();
        afterStep_();
    });
    redo_->setObjectName(QStringLiteral("redo"));
    redo_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    QApplication::instance()->installEventFilter(this);
}

KesUndoActions::~KesUndoActions() {
    QApplication::instance()->removeEventFilter(this);
}

void KesUndoActions::Refresh() {
    undo_->setEnabled(history_.CanUndo());
    undo_->setText(
        QStringLiteral("&Undo %1").arg(QString::fromStdString(history_.UndoLabel())).trimmed());
    redo_->setEnabled(history_.CanRedo());
    redo_->setText(
        QStringLiteral("&Redo %1").arg(QString::fromStdString(history_.RedoLabel())).trimmed());
}

void KesUndoActions::RefreshWithRefusals() {
    undo_->setStatusTip(QString::fromStdString(history_.UndoRefusal()));
    redo_->setStatusTip(QString::fromStdString(history_.RedoRefusal()));
    Refresh();
}

bool KesUndoActions::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType() &&
        window_.isAncestorOf(static_cast<QWidget*>(watched))) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (const QAction* action : {undo_, redo_}) {
            if (action->shortcuts().contains(pressed)) {
                return true; // not taken by the field: the shortcut goes to the action
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
