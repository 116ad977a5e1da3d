// KesQtHands: the gestures as Qt events on the mirrors, and the check of the mirrors.
//
//   Typing          keys into line edits, Return, leaving a field
//   Gestures        spin boxes, combos, buttons, scroll bars, lists, menus, dialogs
//   The check       every widget mirrored once and in step, no mirror left, the focus
#include "qt/KesQtHands.h"

#include "framework/KesMfgAttribute.h"
#include "platform/KesDlgCombo.h"
#include "platform/KesDlgDialog.h"
#include "platform/KesDlgEditor.h"
#include "platform/KesDlgPushButton.h"
#include "platform/KesDlgPushItem.h"
#include "platform/KesDlgScrollBar.h"
#include "platform/KesDlgSelectorList.h"
#include "platform/KesDlgSpinner.h"
#include "platform/KesDlgStateButton.h"
#include "qt/KesQtPanelView.h"

#include <QtGui/QAction>
#include <QtGui/QContextMenuEvent>
#include <QtGui/QKeyEvent>
#include <QtTest/QTest>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QDoubleSpinBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QSpinBox>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <sstream>
#include <unordered_map>
#include <unordered_set>

namespace {

QString Text(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A title on a Qt button, as the view shows it ('&' doubled: no mnemonic).
QString ButtonText(const KesUnicodeString& title) {
    return Text(title.Str()).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// Types `text` where the cursor of `edit` stands: key by key when a keyboard can type it,
// else a character at a time by the line edit itself (control characters, characters beyond the
// basic plane).
void TypeInto(QWidget* receiver, QLineEdit* edit, const QString& text) {
    const bool typeable = std::all_of(text.begin(), text.end(),
                                      [](QChar c) { return c.isPrint() && !c.isSurrogate(); });
    if (typeable) {
        for (const QChar c : text) {
            if (c.unicode() >= 0x20 && c.unicode() < 0x7F) {
                QTest::keyClick(receiver, static_cast<char>(c.unicode()));
                continue;
            }
            // A character of no key of its own: as a keyboard layout or an input method
            // gives it, a key event that carries the character.
            for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent key(type, 0, Qt::NoModifier, QString(c));
                QApplication::sendEvent(receiver, &key);
            }
        }
    } else {
        // Pasted a character at a time, as the keys would come: a number field's validator
        // refuses the characters no number takes and keeps the others, as it does for keys.
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            edit->insert(text.mid(i, length));
            i += length - 1;
        }
    }
}

// The number as a person types it: the closest text the spin box reads back to `value`
// (an infinity as the largest number, which the spinner clamps alike).
QString NumberText(double value) {
    if (std::isinf(value)) {
        value = value > 0 ? DBL_MAX : -DBL_MAX;
    }
    std::ostringstream out;
    out.precision(17);
    out << value;
    return QString::fromStdString(out.str());
}

} // namespace

KesQtHands::KesQtHands(KesQtPanelView& view, const KesDialog& root) : view_(view), root_(root) {}

QLineEdit* KesQtHands::LineEditOf(const KesDialog& field) const {
    QWidget* mirror = view_.Find(field);
    if (auto* edit = qobject_cast<QLineEdit*>(mirror)) {
        return edit;
    }
    if (auto* combo = qobject_cast<QComboBox*>(mirror)) {
        return combo->lineEdit();
    }
    auto* box = qobject_cast<QAbstractSpinBox*>(mirror);
    return box != nullptr ? box->findChild<QLineEdit*>() : nullptr;
}

// Where a person's keys for `field` go: a combo or spin box takes them for its line edit (and
// a spin box's validator drops the keys a number does not take).
QWidget* KesQtHands::KeysReceiver(const KesDialog& field, QLineEdit* edit) const {
    QWidget* mirror = view_.Find(field);
    return qobject_cast<QComboBox*>(mirror) != nullptr ||
                   qobject_cast<QAbstractSpinBox*>(mirror) != nullptr
               ? mirror
               : edit;
}

