// KesQtPanelView: a Qt 6 window onto a panel of the headless toolkit.
//
// The view mirrors a root frame (a panel) and everything under it into a tree of Qt widgets,
// then keeps that tree in step through the toolkit's observers: every property change shows in
// its Qt widget, widgets created later appear and destroyed ones disappear. A person's gestures
// on the Qt widgets (typing, clicks, arrows, wheel, menu items, dialog buttons, scroll-bar
// moves, list selections) become the toolkit's user actions, so the attributes behind the panel
// run exactly as they do headless; after each gesture every Qt widget shows the toolkit's state
// again (a refused or normalised input is shown as the toolkit kept it).
//
// Requirements and side effects:
// - A QApplication must exist while the view does.
// - Numbers are shown exactly as the toolkit formats them (always with a decimal point), whatever
//   the system's locale: a Qt application takes the system's locale at start-up, and the
//   toolkit's texts do not follow it; spin boxes use QLocale::c() to read and show them.
// - The view may be deleted before its panel and the panel before its view; either leaves
//   nothing dangling. Several views of different panels may live at once.
#pragma once

#include <QtWidgets/QWidget>

#include <functional>
#include <memory>

class KesDialog;
class QAction;

class KesQtPanelView {
public:
    // Mirrors `root` (a frame: a panel) and everything under it into a QWidget tree, and keeps
    // it in step through the toolkit's observers until the view or the root is deleted.
    explicit KesQtPanelView(KesDialog& root, QWidget* parent = nullptr);
    ~KesQtPanelView();
    KesQtPanelView(const KesQtPanelView&) = delete;
    KesQtPanelView& operator=(const KesQtPanelView&) = delete;

    // The top Qt widget (a QScrollArea holding the mirrored root frame); owned by the view
    // unless reparented by the caller (then the caller's Qt parent owns it). Its size hint is
    // the panel's, bounded by the screen, so that a tall panel scrolls; whenever the panel's
    // hint changes (widgets shown, hidden or created, texts widened) it calls updateGeometry,
    // so that a layout around it, or adjustSize, follows. Return or Enter in one of the
    // panel's text fields confirms the field and goes no further (a host dialog's default
    // button does not fire); elsewhere it reaches the window. Null once the caller's Qt parent
    // has deleted it.
    QWidget* Widget() const;
    // The size the top widget needs to show the whole panel, without the bound of the screen
    // (with the room of a vertical scroll bar: a window shorter than the panel scrolls it, never
    // sideways). Empty once the top widget is gone.
    QSize PanelSizeHint() const;
    // The Qt widget mirroring `widget` (or one of its dialogs), or null: a widget outside the
    // root, a menu item (see FindAction), or a widget already destroyed.
    //
    // Property changes show at once. What depends on several widgets (the label column of a
    // form, accessible names, tab order) and the first look of a widget created since then are
    // brought up to date when control returns to the event loop, after each gesture, and at
    // any call of Widget, Find or FindAction.
    QWidget* Find(const KesDialog& widget) const;
    // The Qt action mirroring a menu item, or null.
    QAction* FindAction(const KesDialog& item) const;
    // Calls `visit` with every toolkit widget the view mirrors, its Qt widget and its Qt action
    // (either may be null), for checks that the view is in step. The toolkit widget is only to
    // be compared with others: a mirror left for a destroyed widget is what such checks seek.
    void
    ForEachMirror(const std::function<void(const KesDialog*, QWidget*, QAction*)>& visit) const;
    // Called after every user gesture has been handed to the toolkit and the view is back in
    // step (so that a window can refresh its panes). Optional; an empty hook removes it.
    void SetAfterGesture(std::function<void()> hook);

private:
    class Mirror;
    std::unique_ptr<Mirror> mirror_;
};
