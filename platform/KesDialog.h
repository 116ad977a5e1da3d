// KesDialog: the base of every widget of the headless dialog toolkit.
//
// Widgets form a tree. A widget is created on the heap with its parent, an identifier and a
// style word; the parent takes it over and numbers its children from 0 in creation order. A
// widget deleted by its owner leaves its parent's children; a parent deletes the children left
// when it is deleted. Widgets with a parent must therefore be created with new.
//
// Every change of a widget's state goes through Changed(property), which tells the observers
// registered with AddObserver (a picture of the panel, a window mirroring the tree, a test
// recorder). Input enters only through the User... actions of each widget class: each changes
// the widget as a person would and raises the notification the toolkit raises for that gesture.
// A user action returns false, and nothing happens, when the widget or one of its ancestors (up
// to the dialog window that holds it) is hidden or insensitive, or when it or any ancestor is
// being destroyed (from the first line of its destructor on; a derived class whose destructor
// does work marks itself first, see KesCommand::MarkBeingDestroyed).
//
// Flag words (sensitivity 8 = on, 16 = off; visibility 2 = shown, 4 = hidden; styles, states,
// notify flags) are named in KesDlgFlags.h.
#pragma once

#include "platform/KesCommand.h"
#include "platform/KesDlgFlags.h"
#include "platform/KesString.h"
#include "platform/KesUnicodeString.h"

#include <vector>

class KesDialog;

// What a widget is, for observers that mirror the tree (known from the moment it is created).
// A new kind goes before Count and gets its row in KesDlgKindTraits.cpp (the build fails until
// it has one); the switches over kinds have no default, so -Wswitch names every other place.
enum class KesDlgKind {
    Frame,
    Label,
    Editor,
    Spinner,
    Combo,
    CheckButton,
    RadioButton,
    PushButton,
    ContextualMenu,
    PushItem,
    Dialog,
    ScrollBar,
    SelectorList,
    Count, // not a kind: the number of kinds; stays last
};

// Which part of a widget's state changed.
enum class KesDlgProperty {
    Created,   // the widget was just attached to its parent; only identity and kind are set
    Destroyed, // the widget is about to leave the tree
    Title,
    Help,
    ShortHelp,
    Icon,
    Caption,
    Sensitivity,
    Visibility,
    Orientation,
    Attachment,
    Text,
    MaxCharacterWidth,
    Value,
    Range,
    Format,
    Precision,
    DisplayFormat,
    VisibleTextWidth,
    VisibleTextHeight,
    Lines,
    Selection,
    Field,
    State,
    ScrollRange,
    ScrollBoxSize,
    ScrollPosition,
};

class KesDlgObserver {
public:
    virtual ~KesDlgObserver() = default;
    virtual void WidgetChanged(KesDialog& widget, KesDlgProperty property) = 0;
};

class KesDialog : public KesCommand {
public:
    KesDialog(KesDialog* parent, const KesString& name, unsigned long style, KesDlgKind kind);
    ~KesDialog() override;

    // Identity and tree.
    const KesString& GetName() const { return name_; }
    unsigned long GetStyle() const { return style_; }
    KesDlgKind GetKind() const { return kind_; }
    KesDialog* GetParent() const { return parent_; }
    int GetChildCount() const { return static_cast<int>(children_.size()); }
    // The child at 0-based `number`; null outside 0..GetChildCount()-1.
    KesDialog* GetChildFromChildNumber(int number) const;
    // The first descendant (depth first, in creation order) with this identifier, or null.
    KesDialog* FindDescendant(const KesString& name) const;
    KesCommand* GetFather() const override { return parent_; }

    // Look and help.
    void SetTitle(const KesUnicodeString& title);
    const KesUnicodeString& GetTitle() const { return title_; }
    void SetHelp(const KesUnicodeString& help);
    const KesUnicodeString& GetHelp() const { return help_; }
    void SetShortHelp(const KesUnicodeString& help);
    const KesUnicodeString& GetShortHelp() const { return shortHelp_; }
    // One name, or two (the second for the selected or active look).
    void SetIconName(const KesString& name, const KesString& secondName = KesString());
    const KesString& GetIconName() const { return iconName_; }
    const KesString& GetSecondIconName() const { return secondIconName_; }
    // The name a person knows the widget by when it shows no title of its own (an attribute
    // gives its label to such a widget): a window shows it on an untitled push button and
    // announces the widget by it. Empty by default.
    void SetCaption(const KesUnicodeString& caption);
    const KesUnicodeString& GetCaption() const { return caption_; }

    // Sensitivity 8 (on) or 16 (off); any other value is ignored. IsSetSensitivity answers the
    // widget's own flag, whatever its ancestors say.
    virtual void SetSensitivity(unsigned long sensitivity);
    bool IsSetSensitivity() const { return sensitivity_ == kes::kSensitive; }
    unsigned long GetSensitivity() const { return sensitivity_; }
    // Visibility 2 (shown) or 4 (hidden); any other value is ignored.
    void SetVisibility(int visibility);
    int GetVisibility() const { return visibility_; }

    // The resource file that describes the texts of the widgets under this one (see
    // KesDlgResource: a widget created under it starts with the title, help and short help the
    // file gives its identifier); the toolkit's widgets have none and answer the empty name at
    // every level.
    virtual KesString GetResourceFilename(int level) const;

    // True when a person can act on the widget now: it and every ancestor up to its dialog
    // window are shown and sensitive, and neither it nor any ancestor is being destroyed.
    bool AcceptsUserInput() const;

    // Observers of every widget of the process. An observer must be removed before it dies.
    static void AddObserver(KesDlgObserver* observer);
    static void RemoveObserver(KesDlgObserver* observer);

protected:
    // The one path of every state change: tells the observers.
    void Changed(KesDlgProperty property);
    // Raises the notification of the given kind from this widget: a new notification is sent
    // to the widget itself and travels up the tree to the command that bound it.
    void Raise(const KesNotification& kind);

private:
    KesDialog* parent_;
    KesString name_;
    unsigned long style_;
    KesDlgKind kind_;
    std::vector<KesDialog*> children_; // owned
    bool destroying_ = false;          // set while deleting the children
    KesUnicodeString title_;
    KesUnicodeString help_;
    KesUnicodeString shortHelp_;
    KesString iconName_;
    KesString secondIconName_;
    KesUnicodeString caption_;
    unsigned long sensitivity_ = kes::kSensitive;
    int visibility_ = kes::kShown;
};

// A notification raised by a toolkit widget; its class name tells the kind of gesture
// ("KesDlgEditModifyNotification", ...). Widgets keep one of each of their kinds, handed out by
// their Get...Notification() getters for binding.
class KesDlgNotification : public KesNotification {
public:
    explicit KesDlgNotification(const char* className);
    const KesMetaObject* GetMetaObject() const override { return meta_; }

private:
    const KesMetaObject* meta_;
};