// ---------------------------------------------------------------------------------------------
// Typing
// ---------------------------------------------------------------------------------------------
bool KesQtHands::Type(KesDialog& field, const std::string& text) {
    const bool accepts = field.AcceptsUserInput();
    QLineEdit* edit = LineEditOf(field);
    if (edit == nullptr || !edit->isEnabled()) {
        return accepts; // a disabled field takes no keys; a missing mirror the check reports
    }
    if (typedInto_ == edit) {
        typedInto_ = nullptr; // what was typed and not confirmed is typed over
    }
    QWidget* receiver = KeysReceiver(field, edit);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    if (text.empty()) {
        QTest::keyClick(receiver, Qt::Key_Delete);
    } else {
        TypeInto(receiver, edit, Text(text));
    }
    edit->setModified(true); // typed, even an empty text over an empty field
    // Return confirms the field; in a dialog window it would also press the dialog's default
    // button, so there the person leaves the field for the button instead.
    bool inDialog = false;
    for (const KesDialog* up = field.GetParent(); up != nullptr && !inDialog;
         up = up->GetParent()) {
        inDialog = up->GetKind() == KesDlgKind::Dialog;
    }
    if (inDialog) {
        Leave(edit);
    } else {
        QTest::keyClick(receiver, Qt::Key_Return);
    }
    return accepts;
}

bool KesQtHands::Keys(KesDialog& field, const std::string& text) {
    QLineEdit* edit = LineEditOf(field);
    if (!field.AcceptsUserInput() || edit == nullptr || !edit->isEnabled()) {
        return false;
    }
    if (typedInto_ != edit) {
        FinishTyping();
        edit->setFocus(Qt::OtherFocusReason);
    }
    edit->end(false);
    TypeInto(KeysReceiver(field, edit), edit, Text(text));
    typedInto_ = edit;
    return true;
}

// Leaving the field: its focus goes, and the line edit finishes editing as it does on any
// focus loss.
void KesQtHands::FinishTyping() {
    const QPointer<QLineEdit> edit = typedInto_;
    typedInto_ = nullptr;
    if (edit != nullptr && edit->isModified()) {
        Leave(edit);
    }
}

void KesQtHands::Leave(QLineEdit* edit) {
    if (edit->hasFocus()) {
        edit->clearFocus();
    } else {
        QFocusEvent left(QEvent::FocusOut, Qt::OtherFocusReason);
        QApplication::sendEvent(edit, &left);
    }
}

