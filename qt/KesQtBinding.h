// KesQtBinding: what ties one toolkit widget to the Qt object that mirrors it (internal to the
// Qt view).
//
// There is one small binding per widget kind (KesQtBindings.cpp). A binding creates its Qt
// object, applies each property change of the toolkit widget to it with Qt's signals blocked,
// and turns the user-only Qt signals of its object into the toolkit's user actions through
// KesQtMirrorHost::Gesture. Every connection uses the binding's context object as receiver, so
// a Qt object that outlives its binding (it is deleted later, see below) reaches no dead code.
//
// A binding removed while the panel lives hides its Qt object and deletes it later
// (deleteLater): the toolkit may destroy a widget from inside the very Qt signal that object is
// emitting. The object stays in its Qt parent meanwhile, so whoever deletes the parent deletes
// it too.
//
// Tearing down is not a gesture: hiding or deleting a Qt object moves Qt's focus, and a field
// losing the focus reports its text as finished. The signals of the object and of everything
// under it are blocked while it is hidden (for good when it goes), and text typed and not
// confirmed in a field that disappears is dropped.
#pragma once

#include "platform/KesDialog.h"

#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtWidgets/QWidget>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class KesQtBinding;

// What a binding needs of the view that holds it.
class KesQtMirrorHost {
public:
    virtual ~KesQtMirrorHost() = default;
    // Hands a user gesture to the toolkit: runs `action`, then shows the toolkit's state of
    // `target` again (whatever it accepted, refused or normalised). Answers whether `target`
    // still exists afterwards.
    virtual bool Gesture(const KesDialog& target, const std::function<void()>& action) = 0;
    // The binding of `widget`, or null when the view does not mirror it.
    virtual KesQtBinding* BindingOf(const KesDialog* widget) const = 0;
    // Asks for the form layout, the accessible names and the tab order around `widget` (its
    // own box and its parent's) to be brought up to date: soon, once, whatever the number of
    // calls.
    virtual void LayoutChanged(const KesDialog& widget) = 0;
    // The Qt widget that owns the windows of the panel's dialogs.
    virtual QWidget* WindowOwner() const = 0;
    // Shows the toolkit's state again in every field at or under `widget` (text typed there
    // and not confirmed is dropped).
    virtual void DropTyped(const KesDialog& widget) = 0;
};

class KesQtBinding {
public:
    KesQtBinding(KesDialog& widget, KesQtMirrorHost& host) : widget_(widget), host_(host) {}
    virtual ~KesQtBinding();
    KesQtBinding(const KesQtBinding&) = delete;
    KesQtBinding& operator=(const KesQtBinding&) = delete;

    // Builds the Qt object under `parent` (the Qt widget chosen for it by the view: the box of
    // its frame, the widget a menu belongs to, the menu of an item).
    virtual void Create(QWidget* parent) = 0;
    // Shows one property of the toolkit widget, with the Qt object's signals blocked.
    void Show(KesDlgProperty property);
    // Shows every property.
    void ShowAll();
    // Places the Qt widget of a new child (frames and dialogs lay them out).
    virtual void Adopt(KesQtBinding& /*child*/) {}
    // Where the Qt widgets of children go; null for kinds that hold no laid-out children.
    virtual QWidget* ChildParent() const { return nullptr; }
    // Puts the children's Qt widgets in the toolkit's layout order again.
    virtual void Arrange() {}

    KesDialog& Dialog() const { return widget_; }
    QWidget* Widget() const { return qt_; }
    virtual QAction* Action() const { return nullptr; }
    // Removed with the panel still alive: hide the Qt object and delete it later. Otherwise
    // (the view is going) the Qt objects go with the view's top widget.
    void SetRemovedFromLivePanel() { removedFromLivePanel_ = true; }

protected:
    // Applies one property; the base handles sensitivity, visibility and help, which every
    // kind has. Kinds ignore the properties they do not show.
    virtual void Apply(KesDlgProperty property);
    bool RemovedFromLivePanel() const { return removedFromLivePanel_; }
    // True while ShowAll applies every property: a kind may then leave what several properties
    // share to ShownAll, called once at the end.
    bool ShowingAll() const { return showingAll_; }
    virtual void ShownAll() {}
    // Takes `qt` as the binding's Qt widget.
    void Own(QWidget* qt) { qt_ = qt; }
    // The receiver of every connection of this binding.
    QObject* Context() { return &context_; }
    bool Gesture(const std::function<void()>& action) { return host_.Gesture(widget_, action); }

    KesDialog& widget_;
    KesQtMirrorHost& host_;

private:
    QPointer<QWidget> qt_;
    QObject context_;
    bool removedFromLivePanel_ = false;
    bool showingAll_ = false;
    int shownVisibility_ = 0; // the toolkit visibility last shown (0: none yet)
};

// The binding of a new toolkit widget of any kind.
std::unique_ptr<KesQtBinding> KesQtMakeBinding(KesDialog& widget, KesQtMirrorHost& host);

// The children of a frame or dialog that its box lays out (no dialogs, menus or items), in
// layout order: creation order, except that the widgets of each horizontal attachment row take
// the places of the row's widgets in the order the row lists them.
std::vector<const KesDialog*> KesQtLayoutOrder(const KesDialog& container);
bool KesQtIsLaidOut(const KesDialog& widget);

// Lets the secondary click on `widget` and its children reach the menu of an enclosing widget,
// for those that have no menu of their own.
void KesQtDeferContextMenus(QWidget* widget);

// Blocks the signals of a Qt object and of every object under it for the blocker's lifetime.
class KesQtTreeSignalBlocker {
public:
    explicit KesQtTreeSignalBlocker(QObject* root);
    ~KesQtTreeSignalBlocker();
    KesQtTreeSignalBlocker(const KesQtTreeSignalBlocker&) = delete;
    KesQtTreeSignalBlocker& operator=(const KesQtTreeSignalBlocker&) = delete;

private:
    std::vector<std::pair<QPointer<QObject>, bool>> blocked_; // with the state to restore
};

// Silences a Qt object that is going: its signals and those of everything under it are blocked
// for good.
void KesQtSilence(QObject* root);

// A toolkit text (UTF-8) for Qt.
QString KesQtText(const std::string& utf8);
