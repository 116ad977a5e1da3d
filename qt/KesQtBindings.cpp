// KesQtBindings: one binding per widget kind of the toolkit, and the factory.
//
//   Common                 the base binding (sensitivity, visibility, help), text helpers
//   Frames and dialogs     boxes that lay their children out in the toolkit's order
//   Labels and buttons     labels, push buttons, check and radio buttons
//   Editors                QLineEdit, one UserType per commit
//   Spinners               QSpinBox / QDoubleSpinBox showing the toolkit's number text
//   Combos                 QComboBox, select / type / drop
//   Scroll bars and lists  QScrollBar, QListWidget
//   Menus                  context menus and their items
//   Factory
#include "qt/KesQtBinding.h"

#include "platform/KesDlgCombo.h"
#include "platform/KesDlgDialog.h"
#include "platform/KesDlgEditor.h"
#include "platform/KesDlgFrame.h"
#include "platform/KesDlgPushButton.h"
#include "platform/KesDlgPushItem.h"
#include "platform/KesDlgRadioButton.h"
#include "platform/KesDlgScrollBar.h"
#include "platform/KesDlgSelectorList.h"
#include "platform/KesDlgSpinner.h"

#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtGui/QIcon>
#include <QtGui/QKeyEvent>
#include <QtGui/QPalette>
#include <QtGui/QValidator>
#include <QtGui/QWheelEvent>
#include <QtWidgets/QBoxLayout>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialog>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QDoubleSpinBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QStyleOptionGroupBox>
#include <QtWidgets/QStylePainter>

#include <algorithm>
#include <climits>
#include <cmath>