bool KesQtHands::Focus(KesDialog& widget) {
    if (!widget.AcceptsUserInput()) {
        return false;
    }
    if (QWidget* mirror = view_.Find(widget)) {
        mirror->setFocus(Qt::TabFocusReason);
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Gestures
// ---------------------------------------------------------------------------------------------
bool KesQtHands::SetValue(KesDlgSpinner& spinner, double value) {
    // What no one can type, the toolkit refuses too: not a number, or no range to clamp an
    // infinity into.
    if (!spinner.AcceptsUserInput() || std::isnan(value) ||
        (!spinner.HasRange() && !std::isfinite(value))) {
        return false;
    }
    auto* box = qobject_cast<QAbstractSpinBox*>(view_.Find(spinner));
    if (box == nullptr || !box->isEnabled()) {
        return true;
    }
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
    // A whole-number field takes no point: the person types the whole number the attribute
    // makes of the value (rounded down), in digits.
    QTest::keyClicks(box,
                     qobject_cast<QSpinBox*>(box) != nullptr
                         ? QString::number(std::floor(std::clamp(value, -DBL_MAX, DBL_MAX)), 'f', 0)
                         : NumberText(value));
    QTest::keyClick(box, Qt::Key_Return);
    return true;
}

// The spin box's own step, as its arrows give it: one step of `clicks` clicks.
bool KesQtHands::Step(KesDlgSpinner& spinner, int clicks) {
    const bool accepts = spinner.AcceptsUserInput();
    if (auto* box = qobject_cast<QAbstractSpinBox*>(view_.Find(spinner));
        box != nullptr && box->isEnabled()) {
        box->stepBy(clicks);
    }
    return accepts;
}

bool KesQtHands::SelectRow(KesDlgCombo& combo, int row) {
    const bool accepts = combo.AcceptsUserInput();
    if (auto* box = qobject_cast<QComboBox*>(view_.Find(combo));
        box != nullptr && box->isEnabled() && row >= 0 && row < box->count()) {
        box->setCurrentIndex(row);
        emit box->activated(row); // as a click on the line of the open list
    }
    return accepts;
}

bool KesQtHands::Drop(KesDlgCombo& combo) {
    const bool accepts = combo.AcceptsUserInput();
    const QPointer<QComboBox> box = qobject_cast<QComboBox*>(view_.Find(combo));
    if (box != nullptr && box->isEnabled()) {
        box->showPopup();
        if (box != nullptr) {
            box->hidePopup();
        }
    }
    return accepts;
}

bool KesQtHands::Click(KesDlgStateButton& button) {
    const bool accepts = button.AcceptsUserInput();
    if (auto* mirror = qobject_cast<QAbstractButton*>(view_.Find(button))) {
        QTest::keyClick(mirror, Qt::Key_Space); // a disabled button takes no keys
    }
    return accepts;
}

bool KesQtHands::Press(KesDlgPushButton& button) {
    const bool accepts = button.AcceptsUserInput();
    if (auto* mirror = qobject_cast<QAbstractButton*>(view_.Find(button))) {
        QTest::mouseClick(mirror, Qt::LeftButton);
    }
    return accepts;
}

// The box moved to `position` and let go (a click on the trough, a step, the wheel all end so).
bool KesQtHands::Scroll(KesDlgScrollBar& bar, int position) {
    const bool accepts = bar.AcceptsUserInput();
    if (auto* mirror = qobject_cast<QScrollBar*>(view_.Find(bar));
        mirror != nullptr && mirror->isEnabled()) {
        {
            const QSignalBlocker quiet(mirror);
            mirror->setSliderPosition(position);
        }
        mirror->triggerAction(QAbstractSlider::SliderMove);
    }
    return accepts;
}

// The box held and dragged to `position`, not let go.
bool KesQtHands::Drag(KesDlgScrollBar& bar, int position) {
    const bool accepts = bar.AcceptsUserInput();
    const QPointer<QScrollBar> mirror = qobject_cast<QScrollBar*>(view_.Find(bar));
    if (mirror != nullptr && mirror->isEnabled()) {
        {
            const QSignalBlocker quiet(mirror);
            mirror->setSliderDown(true);
            mirror->setSliderPosition(position);
        }
        emit mirror->sliderMoved(mirror->sliderPosition());
        if (mirror != nullptr) {
            const QSignalBlocker quiet(mirror);
            mirror->setSliderDown(false);
        }
    }
    return accepts;
}

bool KesQtHands::SelectRows(KesDlgSelectorList& list, const std::vector<int>& rows) {
    const bool accepts = list.AcceptsUserInput();
    if (auto* mirror = qobject_cast<QListWidget*>(view_.Find(list));
        mirror != nullptr && mirror->isEnabled()) {
        {
            const QSignalBlocker quiet(mirror);
            mirror->clearSelection();
            for (int row : rows) {
                if (QListWidgetItem* item = mirror->item(row)) {
                    item->setSelected(true);
                }
            }
        }
        emit mirror->itemSelectionChanged(); // one selection, as a click with Ctrl held
    }
    return accepts;
}

// The secondary click on the widget the menu belongs to pops the menu up; a click on the item.
bool KesQtHands::Activate(KesDlgPushItem& item) {
    const bool accepts = item.AcceptsUserInput();
    QAction* action = view_.FindAction(item);
    const QPointer<QMenu> menu =
        action != nullptr ? qobject_cast<QMenu*>(action->parent()) : nullptr;
    QWidget* owner = menu != nullptr ? menu->parentWidget() : nullptr;
    if (owner == nullptr) {
        return accepts;
    }
    const QPoint at(1, 1);
    QContextMenuEvent secondaryClick(QContextMenuEvent::Mouse, at, owner->mapToGlobal(at));
    QApplication::sendEvent(owner, &secondaryClick);
    if (menu != nullptr && menu->isVisible()) {
        const QRect place = menu->actionGeometry(action);
        if (!place.isEmpty()) {
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, place.center());
        }
    }
    if (menu != nullptr && menu->isVisible()) {
        menu->hide(); // the item did not take the click: the person closes the menu
    }
    return accepts;
}

bool KesQtHands::Close(KesDlgDialog& dialog, bool ok) {
    const bool accepts = dialog.AcceptsUserInput();
    QWidget* window = view_.Find(dialog);
    auto* buttons = window != nullptr ? window->findChild<QDialogButtonBox*>() : nullptr;
    if (QPushButton* button = buttons != nullptr ? buttons->button(ok ? QDialogButtonBox::Ok
                                                                      : QDialogButtonBox::Cancel)
                                                 : nullptr) {
        QTest::mouseClick(button, Qt::LeftButton);
    }
    return accepts;
}

void KesQtHands::Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// ---------------------------------------------------------------------------------------------
// The check
// ---------------------------------------------------------------------------------------------
namespace {

void Collect(const KesDialog& widget, std::vector<const KesDialog*>& live) {
    live.push_back(&widget);
    for (int i = 0; i < widget.GetChildCount(); ++i) {
        Collect(*widget.GetChildFromChildNumber(i), live);
    }
}

std::string RecordOf(const KesDialog& widget) {
    for (const KesDialog* up = &widget; up != nullptr; up = up->GetParent()) {
        if (const auto* attribute = dynamic_cast<const KesMfgAttribute*>(up)) {
            return attribute->GetRecordName().Str();
        }
    }
    return std::string();
}

std::string Quoted(const QString& text) {
    return "'" + text.toStdString() + "'";
}

// What the mirror shows differently from the widget, or "".
std::string Differs(const KesDialog& widget, QWidget* qt, QAction* action) {
    const bool shown = widget.GetVisibility() == kes::kShown;
    if (action != nullptr) {
        // A hidden action is disabled too, whatever its own setting.
        if (action->isEnabled() != (widget.IsSetSensitivity() && shown)) {
            return "sensitivity";
        }
        if (action->isVisible() != shown) {
            return "visibility";
        }
        if (!widget.GetTitle().IsEmpty() && action->text() != ButtonText(widget.GetTitle())) {
            return "title " + Quoted(action->text());
        }
        return std::string();
    }
    if (qt == nullptr) {
        return std::string();
    }
    if (qt->testAttribute(Qt::WA_ForceDisabled) == widget.IsSetSensitivity()) {
        return "sensitivity";
    }
    switch (widget.GetKind()) {
    case KesDlgKind::ContextualMenu:
    case KesDlgKind::Count:
        return std::string(); // shown only while popped up
    case KesDlgKind::Dialog:
        if (qt->isVisible() != shown) {
            return "visibility";
        }
        break;
    case KesDlgKind::Frame:
    case KesDlgKind::Label:
    case KesDlgKind::Editor:
    case KesDlgKind::Spinner:
    case KesDlgKind::Combo:
    case KesDlgKind::CheckButton:
    case KesDlgKind::RadioButton:
    case KesDlgKind::PushButton:
    case KesDlgKind::PushItem:
    case KesDlgKind::ScrollBar:
    case KesDlgKind::SelectorList:
        if (qt->parentWidget() != nullptr && qt->isVisibleTo(qt->parentWidget()) != shown) {
            return "visibility";
        }
    }
    const QString title = Text(widget.GetTitle().Str());
    switch (widget.GetKind()) {
    case KesDlgKind::Dialog:
        if (!title.isEmpty() && qt->windowTitle() != title) {
            return "title " + Quoted(qt->windowTitle());
        }
        break;
    case KesDlgKind::Label:
        if (auto* label = qobject_cast<QLabel*>(qt);
            label != nullptr && !title.isEmpty() && label->text() != title) {
            return "title " + Quoted(label->text());
        }
        break;
    case KesDlgKind::PushButton:
        if (auto* button = qobject_cast<QAbstractButton*>(qt);
            button != nullptr && !title.isEmpty() &&
            button->text() != ButtonText(widget.GetTitle())) {
            return "title " + Quoted(button->text());
        }
        break;
    case KesDlgKind::CheckButton:
    case KesDlgKind::RadioButton:
        if (auto* button = qobject_cast<QAbstractButton*>(qt)) {
            if (button->text() != ButtonText(widget.GetTitle())) {
                return "title " + Quoted(button->text());
            }
            if (button->isChecked() != static_cast<const KesDlgStateButton&>(widget).IsOn()) {
                return "check state";
            }
        }
        break;
    case KesDlgKind::Editor:
        // A field holding what the person typed and did not confirm shows that.
        if (auto* edit = qobject_cast<QLineEdit*>(qt); edit != nullptr && !edit->isModified()) {
            const QString text = Text(static_cast<const KesDlgEditor&>(widget).GetText().Str())
                                     .left(edit->maxLength());
            if (edit->text() != text) {
                return "text " + Quoted(edit->text());
            }
        }
        break;
    case KesDlgKind::Spinner: {
        const auto& spinner = static_cast<const KesDlgSpinner&>(widget);
        const double value = spinner.GetValue();
        if (!std::isfinite(value)) {
            break;
        }
        if (auto* box = qobject_cast<QSpinBox*>(qt)) {
            const double whole = std::clamp(std::round(value), double(INT_MIN), double(INT_MAX));
            const int expected =
                std::clamp(static_cast<int>(whole), box->minimum(), box->maximum());
            if (box->value() != expected) {
                return "value " + std::to_string(box->value());
            }
        } else if (auto* real = qobject_cast<QDoubleSpinBox*>(qt)) {
            const double expected = std::clamp(value, real->minimum(), real->maximum());
            const double tolerance =
                0.5 * std::pow(10.0, -real->decimals()) * 1.001 + 1e-12 * std::fabs(expected);
            if (std::fabs(real->value() - expected) > tolerance) {
                return "value " + std::to_string(real->value());
            }
        }
        break;
    }
    case KesDlgKind::Combo: {
        const auto& combo = static_cast<const KesDlgCombo&>(widget);
        auto* box = qobject_cast<QComboBox*>(qt);
        if (box == nullptr) {
            break;
        }
        if (box->count() != combo.GetLineCount()) {
            return "lines " + std::to_string(box->count());
        }
        for (int row = 0; row < box->count(); ++row) {
            if (box->itemText(row) != Text(combo.GetLine(row).Str())) {
                return "line " + Quoted(box->itemText(row));
            }
        }
        if (box->currentIndex() != combo.GetSelect()) {
            return "selection #" + std::to_string(box->currentIndex() + 1);
        }
        if (combo.IsEditable() && box->lineEdit() != nullptr && !box->lineEdit()->isModified()) {
            const QString field = Text(combo.GetField().Str()).left(box->lineEdit()->maxLength());
            if (box->currentText() != field) {
                return "field " + Quoted(box->currentText());
            }
        }
        break;
    }
    case KesDlgKind::ScrollBar:
        if (auto* bar = qobject_cast<QScrollBar*>(qt)) {
            const auto& scroll = static_cast<const KesDlgScrollBar&>(widget);
            if (bar->minimum() != scroll.GetScrollMinimum() ||
                bar->maximum() != scroll.GetScrollLastPos()) {
                return "range " + std::to_string(bar->minimum()) + ".." +
                       std::to_string(bar->maximum());
            }
            if (bar->value() != scroll.GetScrollPos()) {
                return "scroll position " + std::to_string(bar->value());
            }
        }
        break;
    case KesDlgKind::SelectorList:
        if (auto* list = qobject_cast<QListWidget*>(qt)) {
            const auto& selector = static_cast<const KesDlgSelectorList&>(widget);
            if (list->count() != selector.GetLineCount()) {
                return "lines " + std::to_string(list->count());
            }
            for (int row = 0; row < list->count(); ++row) {
                if (list->item(row)->text() != Text(selector.GetLine(row).Str())) {
                    return "line " + Quoted(list->item(row)->text());
                }
                if (list->item(row)->isSelected() != selector.IsSelected(row)) {
                    return "selection of line " + std::to_string(row + 1);
                }
            }
        }
        break;
    case KesDlgKind::Frame:
    case KesDlgKind::ContextualMenu:
    case KesDlgKind::PushItem:
    case KesDlgKind::Count:
        break;
    }
    return std::string();
}

} // namespace

KesPanelFault KesQtHands::CheckMirrors() const {
    std::vector<const KesDialog*> live;
    Collect(root_, live);
    const std::unordered_set<const KesDialog*> alive(live.begin(), live.end());
    struct Mirror {
        QWidget* qt;
        QAction* action;
    };
    std::unordered_map<const KesDialog*, Mirror> mirrors;
    std::string left;
    view_.ForEachMirror([&](const KesDialog* widget, QWidget* qt, QAction* action) {
        mirrors[widget] = Mirror{qt, action};
        if (alive.count(widget) == 0 && left.empty()) {
            left = qt != nullptr ? qt->metaObject()->className() : "an action";
        }
    });
    if (!left.empty()) {
        return {std::string(), "a mirror is left for a destroyed widget", left};
    }
    std::unordered_map<const QObject*, const KesDialog*> owners;
    for (const KesDialog* widget : live) {
        const auto found = mirrors.find(widget);
        const std::string name = widget->GetName().Str();
        if (found == mirrors.end() ||
            (found->second.qt == nullptr && found->second.action == nullptr)) {
            return {RecordOf(*widget), "a widget has no mirror in the window", name};
        }
        const QObject* object = found->second.action != nullptr
                                    ? static_cast<const QObject*>(found->second.action)
                                    : found->second.qt;
        if (!owners.emplace(object, widget).second) {
            return {RecordOf(*widget), "two widgets share one mirror", name};
        }
        const std::string differs = Differs(*widget, found->second.qt, found->second.action);
        if (!differs.empty()) {
            return {RecordOf(*widget), "a mirror does not show its widget's state",
                    name + ": " + differs};
        }
    }
    // A shown Qt widget laid out in a frame's box mirrors a live child of the frame.
    for (const KesDialog* widget : live) {
        QWidget* box = widget->GetKind() == KesDlgKind::Frame ? mirrors[widget].qt : nullptr;
        if (box == nullptr) {
            continue;
        }
        for (QWidget* child : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->isWindow() && child->isVisibleTo(box) && owners.count(child) == 0 &&
                qobject_cast<QMenu*>(child) == nullptr) {
                return {RecordOf(*widget), "a mirror is left for a destroyed widget",
                        std::string(child->metaObject()->className()) + " in " +
                            widget->GetName().Str()};
            }
        }
    }
    // The focus: on a mirror, inside one (a spin box's line edit), or off the panel.
    const QWidget* below = nullptr;
    for (const QWidget* up = QApplication::focusWidget(); up != nullptr;
         below = up, up = up->parentWidget()) {
        const auto owner = owners.find(up);
        if (owner == owners.end()) {
            continue;
        }
        if (below != nullptr && owner->second->GetKind() == KesDlgKind::Frame) {
            return {RecordOf(*owner->second),
                    "the focused widget of the window mirrors no live widget",
                    std::string(below->metaObject()->className()) + " in " +
                        owner->second->GetName().Str()};
        }
        break;
    }
    return {};
}
