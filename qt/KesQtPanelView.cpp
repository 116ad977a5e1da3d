// KesQtPanelView: the mirror of a panel (the observer, the map from toolkit widget to binding)
// and what spans several widgets: the form layout, accessible names and tab order.
//
//   Layout order          which children a box lays out, in which order
//   Top widget            the scroll area bounded by the screen
//   Mirror                building, removing, observing, gestures
//   Form and keyboard     label column, accessible names, tab order
//   KesQtPanelView        the public face
#include "qt/KesQtPanelView.h"

#include "platform/KesDlgFrame.h"
#include "platform/KesDlgKindTraits.h"
#include "qt/KesQtBinding.h"

#include <QtCore/QTimer>
#include <QtGui/QKeyEvent>
#include <QtGui/QScreen>
#include <QtWidgets/QAbstractSpinBox>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QScrollArea>
#include <QtWidgets/QStyle>
#include <QtWidgets/QVBoxLayout>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

// ---------------------------------------------------------------------------------------------
// Layout order
// ---------------------------------------------------------------------------------------------
bool KesQtIsLaidOut(const KesDialog& widget) {
    return KesDlgTraitsOf(widget.GetKind()).laidOut;
}

std::vector<const KesDialog*> KesQtLayoutOrder(const KesDialog& container) {
    std::vector<const KesDialog*> order;
    for (int i = 0; i < container.GetChildCount(); ++i) {
        const KesDialog* child = container.GetChildFromChildNumber(i);
        if (KesQtIsLaidOut(*child)) {
            order.push_back(child);
        }
    }
    const auto* frame = dynamic_cast<const KesDlgFrame*>(&container);
    if (frame == nullptr) {
        return order;
    }
    for (const KesDlgFrame::Attachment& attachment : frame->GetHorizontalAttachments()) {
        std::vector<size_t> places;
        std::vector<const KesDialog*> row;
        for (const KesDialog* widget : attachment.row) {
            const auto found = std::find(order.begin(), order.end(), widget);
            if (found != order.end() && std::find(row.begin(), row.end(), widget) == row.end()) {
                places.push_back(static_cast<size_t>(found - order.begin()));
                row.push_back(widget);
            }
        }
        std::sort(places.begin(), places.end());
        for (size_t i = 0; i < places.size(); ++i) {
            order[places[i]] = row[i];
        }
    }
    return order;
}