// ---------------------------------------------------------------------------------------------
// Common
// ---------------------------------------------------------------------------------------------
QString KesQtText(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

namespace {

KesUnicodeString ToolkitText(const QString& text) {
    return KesUnicodeString(text.toStdString());
}

// A title on a Qt button: '&' would otherwise start a keyboard mnemonic.
QString ButtonTitle(const KesUnicodeString& title) {
    return KesQtText(title.Str()).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// Width of a field of `characters` characters (0 or less: Qt's own width).
void ShowTextWidth(QWidget* widget, int characters) {
    if (characters <= 0) {
        widget->setMinimumWidth(0);
        return;
    }
    const int digit = widget->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    widget->setMinimumWidth(std::min(characters, 80) * digit + 24);
}

bool IsShown(const KesDialog& widget) {
    return widget.GetVisibility() == kes::kShown;
}

} // namespace

KesQtTreeSignalBlocker::KesQtTreeSignalBlocker(QObject* root) {
    if (root == nullptr) {
        return;
    }
    blocked_.emplace_back(root, root->blockSignals(true));
    for (QObject* under : root->findChildren<QObject*>()) {
        blocked_.emplace_back(under, under->blockSignals(true));
    }
}

KesQtTreeSignalBlocker::~KesQtTreeSignalBlocker() {
    for (auto it = blocked_.rbegin(); it != blocked_.rend(); ++it) {
        if (it->first != nullptr) {
            it->first->blockSignals(it->second);
        }
    }
}

void KesQtSilence(QObject* root) {
    if (root == nullptr) {
        return;
    }
    root->blockSignals(true);
    for (QObject* under : root->findChildren<QObject*>()) {
        under->blockSignals(true);
    }
}

KesQtBinding::~KesQtBinding() {
    if (removedFromLivePanel_ && qt_ != nullptr) {
        KesQtSilence(qt_); // the focus leaving it is no gesture
        qt_->hide();
        // Hiding passes the focus on only to another widget of an active window that takes it;
        // where none does (or the window is not the active one) the window's focus would stay
        // on a mirror that waits to be deleted. The focus goes nowhere instead.
        if (QWidget* held = qt_->window()->focusWidget();
            held != nullptr && (held == qt_ || qt_->isAncestorOf(held))) {
            held->clearFocus();
        }
        qt_->deleteLater();
    }
}

void KesQtBinding::Show(KesDlgProperty property) {
    const QSignalBlocker blocker(qt_.data());
    Apply(property);
}

void KesQtBinding::ShowAll() {
    const QSignalBlocker blocker(qt_.data());
    showingAll_ = true;
    for (int p = static_cast<int>(KesDlgProperty::Title);
         p <= static_cast<int>(KesDlgProperty::ScrollPosition); ++p) {
        Apply(static_cast<KesDlgProperty>(p));
    }
    showingAll_ = false;
    ShownAll();
}

void KesQtBinding::Apply(KesDlgProperty property) {
    QWidget* qt = qt_;
    if (qt == nullptr) {
        return;
    }
    switch (property) {
    case KesDlgProperty::Sensitivity:
        qt->setEnabled(widget_.IsSetSensitivity());
        break;
    case KesDlgProperty::Visibility:
        // Only a real change re-lays the form out: every gesture shows the whole state again.
        if (shownVisibility_ != widget_.GetVisibility()) {
            shownVisibility_ = widget_.GetVisibility();
            if (IsShown(widget_) || !qt->isVisible()) {
                qt->setVisible(IsShown(widget_));
            } else {
                // Out of sight, nothing can hold the focus or typed text: only now is there
                // something to silence and drop.
                {
                    const KesQtTreeSignalBlocker blocker(qt);
                    qt->setVisible(false);
                }
                host_.DropTyped(widget_);
            }
            if (widget_.GetParent() != nullptr) {
                host_.LayoutChanged(*widget_.GetParent());
            }
        }
        break;
    case KesDlgProperty::ShortHelp:
        qt->setToolTip(KesQtText(widget_.GetShortHelp().Str()));
        break;
    case KesDlgProperty::Help:
        qt->setStatusTip(KesQtText(widget_.GetHelp().Str()));
        qt->setWhatsThis(KesQtText(widget_.GetHelp().Str()));
        break;
    case KesDlgProperty::Caption:
        if (!ShowingAll() && widget_.GetParent() != nullptr) {
            host_.LayoutChanged(*widget_.GetParent()); // the accessible names
        }
        break;
    default:
        break;
    }
}

void KesQtDeferContextMenus(QWidget* widget) {
    if (widget == nullptr) {
        return;
    }
    const auto defer = [](QWidget* w) {
        if (w->contextMenuPolicy() == Qt::DefaultContextMenu) {
            w->setContextMenuPolicy(Qt::NoContextMenu);
        }
    };
    defer(widget);
    for (QWidget* child : widget->findChildren<QWidget*>()) {
        defer(child);
    }
}

namespace {

// The title of the label of the attribute (or frame) that holds `widget`, or nothing.
QString OwnerLabel(const KesDialog& widget) {
    for (const KesDialog* up = widget.GetParent(); up != nullptr; up = up->GetParent()) {
        for (int i = 0; i < up->GetChildCount(); ++i) {
            const KesDialog* child = up->GetChildFromChildNumber(i);
            if (child->GetKind() == KesDlgKind::Label && !child->GetTitle().IsEmpty()) {
                return KesQtText(child->GetTitle().Str());
            }
        }
    }
    return {};
}

// ---------------------------------------------------------------------------------------------
// Frames and dialogs
// ---------------------------------------------------------------------------------------------
// A binding whose Qt widget lays its children out in a box, in the toolkit's layout order.
class BoxBinding : public KesQtBinding {
public:
    using KesQtBinding::KesQtBinding;

    QWidget* ChildParent() const override { return box_; }

    void Adopt(KesQtBinding& child) override {
        QWidget* qt = child.Widget();
        if (layout_ == nullptr || qt == nullptr || !KesQtIsLaidOut(child.Dialog())) {
            return;
        }
        layout_->addWidget(qt);
        if (HasAttachments()) {
            Arrange();
        }
    }

    void Arrange() override {
        if (layout_ == nullptr) {
            return;
        }
        std::vector<QWidget*> ordered;
        for (const KesDialog* child : KesQtLayoutOrder(widget_)) {
            if (const KesQtBinding* binding = host_.BindingOf(child)) {
                if (QWidget* qt = binding->Widget()) {
                    ordered.push_back(qt);
                }
            }
        }
        for (QWidget* qt : ordered) {
            layout_->removeWidget(qt);
        }
        for (QWidget* qt : ordered) {
            layout_->addWidget(qt);
        }
    }

protected:
    // Makes `box` the widget that holds the children, laid out in a column.
    void MakeBox(QWidget* box, int margin) {
        box_ = box;
        layout_ = new QBoxLayout(QBoxLayout::TopToBottom, box);
        layout_->setContentsMargins(margin, margin, margin, margin);
        layout_->setSpacing(6);
    }
    QBoxLayout* Layout() const { return box_ != nullptr ? layout_ : nullptr; }

private:
    bool HasAttachments() const {
        const auto* frame = dynamic_cast<const KesDlgFrame*>(&widget_);
        return frame != nullptr && !frame->GetHorizontalAttachments().empty();
    }

    QPointer<QWidget> box_;
    QBoxLayout* layout_ = nullptr; // owned by box_
};

// A frame's box: a plain widget, drawn as a group box with its title when the toolkit frame has
// one (a screen reader announces the group by it). Untitled frames, the many, cost no drawing.
class FrameBox final : public QWidget {
public:
    using QWidget::QWidget;

    void SetTitle(const QString& title) {
        if (title == title_) {
            return;
        }
        title_ = title;
        setAccessibleName(title_);
        const int margin = title_.isEmpty() ? 0 : 8;
        setContentsMargins(margin, title_.isEmpty() ? 0 : fontMetrics().height() + 6, margin,
                           margin);
        update();
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        if (title_.isEmpty()) {
            return;
        }
        QStyleOptionGroupBox option;
        option.initFrom(this);
        option.text = title_;
        option.lineWidth = 1;
        option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        QStylePainter painter(this);
        painter.drawComplexControl(QStyle::CC_GroupBox, option);
    }

private:
    QString title_;
};

class FrameBinding final : public BoxBinding {
public:
    using BoxBinding::BoxBinding;

    void Create(QWidget* parent) override {
        frame_ = new FrameBox(parent);
        MakeBox(frame_, 0);
        Own(frame_);
    }

    void Apply(KesDlgProperty property) override {
        switch (property) {
        case KesDlgProperty::Title:
            if (frame_ != nullptr) {
                frame_->SetTitle(KesQtText(widget_.GetTitle().Str()));
            }
            break;
        case KesDlgProperty::Orientation:
            if (QBoxLayout* layout = Layout()) {
                const bool row =
                    static_cast<KesDlgFrame&>(widget_).GetDefaultOrientation() == kes::kRow;
                layout->setDirection(row ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
                host_.LayoutChanged(widget_);
            }
            break;
        case KesDlgProperty::Attachment:
            Arrange();
            host_.LayoutChanged(widget_);
            break;
        default:
            KesQtBinding::Apply(property);
        }
    }

private:
    QPointer<FrameBox> frame_;
};

// The window of a dialog: closing it or pressing Escape is the toolkit's Cancel, which decides
// whether the window goes.
class DialogWindow final : public QDialog {
public:
    using QDialog::QDialog;
    std::function<void()> onCancel;

    void reject() override {
        const std::function<void()> cancel = onCancel; // the binding may go meanwhile
        if (cancel) {
            cancel();
        }
    }
};

class DialogBinding final : public BoxBinding {
public:
    using BoxBinding::BoxBinding;
    ~DialogBinding() override {
        if (window_ != nullptr) {
            window_->onCancel = nullptr;
        }
    }

    void Create(QWidget* /*parent*/) override {
        window_ = new DialogWindow(host_.WindowOwner());
        auto* outer = new QVBoxLayout(window_);
        prompt_ = new QLabel(window_); // the dialog's help: what the window asks for
        prompt_->setTextFormat(Qt::PlainText);
        prompt_->hide();
        outer->addWidget(prompt_);
        auto* content = new QWidget(window_);
        MakeBox(content, 0);
        outer->addWidget(content);
        auto* buttons =
            new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, window_);
        outer->addWidget(buttons);
        QObject::connect(buttons, &QDialogButtonBox::accepted, Context(), [this] {
            Gesture([this] { static_cast<KesDlgDialog&>(widget_).UserOK(); });
        });
        QObject::connect(buttons, &QDialogButtonBox::rejected, window_.data(), &QDialog::reject);
        window_->onCancel = [this] {
            Gesture([this] { static_cast<KesDlgDialog&>(widget_).UserCancel(); });
        };
        Own(window_);
    }

    void Apply(KesDlgProperty property) override {
        if (property == KesDlgProperty::Title && window_ != nullptr) {
            window_->setWindowTitle(Title());
        } else if (property == KesDlgProperty::Help && prompt_ != nullptr) {
            // A prompt reads on one line; only a long one wraps (a wrapped label takes the
            // narrow width Qt gives it, and would break even a short one).
            const QString prompt = KesQtText(widget_.GetHelp().Str());
            prompt_->setWordWrap(prompt_->fontMetrics().horizontalAdvance(prompt) > 480);
            prompt_->setText(prompt);
            prompt_->setVisible(!widget_.GetHelp().IsEmpty());
        } else if (property == KesDlgProperty::Visibility && window_ != nullptr) {
            // A window of its own: no parent to re-lay.
            if (IsShown(widget_)) {
                window_->setVisible(true);
            } else if (window_->isVisible()) {
                {
                    const KesQtTreeSignalBlocker blocker(window_);
                    window_->setVisible(false);
                }
                host_.DropTyped(widget_);
            }
        } else {
            KesQtBinding::Apply(property);
        }
    }

private:
    // The dialog's title; without one, the label of the attribute that opened it, so that the
    // person knows what the window asks for.
    QString Title() const {
        return widget_.GetTitle().IsEmpty() ? OwnerLabel(widget_)
                                            : KesQtText(widget_.GetTitle().Str());
    }

    QPointer<DialogWindow> window_;
    QPointer<QLabel> prompt_;
};

// ---------------------------------------------------------------------------------------------
// Labels and buttons
// ---------------------------------------------------------------------------------------------
// A title, else a theme icon of the icon name; an icon name that names no icon shows nothing
// (an identifier is no text for a person).
struct TitleOrIcon {
    QString text;
    QIcon icon;
};
TitleOrIcon TitleOrIconOf(const KesDialog& widget) {
    if (!widget.GetTitle().IsEmpty() || widget.GetIconName().IsEmpty()) {
        return {KesQtText(widget.GetTitle().Str()), QIcon()};
    }
    const QString name = KesQtText(widget.GetIconName().Str());
    if (QIcon::hasThemeIcon(name)) {
        return {QString(), QIcon::fromTheme(name)};
    }
    return {};
}

class LabelBinding final : public KesQtBinding {
public:
    using KesQtBinding::KesQtBinding;

    void Create(QWidget* parent) override {
        label_ = new QLabel(parent);
        label_->setTextFormat(Qt::PlainText); // a title is text, never markup
        Own(label_);
    }

    void Apply(KesDlgProperty property) override {
        if ((property == KesDlgProperty::Title || property == KesDlgProperty::Icon) &&
            label_ != nullptr) {
            const TitleOrIcon shown = TitleOrIconOf(widget_);
            if (!shown.icon.isNull()) {
                label_->setPixmap(shown.icon.pixmap(16, 16));
            } else if (label_->text() != shown.text || label_->text().isEmpty()) {
                label_->setText(shown.text);
            } else {
                return; // unchanged: the form keeps its look
            }
            if (widget_.GetParent() != nullptr) {
                host_.LayoutChanged(*widget_.GetParent()); // names and form alignment
            }
            return;
        }
        KesQtBinding::Apply(property);
    }

private:
    QPointer<QLabel> label_;
};

class PushButtonBinding final : public KesQtBinding {
public:
    using KesQtBinding::KesQtBinding;

    void Create(QWidget* parent) override {
        button_ = new QPushButton(parent);
        QObject::connect(button_.data(), &QPushButton::clicked, Context(), [this] {
            Gesture([this] { static_cast<KesDlgPushButton&>(widget_).UserPress(); });
        });
        Own(button_);
    }

    void Apply(KesDlgProperty property) override {
        if ((property == KesDlgProperty::Title || property == KesDlgProperty::Icon ||
             property == KesDlgProperty::Caption) &&
            button_ != nullptr) {
            TitleOrIcon shown = TitleOrIconOf(widget_);
            if (shown.text.isEmpty() && shown.icon.isNull()) {
                // The caption its owner gave it (a link attribute's label); without one, the
                // button shows nothing rather than an identifier or a label of someone else.
                shown.text = KesQtText(widget_.GetCaption().Str());
            }
            button_->setText(QString(shown.text).replace(QLatin1Char('&'), QStringLiteral("&&")));
            button_->setIcon(shown.icon);
            if (property != KesDlgProperty::Caption) {
                return;
            }
        }
        KesQtBinding::Apply(property);
    }

private:
    QPointer<QPushButton> button_;
};

// Check and radio buttons: Qt's own exclusivity is off, the toolkit decides which are on.
template <class Button> class StateButtonBinding final : public KesQtBinding {
public:
    using KesQtBinding::KesQtBinding;

    void Create(QWidget* parent) override {
        button_ = new Button(parent);
        button_->setAutoExclusive(false);
        QObject::connect(button_.data(), &QAbstractButton::clicked, Context(), [this] {
            Gesture([this] {
                if (auto* radio = dynamic_cast<KesDlgRadioButton*>(&widget_)) {
                    radio->UserClick();
                } else {
                    static_cast<KesDlgCheckButton&>(widget_).UserClick();
                }
            });
        });
        Own(button_);
    }

    void Apply(KesDlgProperty property) override {
        if (button_ == nullptr) {
            return;
        }
        if (property == KesDlgProperty::Title) {
            button_->setText(ButtonTitle(widget_.GetTitle()));
        } else if (property == KesDlgProperty::State) {
            button_->setChecked(static_cast<KesDlgStateButton&>(widget_).IsOn());
        } else {
            KesQtBinding::Apply(property);
        }
    }

private:
    QPointer<Button> button_;
};

// ---------------------------------------------------------------------------------------------
// Editors
// ---------------------------------------------------------------------------------------------
// Reads a number as the toolkit writes it (a point, whatever the locale).
bool ReadNumber(const QString& text, double& value) {
    bool ok = false;
    value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(value);
}

// What may be typed where a number goes: digits, a sign, and for a real a point and an
// exponent; a comma typed into a real is its decimal point (as many people type it), shown as
// the point the toolkit writes. A number, or nothing, is complete; a start of one ("-", "1e")
// may go on, but cannot be confirmed (see NumberFieldGuard).
QValidator::State NumberState(QString& input, bool whole) {
    if (!whole) {
        input.replace(QLatin1Char(','), QLatin1Char('.'));
    }
    const QString allowed = whole ? QStringLiteral("+- ") : QStringLiteral("+-.eE ");
    for (QChar c : input) {
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9'); // no other script's
        if (!digit && allowed.indexOf(c) < 0) {
            return QValidator::Invalid;
        }
    }
    double value = 0.0;
    return input.trimmed().isEmpty() || ReadNumber(input, value) ? QValidator::Acceptable
                                                                 : QValidator::Intermediate;
}

// The validator of the field of an integer or real editor: text that cannot be a number is
// not taken. What reaches the toolkit is still the typed text, read by the attribute's rules.
class NumberValidator final : public QValidator {
public:
    NumberValidator(bool whole, QObject* parent) : QValidator(parent), whole_(whole) {}
    State validate(QString& input, int& /*position*/) const override {
        return NumberState(input, whole_);
    }

private:
    bool whole_;
};

// Keeps a number field from being confirmed with a text that cannot become a number ("1e3-",
// "-"): Return, Enter and Tab do nothing but show the field as invalid, and the field keeps the
// focus (a click elsewhere in the window gives it back) until the text is corrected or Escape
// shows the toolkit's value again. Escape in a field with nothing typed goes on to the window.
class NumberFieldGuard final : public QObject {
public:
    struct Hooks {
        std::function<QString()> text;                   // what the field shows now
        std::function<bool(const QString&)> confirmable; // a text the field may confirm
        std::function<bool()> typed;                     // typed since the toolkit's text
        std::function<void()> restore;                   // shows the toolkit's state again
    };

    NumberFieldGuard(QWidget* field, Hooks hooks)
        : QObject(field), field_(field), hooks_(std::move(hooks)) {
        field->installEventFilter(this);
    }

    // Shows the field as valid again where its text may be confirmed.
    void Check() {
        if (invalid_ && hooks_.confirmable(hooks_.text())) {
            ShowInvalid(false);
        }
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != field_) {
            return QObject::eventFilter(watched, event);
        }
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Escape && (invalid_ || hooks_.typed())) {
                hooks_.restore();
                ShowInvalid(false);
                event->accept();
                return true;
            }
            const bool confirms = key == Qt::Key_Return || key == Qt::Key_Enter ||
                                  key == Qt::Key_Tab || key == Qt::Key_Backtab;
            if (confirms && !hooks_.confirmable(hooks_.text())) {
                ShowInvalid(true);
                event->accept();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            // The focus taken by another widget of the window; not when the window or a menu
            // takes it, nor when the field itself goes or is switched off.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            const bool taken = reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
                               reason == Qt::BacktabFocusReason ||
                               reason == Qt::ShortcutFocusReason || reason == Qt::OtherFocusReason;
            if (taken && field_->isVisible() && field_->isEnabled() &&
                !hooks_.confirmable(hooks_.text())) {
                ShowInvalid(true);
                QTimer::singleShot(0, field_, [field = field_] {
                    if (field->isVisible() && field->isEnabled()) {
                        field->setFocus(Qt::OtherFocusReason);
                    }
                });
                return true; // the field is not told: it neither confirms nor corrects the text
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void ShowInvalid(bool invalid) {
        if (invalid == invalid_) {
            return;
        }
        invalid_ = invalid;
        if (invalid) {
            shownPalette_ = field_->palette();
            QPalette palette = shownPalette_;
            palette.setColor(QPalette::Base, QColor(255, 214, 214));
            field_->setPalette(palette);
        } else {
            field_->setPalette(shownPalette_);
        }
    }

    QWidget* field_;
    Hooks hooks_;
    bool invalid_ = false;
    QPalette shownPalette_; // the field's palette before it showed as invalid
};

class EditorBinding final : public KesQtBinding {
public:
    using KesQtBinding::KesQtBinding;

    void Create(QWidget* parent) override {
        edit_ = new QLineEdit(parent);
        const bool whole = KesDlgEditor::IsIntegerStyle(widget_.GetStyle());
        if (whole || KesDlgEditor::IsRealStyle(widget_.GetStyle())) {
            edit_->setValidator(new NumberValidator(whole, edit_));
            guard_ = new NumberFieldGuard(edit_, {[this] { return edit_->text(); },
                                                  [](const QString& text) {
                                                      double value = 0.0;
                                                      return text.trimmed().isEmpty() ||
                                                             ReadNumber(text, value);
                                                  },
                                                  [this] { return edit_->isModified(); },
                                                  [this] {
                                                      edit_->setModified(false);
                                                      ShowAll();
                                                  }});
            QObject::connect(edit_.data(), &QLineEdit::textEdited, Context(), [this] {
                // A comma the validator shows as a point sets the field's text anew, which
                // forgets that the person typed: it is typed all the same, and is committed
                // when the person leaves the field.
                if (edit_ != nullptr) {
                    edit_->setModified(true);
                }
                if (guard_ != nullptr) {
                    guard_->Check(); // the look of the field only: no gesture
                }
            });
        }
        // Return and leaving the field both finish editing; only a text the person changed is
        // committed, once.
        QObject::connect(edit_.data(), &QLineEdit::editingFinished, Context(), [this] {
            if (edit_ == nullptr || !edit_->isModified()) {
                return;
            }
            edit_->setModified(false);
            const KesUnicodeString typed = ToolkitText(edit_->text());
            Gesture([this, &typed] { static_cast<KesDlgEditor&>(widget_).UserType(typed); });
        });
        Own(edit_);
    }

    void Apply(KesDlgProperty property) override {
        if (edit_ == nullptr) {
            return;
        }
        auto& editor = static_cast<KesDlgEditor&>(widget_);
        switch (property) {
        case KesDlgProperty::Text:
            ShowText();
            break;
        case KesDlgProperty::MaxCharacterWidth:
            edit_->setMaxLength(editor.GetMaxCharacterWidth() > 0 ? editor.GetMaxCharacterWidth()
                                                                  : 32767);
            ShowText();
            break;
        case KesDlgProperty::VisibleTextWidth:
            ShowTextWidth(edit_, editor.GetVisibleTextWidth());
            break;
        default:
            KesQtBinding::Apply(property);
        }
    }

private:
    // A text the program sets shows from its start (a long text padded with blanks would show
    // its blanks); the same text again leaves the field as the person left it.
    void ShowText() {
        const QString text = KesQtText(static_cast<KesDlgEditor&>(widget_).GetText().Str());
        if (edit_->text() != text) {
            edit_->setText(text);
            edit_->setCursorPosition(0);
        }
        if (guard_ != nullptr) {
            guard_->Check();
        }
    }

    QPointer<QLineEdit> edit_;
    QPointer<NumberFieldGuard> guard_; // of a number field; owned by edit_
};

// ---------------------------------------------------------------------------------------------
// Spinners
// ---------------------------------------------------------------------------------------------
// The decimals a format shows: its precision for %f, none for integers, else up to 10.
int DecimalsOf(const std::string& format) {
    size_t p = 0;
    while ((p = format.find('%', p)) != std::string::npos && p + 1 < format.size() &&
           format[p + 1] == '%') {
        p += 2;
    }
    if (p == std::string::npos) {
        return 10;
    }
    ++p;
    while (p < format.size() && std::string_view("-+ #0").find(format[p]) != std::string::npos) {
        ++p;
    }
    while (p < format.size() && std::isdigit(static_cast<unsigned char>(format[p])) != 0) {
        ++p;
    }
    int precision = -1;
    if (p < format.size() && format[p] == '.') {
        precision = 0;
        for (++p; p < format.size() && std::isdigit(static_cast<unsigned char>(format[p])) != 0;
             ++p) {
            precision = std::min(precision * 10 + (format[p] - '0'), 100);
        }
    }
    while (p < format.size() && std::string_view("hlLqjzt").find(format[p]) != std::string::npos) {
        ++p;
    }
    const char conversion = p < format.size() ? format[p] : 'g';
    if (std::string_view("diouxX").find(conversion) != std::string_view::npos) {
        return 0;
    }
    if (conversion == 'f' || conversion == 'F') {
        return precision < 0 ? 6 : std::min(precision, 100);
    }
    return 10;
}

// A spin box that shows numbers as the toolkit formats them and hands arrows, wheel and keys
// to the toolkit instead of stepping itself.
template <class Base> class SpinBox final : public Base {
public:
    using Value = decltype(std::declval<Base>().value());

    explicit SpinBox(QWidget* parent) : Base(parent) {
        this->setLocale(QLocale::c());
        this->setFocusPolicy(Qt::StrongFocus); // the wheel alone does not take the focus
        this->setKeyboardTracking(false);
        this->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
        QObject::connect(this->lineEdit(), &QLineEdit::textEdited, this,
                         [this](const QString& text) {
                             typed = text;
                             edited = true;
                         });
    }

    std::string numberFormat = "%g"; // the toolkit's format of the shown number
    int precision = 0;               // the toolkit's most decimals shown (0: the format's)
    std::function<void(int)> onStep; // arrow clicks, wheel and key steps
    QString typed;                   // the text the person typed, as typed
    bool edited = false;             // typed since the toolkit's value was last shown

    void stepBy(int steps) override {
        const std::function<void(int)> step = onStep; // the binding may go meanwhile
        if (step) {
            step(steps);
        }
    }
    // Shows the value's text again (after a new format, or a refused text).
    void Refresh() { this->setSpecialValueText(QString()); }
    QLineEdit* Field() const { return this->lineEdit(); }

protected:
    // The wheel over a field the person is not in scrolls the window, not the value.
    void wheelEvent(QWheelEvent* event) override {
        if (!this->hasFocus()) {
            event->ignore();
            return;
        }
        Base::wheelEvent(event);
    }
    QString textFromValue(Value value) const override {
        return KesQtText(
            KesDlgSpinner::ShownNumber(static_cast<double>(value), numberFormat, precision).Str());
    }
    Value valueFromText(const QString& text) const override {
        double value = 0.0;
        if (!KesDlgSpinner::ReadNumber(ToolkitText(text).Str(), value)) {
            return this->value();
        }
        if constexpr (std::is_integral_v<Value>) {
            return static_cast<Value>(std::clamp(value, double(INT_MIN), double(INT_MAX)));
        } else {
            return value;
        }
    }
    // The keys the toolkit's spinner takes, and any number, also outside the range: the
    // toolkit clamps it. The start of a number ("-", "1e") may go on.
    QValidator::State validate(QString& input, int& /*position*/) const override {
        // A comma is the decimal point of a real; an integer takes no point (NumberState).
        const QValidator::State state = NumberState(input, std::is_integral_v<Value>);
        if (state == QValidator::Invalid) {
            return state;
        }
        const std::string typed = ToolkitText(input).Str();
        if (KesDlgSpinner::TypedText(typed) != typed) {
            return QValidator::Invalid;
        }
        return state == QValidator::Acceptable && input.trimmed().isEmpty()
                   ? QValidator::Intermediate
                   : state;
    }
};

template <class Base> class SpinnerBinding final : public KesQtBinding {
public:
    using KesQtBinding::KesQtBinding;
    ~SpinnerBinding() override {
        if (box_ != nullptr) {
            box_->onStep = nullptr;
        }
    }

    void Create(QWidget* parent) override {
        box_ = new SpinBox<Base>(parent);
        box_->onStep = [this](int steps) { Gesture([this, steps] { Spinner().UserStep(steps); }); };
        guard_ = new NumberFieldGuard(box_, {[this] { return box_->text(); },
                                             [](const QString& text) {
                                                 double value = 0.0;
                                                 return ReadNumber(text, value);
                                             },
                                             [this] { return box_->edited; },
                                             [this] {
                                                 box_->edited = false;
                                                 ShowAll();
                                             }});
        QObject::connect(box_->Field(), &QLineEdit::textEdited, Context(), [this] {
            if (guard_ != nullptr) {
                guard_->Check(); // the look of the field only: no gesture
            }
        });
        QObject::connect(box_.data(), &QAbstractSpinBox::editingFinished, Context(), [this] {
            if (box_ == nullptr || !box_->edited) {
                return;
            }
            box_->edited = false;
            // The toolkit reads the typed text, as it does headless.
            const KesUnicodeString typed = ToolkitText(box_->typed);
            Gesture([this, &typed] { Spinner().UserType(typed); });
        });
        Own(box_);
    }

    void Apply(KesDlgProperty property) override {
        if (box_ == nullptr) {
            return;
        }
        const KesDlgSpinner& spinner = Spinner();
        switch (property) {
        case KesDlgProperty::Range:
            if constexpr (std::is_same_v<Base, QSpinBox>) {
                box_->setRange(Whole(spinner.HasRange() ? spinner.GetMinimum() : INT_MIN),
                               Whole(spinner.HasRange() ? spinner.GetMaximum() : INT_MAX));
                box_->setSingleStep(std::max(1, Whole(spinner.GetStep())));
            } else {
                box_->setRange(spinner.HasRange() ? spinner.GetMinimum() : -1e300,
                               spinner.HasRange() ? spinner.GetMaximum() : 1e300);
                box_->setSingleStep(spinner.GetStep());
            }
            ShowValue();
            break;
        case KesDlgProperty::Format:
        case KesDlgProperty::DisplayFormat:
        case KesDlgProperty::Precision:
            box_->numberFormat = spinner.GetDisplayFormat().empty() ? spinner.GetFormat()
                                                                    : spinner.GetDisplayFormat();
            box_->precision = spinner.GetPrecision();
            if constexpr (std::is_same_v<Base, QDoubleSpinBox>) {
                // As many decimals taken as shown at most.
                const int decimals = DecimalsOf(box_->numberFormat);
                box_->setDecimals(spinner.GetPrecision() > 0
                                      ? std::min(decimals, spinner.GetPrecision())
                                      : decimals);
            }
            ShowValue();
            break;
        case KesDlgProperty::Value:
            ShowValue();
            break;
        case KesDlgProperty::VisibleTextWidth:
            ShowTextWidth(box_, spinner.GetVisibleTextWidth());
            break;
        default:
            KesQtBinding::Apply(property);
        }
    }

private:
    KesDlgSpinner& Spinner() const { return static_cast<KesDlgSpinner&>(widget_); }
    static int Whole(double value) {
        return static_cast<int>(std::clamp(std::round(value), double(INT_MIN), double(INT_MAX)));
    }
    // The value, range and format shown together once at the end of ShowAll.
    void ShownAll() override {
        if (box_ != nullptr) {
            ShowValue();
        }
    }
    void ShowValue() {
        if (ShowingAll()) {
            return;
        }
        if constexpr (std::is_same_v<Base, QSpinBox>) {
            box_->setValue(Whole(Spinner().GetValue()));
        } else {
            box_->setValue(Spinner().GetValue());
        }
        box_->edited = false;
        box_->Refresh();
        if (guard_ != nullptr) {
            guard_->Check();
        }
    }

    QPointer<SpinBox<Base>> box_;
    QPointer<NumberFieldGuard> guard_; // owned by box_
};

// ---------------------------------------------------------------------------------------------
// Combos
// ---------------------------------------------------------------------------------------------
// A combo whose list, when the person opens it, is first offered to the toolkit (whose
// receivers may refill the lines).
class ComboBox final : public QComboBox {
public:
    explicit ComboBox(QWidget* parent) : QComboBox(parent) {
        setFocusPolicy(Qt::StrongFocus); // the wheel alone does not take the focus
    }
    std::function<bool()> onDrop; // false: the combo is gone, show nothing

    void showPopup() override {
        const std::function<bool()> drop = onDrop; // the binding may go meanwhile
        if (drop && !drop()) {
            return;
        }
        QComboBox::showPopup();
    }

protected:
    // The wheel over a combo the person is not in scrolls the window, not the selection.
    void wheelEvent(QWheelEvent* event) override {
        if (!hasFocus()) {
            event->ignore();
            return;
        }
        QComboBox::wheelEvent(event);
    }
};

class ComboBinding final : public KesQtBinding {
public:
    using KesQtBinding::KesQtBinding;
    ~ComboBinding() override {
        if (combo_ != nullptr) {
            combo_->onDrop = nullptr;
        }
    }

    // The toolkit widget is still in its base constructor here: the gestures read it later.
    void Create(QWidget* parent) override {
        combo_ = new ComboBox(parent);
        const bool editable = KesDlgCombo::IsEditableStyle(widget_.GetStyle());
        combo_->setEditable(editable);
        if (editable) {
            // A typed text is the toolkit's to keep: Qt neither adds it as a line nor selects
            // a line that matches it.
            combo_->setInsertPolicy(QComboBox::NoInsert);
            combo_->setDuplicatesEnabled(true);
            combo_->setCompleter(nullptr);
            QLineEdit* edit = combo_->lineEdit();
            QObject::connect(edit, &QLineEdit::editingFinished, Context(), [this, edit] {
                if (!edit->isModified()) {
                    return;
                }
                edit->setModified(false);
                const KesUnicodeString typed = ToolkitText(edit->text());
                Gesture([this, &typed] { static_cast<KesDlgCombo&>(widget_).UserType(typed); });
            });
        }
        QObject::connect(combo_.data(), &QComboBox::activated, Context(), [this](int row) {
            Gesture([this, row] { static_cast<KesDlgCombo&>(widget_).UserSelect(row); });
        });
        combo_->onDrop = [this] {
            return Gesture([this] { static_cast<KesDlgCombo&>(widget_).UserDrop(); });
        };
        Own(combo_);
    }

    void Apply(KesDlgProperty property) override {
        if (combo_ == nullptr) {
            return;
        }
        auto& combo = static_cast<KesDlgCombo&>(widget_);
        switch (property) {
        case KesDlgProperty::Lines:
            combo_->clear();
            for (int row = 0; row < combo.GetLineCount(); ++row) {
                combo_->addItem(KesQtText(combo.GetLine(row).Str()));
            }
            [[fallthrough]];
        case KesDlgProperty::Selection:
        case KesDlgProperty::Field: {
            combo_->setCurrentIndex(combo.GetSelect());
            const QString field = KesQtText(combo.GetField().Str());
            if (combo.IsEditable()) {
                if (combo_->currentText() != field) {
                    combo_->setEditText(field);
                    combo_->lineEdit()->setCursorPosition(0); // a padded name shows its start
                }
            } else {
                // A read-only combo shows its line; a field with no line selected shows as
                // the placeholder.
                combo_->setPlaceholderText(combo.GetSelect() < 0 ? field : QString());
            }
            break;
        }
        case KesDlgProperty::VisibleTextWidth:
            ShowTextWidth(combo_, combo.GetVisibleTextWidth());
            break;
        default:
            KesQtBinding::Apply(property);
        }
    }

private:
    QPointer<ComboBox> combo_;
};

// ---------------------------------------------------------------------------------------------
// Scroll bars and lists
// ---------------------------------------------------------------------------------------------
class ScrollBarBinding final : public KesQtBinding {
public:
    using KesQtBinding::KesQtBinding;

    void Create(QWidget* parent) override {
        bar_ = new QScrollBar(Qt::Vertical, parent);
        // Steps, pages, wheel: the box moves and is let go. The new position is the slider's
        // until Qt sets it as the value, after this signal.
        QObject::connect(bar_.data(), &QAbstractSlider::actionTriggered, Context(),
                         [this](int action) {
                             if (bar_ == nullptr || action == QAbstractSlider::SliderNoAction ||
                                 (action == QAbstractSlider::SliderMove && bar_->isSliderDown())) {
                                 return;
                             }
                             const int position = bar_->sliderPosition();
                             Gesture([this, position] {
                                 static_cast<KesDlgScrollBar&>(widget_).UserScroll(position);
                             });
                         });
        QObject::connect(bar_.data(), &QAbstractSlider::sliderMoved, Context(),
                         [this](int position) {
                             Gesture([this, position] {
                                 static_cast<KesDlgScrollBar&>(widget_).UserDrag(position);
                             });
                         });
        QObject::connect(bar_.data(), &QAbstractSlider::sliderReleased, Context(), [this] {
            const int position = bar_ != nullptr ? bar_->sliderPosition() : 0;
            Gesture(
                [this, position] { static_cast<KesDlgScrollBar&>(widget_).UserScroll(position); });
        });
        Own(bar_);
    }

    void Apply(KesDlgProperty property) override {
        if (bar_ == nullptr) {
            return;
        }
        switch (property) {
        case KesDlgProperty::ScrollRange:
        case KesDlgProperty::ScrollBoxSize:
        case KesDlgProperty::ScrollPosition: {
            const auto& bar = static_cast<const KesDlgScrollBar&>(widget_);
            bar_->setRange(bar.GetScrollMinimum(), bar.GetScrollLastPos());
            bar_->setPageStep(std::max(bar.GetScrollBoxSize(), 1));
            bar_->setValue(bar.GetScrollPos());
            break;
        }
        default:
            KesQtBinding::Apply(property);
        }
    }

private:
    QPointer<QScrollBar> bar_;
};

class SelectorListBinding final : public KesQtBinding {
public:
    using KesQtBinding::KesQtBinding;

    void Create(QWidget* parent) override {
        list_ = new QListWidget(parent);
        list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
        // Program changes are applied with the list's signals blocked: what arrives here is
        // the person's doing.
        QObject::connect(list_.data(), &QListWidget::itemSelectionChanged, Context(), [this] {
            std::vector<int> rows;
            for (int row = 0; list_ != nullptr && row < list_->count(); ++row) {
                if (list_->item(row)->isSelected()) {
                    rows.push_back(row);
                }
            }
            Gesture([this, &rows] {
                static_cast<KesDlgSelectorList&>(widget_).UserSelect(rows.data(),
                                                                     static_cast<int>(rows.size()));
            });
        });
        Own(list_);
    }

    void Apply(KesDlgProperty property) override {
        if (list_ == nullptr) {
            return;
        }
        auto& list = static_cast<KesDlgSelectorList&>(widget_);
        switch (property) {
        case KesDlgProperty::Lines:
            list_->clear();
            for (int row = 0; row < list.GetLineCount(); ++row) {
                list_->addItem(KesQtText(list.GetLine(row).Str()));
            }
            [[fallthrough]];
        case KesDlgProperty::Selection:
            for (int row = 0; row < list_->count(); ++row) {
                list_->item(row)->setSelected(list.IsSelected(row));
            }
            break;
        case KesDlgProperty::VisibleTextWidth:
            ShowTextWidth(list_, list.GetVisibleTextWidth());
            break;
        case KesDlgProperty::VisibleTextHeight: {
            const int lines = std::clamp(list.GetVisibleTextHeight(), 0, 40);
            const int frame = 2 * list_->frameWidth();
            list_->setFixedHeight(lines > 0 ? lines * list_->fontMetrics().height() + frame + 4
                                            : QWIDGETSIZE_MAX);
            if (lines <= 0) {
                list_->setMinimumHeight(0);
            }
            break;
        }
        default:
            KesQtBinding::Apply(property);
        }
    }

private:
    QPointer<QListWidget> list_;
};

// ---------------------------------------------------------------------------------------------
// Menus
// ---------------------------------------------------------------------------------------------
// A context menu: the secondary click on the Qt widget of its toolkit parent (or on any of that
// widget's children that has no menu of its own) pops it up, when the toolkit accepts input.
class ContextualMenuBinding final : public KesQtBinding {
public:
    using KesQtBinding::KesQtBinding;

    void Create(QWidget* parent) override {
        menu_ = new QMenu(parent);
        KesQtDeferContextMenus(parent);
        parent->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(parent, &QWidget::customContextMenuRequested, Context(),
                         [this, parent](const QPoint& where) {
                             if (menu_ != nullptr && widget_.AcceptsUserInput()) {
                                 menu_->popup(parent->mapToGlobal(where));
                             }
                         });
        Own(menu_);
    }

    void Apply(KesDlgProperty property) override {
        // Never setVisible: that would pop the menu up.
        if (property == KesDlgProperty::Sensitivity && menu_ != nullptr) {
            menu_->setEnabled(widget_.IsSetSensitivity());
        }
    }

private:
    QPointer<QMenu> menu_;
};

class PushItemBinding final : public KesQtBinding {
public:
    using KesQtBinding::KesQtBinding;
    ~PushItemBinding() override {
        if (RemovedFromLivePanel() && action_ != nullptr) {
            action_->setVisible(false);
            action_->deleteLater();
        }
    }

    void Create(QWidget* parent) override {
        auto* menu = qobject_cast<QMenu*>(parent);
        if (menu == nullptr) {
            return;
        }
        action_ = menu->addAction(QString());
        QObject::connect(action_.data(), &QAction::triggered, Context(), [this] {
            Gesture([this] { static_cast<KesDlgPushItem&>(widget_).UserActivate(); });
        });
    }

    QAction* Action() const override { return action_; }

    void Apply(KesDlgProperty property) override {
        if (action_ == nullptr) {
            return;
        }
        switch (property) {
        case KesDlgProperty::Title:
            // An item with no title shows its identifier rather than an empty line.
            action_->setText(widget_.GetTitle().IsEmpty() ? KesQtText(widget_.GetName().Str())
                                                          : ButtonTitle(widget_.GetTitle()));
            break;
        case KesDlgProperty::Sensitivity:
            action_->setEnabled(widget_.IsSetSensitivity());
            break;
        case KesDlgProperty::Visibility:
            action_->setVisible(IsShown(widget_));
            break;
        case KesDlgProperty::ShortHelp:
            action_->setToolTip(KesQtText(widget_.GetShortHelp().Str()));
            break;
        case KesDlgProperty::Help:
            action_->setStatusTip(KesQtText(widget_.GetHelp().Str()));
            break;
        default:
            break;
        }
    }

private:
    QPointer<QAction> action_;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Factory
// ---------------------------------------------------------------------------------------------
std::unique_ptr<KesQtBinding> KesQtMakeBinding(KesDialog& widget, KesQtMirrorHost& host) {
    switch (widget.GetKind()) {
    case KesDlgKind::Frame:
        return std::make_unique<FrameBinding>(widget, host);
    case KesDlgKind::Label:
        return std::make_unique<LabelBinding>(widget, host);
    case KesDlgKind::Editor:
        return std::make_unique<EditorBinding>(widget, host);
    case KesDlgKind::Spinner:
        if (KesDlgSpinner::IsIntegerStyle(widget.GetStyle())) {
            return std::make_unique<SpinnerBinding<QSpinBox>>(widget, host);
        }
        return std::make_unique<SpinnerBinding<QDoubleSpinBox>>(widget, host);
    case KesDlgKind::Combo:
        return std::make_unique<ComboBinding>(widget, host);
    case KesDlgKind::CheckButton:
        return std::make_unique<StateButtonBinding<QCheckBox>>(widget, host);
    case KesDlgKind::RadioButton:
        return std::make_unique<StateButtonBinding<QRadioButton>>(widget, host);
    case KesDlgKind::PushButton:
        return std::make_unique<PushButtonBinding>(widget, host);
    case KesDlgKind::ContextualMenu:
        return std::make_unique<ContextualMenuBinding>(widget, host);
    case KesDlgKind::PushItem:
        return std::make_unique<PushItemBinding>(widget, host);
    case KesDlgKind::Dialog:
        return std::make_unique<DialogBinding>(widget, host);
    case KesDlgKind::ScrollBar:
        return std::make_unique<ScrollBarBinding>(widget, host);
    case KesDlgKind::SelectorList:
        return std::make_unique<SelectorListBinding>(widget, host);
    case KesDlgKind::Count: // no widget is of this kind
        break;
    }
    return nullptr;
}