namespace {

bool IsRow(const KesDialog& widget) {
    const auto* frame = dynamic_cast<const KesDlgFrame*>(&widget);
    return frame != nullptr && frame->GetDefaultOrientation() == kes::kRow;
}

bool IsShown(const KesDialog& widget) {
    return widget.GetVisibility() == kes::kShown;
}

// The title of the first label among the children of `frame`, or null when it has none.
const KesUnicodeString* LabelOf(const KesDialog& frame) {
    for (int i = 0; i < frame.GetChildCount(); ++i) {
        const KesDialog* child = frame.GetChildFromChildNumber(i);
        if (child->GetKind() == KesDlgKind::Label && !child->GetTitle().IsEmpty()) {
            return &child->GetTitle();
        }
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Top widget
// ---------------------------------------------------------------------------------------------
// Qt keeps the size hints of laid-out widgets until a layout is told they changed, and tells
// the layouts above a widget only once they have been shown: before the first show, a hint
// changed under a box (a label widened to align a column) leaves the boxes above it stale.
// Tells every box from the leaves up.
void RefreshHints(QWidget* widget) {
    for (QObject* child : widget->children()) {
        if (auto* under = qobject_cast<QWidget*>(child); under != nullptr && !under->isWindow()) {
            RefreshHints(under);
        }
    }
    widget->updateGeometry();
}

// A scroll area as large as the panel wants, within the screen: a taller panel scrolls.
class PanelScrollArea final : public QScrollArea {
public:
    using QScrollArea::QScrollArea;

    // The whole panel's size, with the room of a vertical scroll bar.
    QSize PanelHint() const {
        QWidget* panel = widget();
        if (panel == nullptr) {
            return {};
        }
        if (!isVisible()) {
            panel->ensurePolished(); // and everything under it: the style's fonts and margins
            RefreshHints(panel);
        }
        const QSize content = panel->sizeHint();
        const int frame = 2 * frameWidth();
        return {content.width() + frame + style()->pixelMetric(QStyle::PM_ScrollBarExtent),
                content.height() + frame};
    }

    QSize sizeHint() const override {
        QSize wanted = PanelHint();
        if (const QScreen* shown = screen()) {
            wanted = wanted.boundedTo(shown->availableSize() * 9 / 10);
        }
        return wanted;
    }
};

// A text field, where Return confirms what was typed.
bool IsTextField(const QWidget* widget) {
    if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
        return combo->isEditable();
    }
    return qobject_cast<const QLineEdit*>(widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(widget) != nullptr;
}

// What makes the top widget behave as a Qt widget inside a host's window:
// - Return or Enter that a text field of the panel has taken (and let through, as Qt's fields
//   do) goes no further: in a dialog it would also press the default button. Return elsewhere
//   (a button, a read-only combo) still reaches the window.
// - The top widget's size hint follows the panel's: when the panel's layout changes, the
//   layout around the top widget is told (updateGeometry), so that a window sized to it shows
//   the whole panel.
class TopWidgetFilter final : public QObject {
public:
    TopWidgetFilter(QWidget* top, QWidget* holder) : QObject(top), top_(top), holder_(holder) {
        top->installEventFilter(this);
        holder->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == holder_ && event->type() == QEvent::LayoutRequest) {
            // Posted when the panel's layout is invalid: the hint read now is the new one.
            const QSize hint = top_->sizeHint();
            if (hint != shownHint_) {
                shownHint_ = hint;
                top_->updateGeometry();
            }
        } else if (watched == top_ && event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const QWidget* focus = QApplication::focusWidget();
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && focus != nullptr &&
                top_->isAncestorOf(focus) && IsTextField(focus)) {
                event->accept();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* top_;
    QWidget* holder_;
    QSize shownHint_; // the top widget's hint when its layout was last told
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Mirror
// ---------------------------------------------------------------------------------------------
class KesQtPanelView::Mirror final : public KesDlgObserver, public KesQtMirrorHost {
public:
    Mirror(KesDialog& root, QWidget* parent) : root_(&root), alive_(std::make_shared<bool>(true)) {
        top_ = new PanelScrollArea(parent);
        top_->setWidgetResizable(true);
        holder_ = new QWidget(top_);
        auto* column = new QVBoxLayout(holder_);
        column->setContentsMargins(8, 8, 8, 8);
        KesDialog::AddObserver(this);
        Build(root, nullptr, true);
        if (const KesQtBinding* binding = BindingOf(&root)) {
            column->addWidget(binding->Widget());
        }
        column->addStretch(1); // the panel keeps its height when the window is taller
        top_->setWidget(holder_);
        new TopWidgetFilter(top_, holder_); // owned by the top widget
        Flush();
    }

    ~Mirror() override {
        *alive_ = false;
        KesDialog::RemoveObserver(this);
        bindings_.clear(); // the Qt widgets go with the top widget
        if (top_ != nullptr && top_->parent() == nullptr) {
            delete top_.data();
        }
    }

    QWidget* Top() const { return top_; }
    QSize PanelHint() const { return top_ != nullptr ? top_->PanelHint() : QSize(); }

    // Brings the view fully in step: the state of the widgets created since the last flush,
    // then the form layout, accessible names and tab order of the frames that changed.
    void Flush() {
        flushPosted_ = false;
        ShowCreated();
        if (dirty_.empty()) {
            return;
        }
        const std::unordered_set<const KesDialog*> dirty = std::move(dirty_);
        dirty_.clear();
        for (const KesDialog* frame : dirty) {
            if (BindingOf(frame) == nullptr) {
                continue;
            }
            AlignLabels(*frame);
            const KesUnicodeString* label = nullptr;
            for (const KesDialog* up = frame; up != nullptr && label == nullptr;
                 up = up->GetParent()) {
                label = LabelOf(*up);
            }
            NameValueWidgets(*frame, label);
        }
        if (root_ != nullptr) {
            std::vector<QWidget*> chain;
            OrderTabs(*root_, chain);
        }
    }

    // Shows the state of the widgets created since the last flush.
    void ShowCreated() {
        const std::unordered_set<const KesDialog*> unshown = std::move(unshown_);
        unshown_.clear();
        for (const KesDialog* widget : unshown) {
            if (KesQtBinding* binding = BindingOf(widget)) {
                binding->ShowAll();
            }
        }
    }
    std::function<void()> afterGesture;

    void WidgetChanged(KesDialog& widget, KesDlgProperty property) override {
        if (property == KesDlgProperty::Created) {
            // Only the parent is known yet: a widget outside the panel costs one look-up.
            KesQtBinding* parent = BindingOf(widget.GetParent());
            if (parent != nullptr && top_ != nullptr) {
                Build(widget, parent, false);
            }
            return;
        }
        const auto found = bindings_.find(&widget);
        if (found == bindings_.end()) {
            return;
        }
        if (property == KesDlgProperty::Destroyed) {
            Remove(widget);
        } else if (unshown_.erase(&widget) != 0) {
            found->second->ShowAll(); // constructed by now: its whole state can be read
        } else {
            found->second->Show(property);
        }
    }

    bool Gesture(const KesDialog& target, const std::function<void()>& action) override {
        const std::shared_ptr<bool> alive = alive_;
        action();
        if (!*alive) {
            return false; // a receiver deleted the view
        }
        const auto found = bindings_.find(&target);
        if (found != bindings_.end()) {
            found->second->ShowAll(); // whatever the toolkit kept, refused or normalised
        }
        const bool targetLives = found != bindings_.end();
        Flush();
        if (afterGesture) {
            const std::function<void()> hook = afterGesture;
            hook();
        }
        return targetLives && *alive;
    }

    KesQtBinding* BindingOf(const KesDialog* widget) const override {
        const auto found = bindings_.find(widget);
        return found != bindings_.end() ? found->second.get() : nullptr;
    }

    void LayoutChanged(const KesDialog& widget) override {
        // The widget's own box, and the box of its parent (a label column, accessible names).
        for (const KesDialog* box : {&widget, static_cast<const KesDialog*>(widget.GetParent())}) {
            if (box != nullptr &&
                (box->GetKind() == KesDlgKind::Frame || box->GetKind() == KesDlgKind::Dialog)) {
                dirty_.insert(box);
            }
        }
        if (!flushPosted_) {
            flushPosted_ = true;
            QTimer::singleShot(0, &context_, [this] { Flush(); });
        }
    }

    QWidget* WindowOwner() const override { return top_; }

    void
    ForEachMirror(const std::function<void(const KesDialog*, QWidget*, QAction*)>& visit) const {
        for (const auto& [widget, binding] : bindings_) {
            visit(widget, binding->Widget(), binding->Action());
        }
    }

    void DropTyped(const KesDialog& widget) override {
        if (KesQtBinding* binding = BindingOf(&widget);
            binding != nullptr && KesDlgTraitsOf(widget.GetKind()).takesText) {
            binding->ShowAll();
        }
        for (int i = 0; i < widget.GetChildCount(); ++i) {
            DropTyped(*widget.GetChildFromChildNumber(i));
        }
    }

private:
    // Mirrors `widget` and its children; `parent` is the binding of its toolkit parent (null
    // for the root). A widget announced as Created is still in its base constructor: only its
    // identity and kind may be read, so its state is shown at its first change or at the next
    // flush, whichever comes first.
    void Build(KesDialog& widget, KesQtBinding* parent, bool constructed) {
        QWidget* qtParent = parent == nullptr ? holder_.data() : QtParentFor(widget, *parent);
        std::unique_ptr<KesQtBinding> made = KesQtMakeBinding(widget, *this);
        if (made == nullptr) {
            return;
        }
        KesQtBinding& binding = *made;
        bindings_[&widget] = std::move(made);
        if (qtParent != nullptr || widget.GetKind() == KesDlgKind::Dialog) {
            binding.Create(qtParent);
        }
        if (widget.GetKind() == KesDlgKind::ContextualMenu) {
            menuOwners_.insert(widget.GetParent());
        } else if (UnderMenuOwner(widget)) {
            KesQtDeferContextMenus(binding.Widget());
        }
        if (parent != nullptr) {
            parent->Adopt(binding);
        }
        if (constructed) {
            binding.ShowAll();
        } else {
            unshown_.insert(&widget);
        }
        for (int i = 0; i < widget.GetChildCount(); ++i) {
            Build(*widget.GetChildFromChildNumber(i), &binding, constructed);
        }
        LayoutChanged(widget);
    }

    QWidget* QtParentFor(const KesDialog& widget, const KesQtBinding& parent) const {
        switch (widget.GetKind()) {
        case KesDlgKind::Dialog:
            return top_;
        case KesDlgKind::ContextualMenu:
        case KesDlgKind::PushItem:
        case KesDlgKind::Count:
            return parent.Widget();
        case KesDlgKind::Frame:
        case KesDlgKind::Label:
        case KesDlgKind::Editor:
        case KesDlgKind::Spinner:
        case KesDlgKind::Combo:
        case KesDlgKind::CheckButton:
        case KesDlgKind::RadioButton:
        case KesDlgKind::PushButton:
        case KesDlgKind::ScrollBar:
        case KesDlgKind::SelectorList:
            return parent.ChildParent() != nullptr ? parent.ChildParent() : parent.Widget();
        }
        return parent.Widget(); // no other kind exists
    }

    bool UnderMenuOwner(const KesDialog& widget) const {
        for (const KesDialog* up = widget.GetParent(); up != nullptr; up = up->GetParent()) {
            if (menuOwners_.count(up) != 0) {
                return true;
            }
        }
        return false;
    }

    void Remove(KesDialog& widget) {
        const auto found = bindings_.find(&widget);
        std::unique_ptr<KesQtBinding> binding = std::move(found->second);
        bindings_.erase(found);
        dirty_.erase(&widget);
        unshown_.erase(&widget);
        menuOwners_.erase(&widget);
        binding->SetRemovedFromLivePanel();
        binding.reset();
        if (&widget == root_) {
            // The panel goes: its children's bindings go as their own Destroyed arrive.
            root_ = nullptr;
        } else if (KesDialog* parent = widget.GetParent(); BindingOf(parent) != nullptr) {
            LayoutChanged(*parent);
        }
    }

    // -----------------------------------------------------------------------------------------
    // Form and keyboard
    // -----------------------------------------------------------------------------------------
    // The rows of a column that start with a label (after at most one widget, such as an
    // option check) have their value widgets start at one x: each label is widened by what
    // its row's caption lacks to the widest caption.
    void AlignLabels(const KesDialog& column) {
        if (column.GetKind() != KesDlgKind::Frame && column.GetKind() != KesDlgKind::Dialog) {
            return;
        }
        if (IsRow(column)) {
            return;
        }
        struct Caption {
            QLabel* label;
            int width;
        };
        std::vector<Caption> captions;
        int widest = 0;
        for (const KesDialog* row : KesQtLayoutOrder(column)) {
            if (!IsRow(*row) || !IsShown(*row)) {
                continue;
            }
            int width = 0;
            int leading = 0;
            for (const KesDialog* part : KesQtLayoutOrder(*row)) {
                const KesQtBinding* binding = BindingOf(part);
                if (!IsShown(*part) || binding == nullptr || binding->Widget() == nullptr) {
                    continue;
                }
                // The caption keeps its width; the value widgets take what the row has more.
                QSizePolicy policy = binding->Widget()->sizePolicy();
                policy.setHorizontalPolicy(QSizePolicy::Fixed);
                binding->Widget()->setSizePolicy(policy);
                if (auto* label = qobject_cast<QLabel*>(binding->Widget())) {
                    width += label->sizeHint().width();
                    captions.push_back({label, width});
                    widest = std::max(widest, width);
                    break;
                }
                if (++leading > 1) {
                    break;
                }
                width += binding->Widget()->sizeHint().width() + 6;
            }
        }
        for (const Caption& caption : captions) {
            caption.label->setMinimumWidth(caption.label->sizeHint().width() + widest -
                                           caption.width);
        }
    }

    // A screen reader announces a value widget by its attribute's label.
    void NameValueWidgets(const KesDialog& frame, const KesUnicodeString* label) {
        for (int i = 0; i < frame.GetChildCount(); ++i) {
            const KesDialog& child = *frame.GetChildFromChildNumber(i);
            switch (child.GetKind()) {
            case KesDlgKind::Frame:
            case KesDlgKind::Dialog: {
                const KesUnicodeString* own = LabelOf(child);
                NameValueWidgets(child, own != nullptr ? own : label);
                break;
            }
            case KesDlgKind::Editor:
            case KesDlgKind::Spinner:
            case KesDlgKind::Combo:
            case KesDlgKind::ScrollBar:
            case KesDlgKind::SelectorList:
            case KesDlgKind::CheckButton:
            case KesDlgKind::RadioButton:
            case KesDlgKind::PushButton:
                if (const KesQtBinding* binding = BindingOf(&child);
                    binding != nullptr && binding->Widget() != nullptr) {
                    // A widget with a caption of its own is announced by it.
                    const KesUnicodeString* name =
                        child.GetCaption().IsEmpty() ? label : &child.GetCaption();
                    if (name == nullptr) {
                        break;
                    }
                    // A button with a title of its own is announced by it.
                    const bool titled = child.GetKind() >= KesDlgKind::CheckButton &&
                                        child.GetKind() <= KesDlgKind::PushButton &&
                                        !child.GetTitle().IsEmpty();
                    binding->Widget()->setAccessibleName(titled ? QString()
                                                                : KesQtText(name->Str()));
                    binding->Widget()->setAccessibleDescription(titled ? KesQtText(name->Str())
                                                                       : QString());
                }
                break;
            case KesDlgKind::Label:
            case KesDlgKind::ContextualMenu:
            case KesDlgKind::PushItem:
            case KesDlgKind::Count:
                break;
            }
        }
    }

    // Tab goes through the value widgets in panel order; each dialog has its own chain.
    void OrderTabs(const KesDialog& container, std::vector<QWidget*>& chain) {
        for (const KesDialog* child : KesQtLayoutOrder(container)) {
            const KesQtBinding* binding = BindingOf(child);
            QWidget* qt = binding != nullptr ? binding->Widget() : nullptr;
            if (qt == nullptr) {
                continue;
            }
            if (child->GetKind() == KesDlgKind::Frame) {
                OrderTabs(*child, chain);
            } else if ((qt->focusPolicy() & Qt::TabFocus) != 0) {
                if (!chain.empty()) {
                    QWidget::setTabOrder(chain.back(), qt);
                }
                chain.push_back(qt);
            }
        }
        for (int i = 0; i < container.GetChildCount(); ++i) {
            const KesDialog* child = container.GetChildFromChildNumber(i);
            if (child->GetKind() == KesDlgKind::Dialog) {
                std::vector<QWidget*> own;
                OrderTabs(*child, own);
            }
        }
    }

    KesDialog* root_;
    QPointer<PanelScrollArea> top_;
    QPointer<QWidget> holder_; // holds the root's widget above a stretch
    std::unordered_map<const KesDialog*, std::unique_ptr<KesQtBinding>> bindings_;
    std::unordered_set<const KesDialog*> menuOwners_; // widgets that have a context menu
    std::unordered_set<const KesDialog*> dirty_;      // frames whose form needs a new look
    std::unordered_set<const KesDialog*> unshown_;    // created, state not shown yet
    bool flushPosted_ = false;
    QObject context_;             // receiver of the posted flush: gone with the mirror
    std::shared_ptr<bool> alive_; // false once the mirror is deleted (inside a gesture)
};

// ---------------------------------------------------------------------------------------------
// KesQtPanelView
// ---------------------------------------------------------------------------------------------
KesQtPanelView::KesQtPanelView(KesDialog& root, QWidget* parent)
    : mirror_(std::make_unique<Mirror>(root, parent)) {}

KesQtPanelView::~KesQtPanelView() = default;

QWidget* KesQtPanelView::Widget() const {
    mirror_->Flush();
    return mirror_->Top();
}

QSize KesQtPanelView::PanelSizeHint() const {
    mirror_->Flush();
    return mirror_->PanelHint();
}

QWidget* KesQtPanelView::Find(const KesDialog& widget) const {
    mirror_->Flush();
    const KesQtBinding* binding = mirror_->BindingOf(&widget);
    return binding != nullptr ? binding->Widget() : nullptr;
}

QAction* KesQtPanelView::FindAction(const KesDialog& item) const {
    mirror_->Flush();
    const KesQtBinding* binding = mirror_->BindingOf(&item);
    return binding != nullptr ? binding->Action() : nullptr;
}

void KesQtPanelView::SetAfterGesture(std::function<void()> hook) {
    mirror_->afterGesture = std::move(hook);
}

void KesQtPanelView::ForEachMirror(
    const std::function<void(const KesDialog*, QWidget*, QAction*)>& visit) const {
    mirror_->Flush();
    mirror_->ForEachMirror(visit);
}
