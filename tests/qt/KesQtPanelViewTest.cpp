// The Qt view of a panel, driven as a person drives a window: Qt gestures against the same user
// actions headless, the toolkit's state shown in Qt, keyboard and screen-reader names, refusals,
// the bundled pocketing session replayed through Qt, and lifetimes.
#include "qt/KesQtPanelView.h"
#include "KesPocketingPanel.h"
#include "framework/KesMfgValueRecords.h"
#include "platform/KesDlgCombo.h"
#include "platform/KesDlgDialog.h"
#include "platform/KesDlgEditor.h"
#include "platform/KesDlgPushButton.h"
#include "platform/KesDlgPushItem.h"
#include "platform/KesDlgRadioButton.h"
#include "platform/KesDlgScrollBar.h"
#include "platform/KesDlgSelectorList.h"
#include "platform/KesDlgSpinner.h"
#include "qt/KesQtHands.h"
#include "single/KesMfgAttInt.h"
#include "single/KesMfgAttLink.h"
#include "tools/KesPanelDriver.h"

#include <QtTest/QtTest>
#include <QtWidgets/QtWidgets>

#include <clocale>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

// ---------------------------------------------------------------------------------------------
// Panels and what a caller sees of them
// ---------------------------------------------------------------------------------------------
std::ostream quiet(nullptr); // discards what the drivers print

std::vector<KesMfgAttribute*> AttributesOf(KesDlgTestFrame& frame) {
    return KesPanelDriver(frame, quiet, quiet).Attributes();
}

// A parent frame that keeps every notification, also those a driver has reported and cleared.
struct Recorder : KesDlgTestFrame {
    void AnalyseNotification(KesCommand* sender, KesNotification* notification) override {
        const auto* widget = dynamic_cast<const KesDialog*>(sender);
        all += QString("%1 from %2\n")
                   .arg(notification->IsA(), widget ? widget->GetName().Str().c_str() : "");
        KesDlgTestFrame::AnalyseNotification(sender, notification);
    }
    QString all;
};

// The notifications the frame received, then every value record.
QString Transcript(Recorder& frame) {
    KesMfgValueRecords records;
    for (KesMfgAttribute* attribute : AttributesOf(frame)) {
        records.GetAttValue(*attribute);
    }
    return std::exchange(frame.all, QString()) + QString::fromStdString(records.FormatTable());
}

// Widget `id` of an attribute, its dialogs included; field > 0: the field-th of that id.
KesDialog* Part(KesDlgTestFrame& frame, const std::string& attribute, const char* id,
                int field = 0) {
    KesDialog* found = nullptr;
    std::function<void(KesDialog*)> walk = [&](KesDialog* widget) {
        for (int i = 0; i < widget->GetChildCount() && found == nullptr; ++i) {
            KesDialog* child = widget->GetChildFromChildNumber(i);
            if (child->GetName() == id && --field <= 0) {
                found = child;
            }
            walk(child);
        }
    };
    if (KesDialog* owner = KesPanelDriver(frame, quiet, quiet).FindAttribute(attribute)) {
        walk(owner);
    }
    return found;
}

template <class W> W& As(KesDialog* widget) {
    return *static_cast<W*>(widget);
}

// A fresh pocketing panel; the model and the stored spinner steps start over with each.
struct Pocketing {
    Pocketing() {
        static int count = 0;
        qputenv("KES_SETTINGS_DIR", (settings.path() + "/" + QString::number(++count)).toUtf8());
        panel = std::make_unique<KesPocketingPanel>(frame);
        frame.all.clear();
    }
    KesDialog* operator()(const std::string& attribute, const char* id, int field = 0) {
        return Part(frame, attribute, id, field);
    }
    QTemporaryDir settings;
    Recorder frame;
    std::unique_ptr<KesPocketingPanel> panel;
    KesPanelDriver driver{frame, quiet, quiet};
};

// A pocketing panel shown in a window.
struct Shown : Pocketing {
    Shown() {
        view.Widget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.Widget()));
    }
    QWidget* Qt(const std::string& attribute, const char* id, int field = 0) {
        KesDialog* widget = (*this)(attribute, id, field);
        return widget != nullptr ? view.Find(*widget) : nullptr;
    }
    KesQtPanelView view{frame};
};

// A panel of bare toolkit widgets, each created after the view.
struct Bare {
    KesDlgTestFrame frame;
    KesQtPanelView view{frame};
    KesDlgFrame* row = new KesDlgFrame(&frame, "row");
    KesDlgLabel* label = new KesDlgLabel(row, "label");
    KesDlgEditor* editor = new KesDlgEditor(row, "editor");
    KesDlgSpinner* real = new KesDlgSpinner(row, "real", 0x60000);
    KesDlgSpinner* whole = new KesDlgSpinner(row, "whole", 0x40000);
    KesDlgCombo* combo = new KesDlgCombo(&frame, "combo", 0x140000);
    KesDlgCombo* fixed = new KesDlgCombo(&frame, "fixed", 0x40000);
    KesDlgCheckButton* check = new KesDlgCheckButton(&frame, "check");
    KesDlgRadioButton* first = new KesDlgRadioButton(&frame, "first");
    KesDlgRadioButton* second = new KesDlgRadioButton(&frame, "second");
    KesDlgPushButton* push = new KesDlgPushButton(&frame, "push");
    KesDlgScrollBar* bar = new KesDlgScrollBar(&frame, "bar");
    KesDlgSelectorList* list = new KesDlgSelectorList(&frame, "list");
    KesDlgDialog* dialog = new KesDlgDialog(&frame, "dialog");
};

// ---------------------------------------------------------------------------------------------
// Gestures of a person
// ---------------------------------------------------------------------------------------------
// The widget's window active and the focus on it.
void Focus(QWidget* widget) {
    widget->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(widget->window()));
    widget->setFocus();
}

// Typed over the whole field, then `end`; nothing typed: only `end` in an untouched field.
void Type(QWidget* widget, const QString& text, Qt::Key end = Qt::Key_Return) {
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        widget = combo->lineEdit();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->selectAll();
    } else if (auto* box = qobject_cast<QAbstractSpinBox*>(widget)) {
        box->selectAll();
    }
    QTest::keyClicks(widget, text);
    QTest::keyClick(widget, end);
}

// A click near the left edge (the middle of a stretched check box may be empty space).
void Click(QWidget* widget, QPoint at = {8, -1}, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(widget, Qt::LeftButton, modifiers,
                      at.y() < 0 ? QPoint(at.x(), widget->height() / 2) : at);
}

// The secondary click on a widget.
void OpenMenu(QWidget* widget) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, {4, 4}, widget->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(widget, &event);
}

// The secondary click on the widget that holds the item's menu, then a click on the item.
void MenuItem(QAction* item) {
    auto* menu = qobject_cast<QMenu*>(item->parent());
    OpenMenu(menu->parentWidget());
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    Click(menu, menu->actionGeometry(item).center());
}

// A line of a session, split: verb, attribute, field (NAME[i]) and the rest, unquoted.
struct Line {
    explicit Line(const std::string& line) {
        const QStringList words = QString::fromStdString(line).split(' ');
        const QRegularExpressionMatch named =
            QRegularExpression(R"((\w*)(?:\[(\d+)\])?)").match(words.value(1));
        verb = words[0].toStdString();
        name = named.captured(1).toStdString();
        field = named.captured(2).toInt();
        text = words.mid(2).join(' ').remove('"');
    }
    std::string verb, name;
    QString text;
    int field = 0;
};

// One line done as a person does it in the window. Besides the driver's commands: leave (type, then
// Tab), arrow/wheel N (spinner steps), hover N (the wheel over a field not focused), page (a click
// under the scroll box), drag (the scroll box to the end), menu ITEM, close DIALOG. The caller's
// own commands go to the driver.
void Gesture(Shown& s, const std::string& text) {
    const Line line(text);
    const std::string& name = line.name;
    const int steps = line.text.toInt();
    QWidget* spinner = s.Qt(name, "spinneratt", line.field);
    QWidget* editor = s.Qt(name, "editoratt", line.field);
    auto* combo = qobject_cast<QComboBox*>(s.Qt(name, "comboatt"));
    auto* bar = qobject_cast<QScrollBar*>(s.Qt(name, "Scrol"));
    auto* list = qobject_cast<QListWidget*>(s.Qt(name, "SelList"));
    if (line.verb == "spin" && qobject_cast<QSpinBox*>(spinner) != nullptr) {
        Type(spinner, line.text.section('.', 0, 0)); // a whole number's field takes no point
    } else if (line.verb == "spin" || line.verb == "typekeys") { // typekeys: every key as given
        Type(spinner != nullptr ? spinner : editor, line.text);
    } else if (line.verb == "type" || line.verb == "bind") {
        Type(editor != nullptr ? editor : combo, line.text);
    } else if (line.verb == "leave") { // typed, then Tab to the next field
        Focus(editor);
        Type(editor, line.text, Qt::Key_Tab);
    } else if (line.verb == "arrow") {
        for (int i = 0; i < std::abs(steps); ++i) {
            Click(spinner, QPoint(spinner->width() - 6, steps > 0 ? 4 : spinner->height() - 4));
        }
    } else if (line.verb == "wheel" || line.verb == "hover") { // in the field, or only over it
        QWidget* field = spinner != nullptr ? spinner : combo;
        if (line.verb == "wheel") {
            Focus(field);
        }
        const QPointF at(field->width() / 2.0, field->height() / 2.0);
        QWheelEvent wheel(at, field->mapToGlobal(at), {}, QPoint(0, 120 * steps), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(field, &wheel);
    } else if (line.verb == "select" && combo != nullptr && combo->isEnabled()) {
        // The list opened, a line clicked (a person cannot open a disabled combo).
        const bool byRow = line.text.startsWith('#');
        const int row = byRow ? line.text.mid(1).toInt() - 1 : combo->findText(line.text);
        combo->showPopup();
        QAbstractItemView* lines = combo->view();
        QVERIFY(QTest::qWaitForWindowExposed(lines->window()));
        Click(lines->viewport(), lines->visualRect(lines->model()->index(row, 0)).center());
    } else if (line.verb == "select" && list != nullptr && line.text == "-") {
        Click(list->viewport(), QPoint(4, list->viewport()->height() - 2)); // under the lines
    } else if (line.verb == "select" && list != nullptr) { // the first row, Ctrl for the others
        Qt::KeyboardModifiers modifiers;
        for (const QString& item : line.text.split(',')) {
            QListWidgetItem* row = list->findItems(item.trimmed(), Qt::MatchExactly)[0];
            Click(list->viewport(), list->visualItemRect(row).center(), modifiers);
            modifiers = Qt::ControlModifier;
        }
    } else if (line.verb == "select" && combo == nullptr) { // a radio button, by its title
        Click(s.Qt(name, ("rb" + line.text.toUpper().remove('-')).toUtf8()));
    } else if (line.verb == "click" || line.verb == "option") { // an option only ever turned off
        Click(s.Qt(name, line.verb == "click" ? "chkbtnatt" : "OptionCheck", line.field));
    } else if (line.verb == "add" || line.verb == "remove" || line.verb == "menu") {
        const QString item = line.verb == "menu"  ? line.text
                             : line.verb == "add" ? "Add"
                                                  : "Remove";
        MenuItem(s.view.FindAction(*s(name, item.toUtf8())));
    } else if (line.verb == "scroll") {
        for (int guard = 0; guard < 100 && bar->value() != steps; ++guard) {
            QTest::keyClick(bar, bar->value() < steps ? Qt::Key_Down : Qt::Key_Up);
        }
    } else if (line.verb == "drag") { // the box, just under the up arrow, pulled to the end
        const QPoint box(bar->width() / 2, bar->width() + 4), end(box.x(), bar->height());
        QTest::mousePress(bar, Qt::LeftButton, {}, box);
        QTest::mouseMove(bar, end);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, end);
    } else if (line.verb == "page") {
        Click(bar, QPoint(bar->width() / 2, bar->height() - 20));
    } else if (line.verb == "drop") {
        combo->showPopup();
        combo->hidePopup();
    } else if (line.verb == "create" || line.verb == "step") { // typed in the dialog, Enter: OK
        const bool create = line.verb == "create";
        MenuItem(s.view.FindAction(*s(name, create ? "createpar" : "defstep")));
        if (QWidget* window = s.Qt(name, create ? "CreateParameter" : "StepEditorDlg");
            window != nullptr && window->isVisible()) {
            Type(s.Qt(name, create ? "ParameterName" : "StepEditor"), line.text, Qt::Key_Enter);
        }
    } else if (line.verb == "close") {
        s.Qt(name, line.text.toUtf8())->close();
    } else if (line.verb == "press") {
        Click(s.Qt(name, "pb"));
    } else if (line.verb != "svg" && line.verb != "select") {
        QCOMPARE(s.driver.Run(text, 1), KesPanelDriver::Status::Done);
    }
}

// A line done headless: the driver's command, or the user action it has no command for.
void Headless(Pocketing& p, const std::string& text) {
    const Line line(text);
    if (line.verb == "menu") {
        As<KesDlgPushItem>(p(line.name, line.text.toUtf8())).UserActivate();
    } else if (line.verb == "close") {
        As<KesDlgDialog>(p(line.name, line.text.toUtf8())).UserCancel();
    } else {
        QCOMPARE(p.driver.Run(text, 1), KesPanelDriver::Status::Done);
    }
}

// ---------------------------------------------------------------------------------------------
// What Qt shows
// ---------------------------------------------------------------------------------------------
QString Value(QWidget* qt) {
    QStringList shown;
    auto* button = qobject_cast<QAbstractButton*>(qt);
    if (auto* box = qobject_cast<QAbstractSpinBox*>(qt)) {
        shown << box->text();
    } else if (auto* edit = qobject_cast<QLineEdit*>(qt)) {
        shown << edit->text();
    } else if (auto* combo = qobject_cast<QComboBox*>(qt)) {
        shown << QString::number(combo->currentIndex()) + "|" + combo->currentText();
    } else if (button != nullptr && button->isCheckable()) {
        shown << QString::number(button->isChecked());
    } else if (auto* bar = qobject_cast<QScrollBar*>(qt)) {
        shown << QString("%1 %2 %3").arg(bar->minimum()).arg(bar->maximum()).arg(bar->value());
    } else if (auto* box = qobject_cast<QBoxLayout*>(qt->layout()); box && !qt->isWindow()) {
        shown << (box->direction() == QBoxLayout::LeftToRight ? "row" : "column");
    } else if (auto* list = qobject_cast<QListWidget*>(qt)) {
        for (int row = 0; row < list->count(); ++row) {
            shown << (list->item(row)->isSelected() ? "+" : "-") + list->item(row)->text();
        }
    }
    return shown.join(' ');
}

QString Expected(const KesDialog& widget) {
    const auto text = [](const KesUnicodeString& t) { return QString::fromStdString(t.Str()); };
    switch (widget.GetKind()) {
    case KesDlgKind::Frame:
        return static_cast<const KesDlgFrame&>(widget).GetDefaultOrientation() == 1 ? "row"
                                                                                    : "column";
    case KesDlgKind::Spinner:
        return text(static_cast<const KesDlgSpinner&>(widget).GetText()).trimmed();
    case KesDlgKind::Editor:
        return text(static_cast<const KesDlgEditor&>(widget).GetText());
    case KesDlgKind::Combo: {
        const auto& combo = static_cast<const KesDlgCombo&>(widget);
        const bool fieldShown = combo.IsEditable() || combo.GetSelect() >= 0;
        return QString::number(combo.GetSelect()) + "|" +
               (fieldShown ? text(combo.GetField()) : "");
    }
    case KesDlgKind::CheckButton:
    case KesDlgKind::RadioButton:
        return QString::number(static_cast<const KesDlgStateButton&>(widget).IsOn());
    case KesDlgKind::ScrollBar: {
        const auto& bar = static_cast<const KesDlgScrollBar&>(widget);
        return QString("%1 %2 %3")
            .arg(bar.GetScrollMinimum())
            .arg(bar.GetScrollLastPos())
            .arg(bar.GetScrollPos());
    }
    case KesDlgKind::SelectorList: {
        const auto& list = static_cast<const KesDlgSelectorList&>(widget);
        QStringList rows;
        for (int row = 0; row < list.GetLineCount(); ++row) {
            rows << (list.IsSelected(row) ? "+" : "-") + text(list.GetLine(row));
        }
        return rows.join(' ');
    }
    default:
        return {};
    }
}

// One line per widget under `root` whose Qt widget shows another value than the toolkit's, or takes
// input where the toolkit refuses it or the reverse: empty when the view is in step.
QString Differences(const KesQtPanelView& view, const KesDialog& root) {
    QString out;
    for (int i = 0; i < root.GetChildCount(); ++i) {
        const KesDialog& child = *root.GetChildFromChildNumber(i);
        out += Differences(view, child);
        QWidget* qt = view.Find(child);
        const QString shown =
            qt ? QString("%1 %2").arg(Value(qt)).arg(qt->isEnabled() && qt->isVisible()) : "";
        const QString expected =
            QString("%1 %2").arg(Expected(child)).arg(child.AcceptsUserInput());
        if (qt != nullptr && child.GetKind() != KesDlgKind::ContextualMenu && shown != expected) {
            out += QString("%1: %2 != %3\n").arg(child.GetName().Str().c_str(), shown, expected);
        }
    }
    return out;
}

// Properties of a Qt widget by name ("value": what Value reads), or "none" for no widget.
QString Probe(QWidget* qt, const QString& names) {
    QStringList read;
    for (const QString& name : names.split(' ')) {
        read << (qt == nullptr     ? "none"
                 : name == "value" ? Value(qt)
                                   : qt->property(name.toUtf8()).toString());
    }
    return read.join(' ');
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The tests
// ---------------------------------------------------------------------------------------------
class KesQtPanelViewTest : public QObject {
    Q_OBJECT

private slots:
    // A person on a system with a decimal comma: Qt's locale and, where the system has the locale
    // (.ci/run makes it), the C library's numeric locale both write "2,5". Numbers must still show,
    // and be typed, as the toolkit writes them.
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::German));
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    }
    void gestureActsAsHeadless_data();
    void gestureActsAsHeadless();
    void toolkitShowsInQt_data();
    void toolkitShowsInQt();
    void numberFieldsTakeNumbersAsTyped_data();
    void numberFieldsTakeNumbersAsTyped();
    void inHostDialogReturnConfirmsTheField_data();
    void inHostDialogReturnConfirmsTheField();
    void hostDialogSizesToThePanel();
    void dialogsOfThePanel();
    void tabFollowsPanelOrder();
    void cascadeDisablesAtOnce();
    void lifetimes_data();
    void lifetimes();
    void mirrorCheckFindsWindowOutOfStep_data();
    void mirrorCheckFindsWindowOutOfStep();
    void handsTakeTheDriversWords_data();
    void handsTakeTheDriversWords();
    void focusNeverStaysOnAGoneMirror_data();
    void focusNeverStaysOnAGoneMirror();
};

// Each row: gestures on the window (';' between them), against the driver's lines on a second,
// identical panel (none: the same lines); after every gesture Qt shows the toolkit's state.
void KesQtPanelViewTest::gestureActsAsHeadless_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("headless");
    // clang-format off
    QTest::newRow("editor: Return commits once") << "type Comment Walls last" << "";
    QTest::newRow("editor: focus leaves, commits once") << "leave Comment Walls last" << "type Comment Walls last";
    QTest::newRow("editor: Return with nothing typed") << "type Comment" << "values";
    QTest::newRow("spinner: typed above the maximum") << "spin Depth 75" << "";
    QTest::newRow("integer spinner: a point cannot be typed") << "typekeys Tool_Number 1.2" << "spin Tool_Number 12";
    QTest::newRow("real spinner: a comma is the point") << "typekeys Depth 2,5" << "spin Depth 2.5";
    QTest::newRow("spinner: arrows up twice, down") << "arrow Depth 2;arrow Stepover -1" << "nudge Depth 1;nudge Depth 1;nudge Stepover -1";
    QTest::newRow("list spinner: wheel of two notches") << "wheel Pass_Counts[1] 2" << "nudge Pass_Counts[1] 2";
    QTest::newRow("spinner, combo: wheel over them unfocused") << "hover Depth 2;hover Direction -1" << "values";
    QTest::newRow("combo: list opened, line picked") << "select Direction Conventional" << "drop Direction;select Direction Conventional";
    QTest::newRow("combo: list opened and closed") << "drop Feed_Rate" << "";
    QTest::newRow("editable combo: typed") << "bind Feed_Rate \" feed_rough \"" << "";
    QTest::newRow("editable combo: typed one of its lines") << "drop Feed_Rate;bind Feed_Rate FEED_FINISH" << "";
    QTest::newRow("radio: another one") << "select Strategy Contour" << "";
    QTest::newRow("radio: the one already on") << "select Strategy Zig-zag" << "";
    QTest::newRow("check button") << "click Coolant" << "";
    QTest::newRow("option check") << "option Coolant_Pressure off" << "";
    QTest::newRow("list check field") << "click Pass_Switches[2]" << "";
    QTest::newRow("push button") << "press Approach_Retract" << "";
    QTest::newRow("context menu item") << "add Pass_Depths;remove Pass_Depths" << "";
    QTest::newRow("scroll bar: key step") << "scroll Pass_Counts 1" << "";
    QTest::newRow("scroll bar: page click") << "page Pass_Counts" << "scroll Pass_Counts 5";
    QTest::newRow("scroll bar: box dragged, let go") << "drag Pass_Counts" << "drag Pass_Counts 2;scroll Pass_Counts 2";
    QTest::newRow("selector list: row clicked") << "select Allowed_Cycles Dwell" << "";
    QTest::newRow("selector list: row added with Ctrl") << "select Allowed_Cycles Drill, Dwell" << "select Allowed_Cycles Drill;select Allowed_Cycles Drill, Dwell";
    QTest::newRow("dialog: typed, Return is OK") << "step Feed_Rate 25" << "";
    QTest::newRow("dialog: window closed is Cancel") << "menu Feed_Rate defstep;close Feed_Rate StepEditorDlg" << "";
    QTest::newRow("the bundled pocketing session, its records") << "session" << "";
    QTest::newRow("insensitive spinner refuses") << "select Strategy Contour;spin Stepover 60;arrow Stepover 1" << "select Strategy Contour;spin Stepover 60;nudge Stepover 1";
    // clang-format on
}

void KesQtPanelViewTest::gestureActsAsHeadless() {
    QFETCH(QString, window);
    QFETCH(QString, headless);
    QStringList lines = window.split(';');
    if (window == "session") {
        QFile file(KES_SOURCE_DIR "/examples/sessions/pocketing.kes");
        QVERIFY(file.open(QIODevice::ReadOnly));
        lines = QString(file.readAll()).split('\n').filter(QRegularExpression("^(?!svg)[a-z]"));
        QVERIFY(lines.size() > 30);
    }
    const QString expected = [&] { // on a panel gone before the window's
        Pocketing p;
        for (const QString& line : headless.isEmpty() ? lines : headless.split(';')) {
            Headless(p, line.toStdString());
        }
        return Transcript(p.frame);
    }();
    Shown shown;
    for (const QString& line : lines) {
        Gesture(shown, line.toStdString());
        const QString differences = Differences(shown.view, shown.frame);
        QVERIFY2(differences.isEmpty(), qPrintable(line + ":\n" + differences));
    }
    // Of the whole session, the records: a person's clicks may raise more notifications.
    const auto from = [&](const QString& t) {
        return window == "session" ? t.mid(t.indexOf("Strategy |")) : t;
    };
    QCOMPARE(from(Transcript(shown.frame)), from(expected));
}

using Change = std::function<void(Bare&)>;
Q_DECLARE_METATYPE(Change)

void KesQtPanelViewTest::toolkitShowsInQt_data() {
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("properties");
    QTest::addColumn<QString>("shown");
    // clang-format off
    QTest::newRow("label title, never markup") << Change([](Bare& b) { b.label->SetTitle("<b>Depth</b>"); }) << "label" << "text textFormat" << "<b>Depth</b> PlainText";
    QTest::newRow("help texts") << Change([](Bare& b) { b.editor->SetShortHelp("short"); b.editor->SetHelp("long"); }) << "editor" << "toolTip statusTip whatsThis" << "short long long";
    QTest::newRow("editor text cut to its width") << Change([](Bare& b) { b.editor->SetText("abcdef"); b.editor->SetMaxCharacterWidth(4); }) << "editor" << "text maxLength" << "abcd 4";
    QTest::newRow("real spinner") << Change([](Bare& b) { b.real->SetMinMaxStep(0, 10, 0.5); b.real->SetFormat("%12.7f"); b.real->SetValue(2.5, 0); }) << "real" << "minimum maximum singleStep decimals text" << "0 10 0.5 7 2.5";
    QTest::newRow("new range clamps the value") << Change([](Bare& b) { b.real->SetValue(8, 0); b.real->SetMinMaxStep(0, 5, 1); }) << "real" << "maximum text" << "5 5";
    QTest::newRow("typed with a point") << Change([](Bare& b) { b.real->SetFormat("%.2f"); Type(b.view.Find(*b.real), "7.25"); }) << "real" << "text" << "7.25";
    QTest::newRow("display format wins") << Change([](Bare& b) { b.real->SetDisplayFormat("%.2f"); b.real->SetValue(1.5, 0); }) << "real" << "decimals text" << "2 1.5";
    QTest::newRow("integer spinner") << Change([](Bare& b) { b.whole->SetMinMaxStep(1, 99, 1); b.whole->SetValue(120, 0); }) << "whole" << "minimum maximum text" << "1 99 99";
    QTest::newRow("combo lines, selection") << Change([](Bare& b) { b.fixed->SetLine("Climb", -1, 0); b.fixed->SetLine("Conventional", -1, 0); b.fixed->SetSelect(1, 0); }) << "fixed" << "count value" << "2 1|Conventional";
    QTest::newRow("combo lines cleared") << Change([](Bare& b) { b.fixed->SetLine("Climb", -1, 0); b.fixed->SetSelect(0, 0); b.fixed->ClearLine(); }) << "fixed" << "count value" << "0 -1|";
    QTest::newRow("editable combo field") << Change([](Bare& b) { b.combo->SetLine("none", -1, 0); b.combo->SetSelect(0, 0); b.combo->SetField("FEED_HSM"); }) << "combo" << "value" << "0|FEED_HSM";
    QTest::newRow("radio off by a sibling") << Change([](Bare& b) { b.first->SetState(kes::kOn, 0); b.second->SetState(kes::kOn, 0); }) << "first" << "checked autoExclusive" << "false false";
    QTest::newRow("push title keeps its &") << Change([](Bare& b) { b.push->SetTitle("Save & close"); }) << "push" << "text" << "Save && close";
    QTest::newRow("push icon name, no such icon") << Change([](Bare& b) { b.push->SetIconName("kes-no-such-icon"); }) << "push" << "text" << "";
    QTest::newRow("untitled push shows no label of its frame") << Change([](Bare& b) { b.label->SetTitle("Approach"); (new KesDlgPushButton(b.row, "go"))->SetIconName("kes-no-such-icon"); }) << "go" << "text" << "";
    QTest::newRow("link button shows its label beside another attribute") << Change([](Bare& b) { (new KesMfgAttInt("Count", "Hover for help", 1, 0, 9, 0, b.row, 1))->Display(); (new KesMfgAttLink("Approach_Retract", "Approach and retract", b.row, "", 2))->Display(); }) << "pb" << "text accessibleName" << "Approach and retract Approach and retract";
    QTest::newRow("link button shows its label, not its frame's") << Change([](Bare& b) { b.label->SetTitle("Hover for help"); (new KesMfgAttLink("Approach_Retract", "Approach & retract", b.row, "", 2))->Display(); }) << "pb" << "text accessibleName" << "Approach && retract Approach & retract";
    QTest::newRow("long padded text shows its start") << Change([](Bare& b) { b.editor->SetVisibleTextWidth(8); b.editor->SetText(QString("Roughing of the pocket").leftJustified(72).toStdString()); }) << "editor" << "cursorPosition" << "0";
    QTest::newRow("titled frame is a group") << Change([](Bare& b) { b.row->SetTitle("Cutting"); }) << "row" << "accessibleName" << "Cutting";
    QTest::newRow("scroll bar") << Change([](Bare& b) { b.bar->SetScrollRange(0, 10); b.bar->SetScrollBoxSize(3); b.bar->SetScrollPos(9, 0); }) << "bar" << "value pageStep" << "0 7 7 3";
    QTest::newRow("selector list") << Change([](Bare& b) { for (const char* l : {"Drill", "Dwell", "Peck"}) b.list->SetLine(l, -1, 0); const int rows[] = {0, 2}; b.list->SetSelect(rows, 2, 0); }) << "list" << "value" << "+Drill -Dwell +Peck";
    QTest::newRow("insensitive frame, hidden editor") << Change([](Bare& b) { b.row->SetSensitivity(kes::kInsensitive); b.editor->SetVisibility(kes::kHidden); }) << "editor" << "enabled visible" << "false false";
    QTest::newRow("orientation") << Change([](Bare& b) { b.row->SetDefaultOrientation(1); }) << "row" << "value" << "row";
    QTest::newRow("dialog shown, titled") << Change([](Bare& b) { b.dialog->SetTitle("Step"); b.dialog->SetVisibility(kes::kShown); }) << "dialog" << "windowTitle visible" << "Step true";
    QTest::newRow("dialog titled by its owner's label") << Change([](Bare& b) { b.label->SetTitle("Depth"); (new KesDlgDialog(b.row, "asks"))->SetVisibility(kes::kShown); }) << "asks" << "windowTitle" << "Depth";
    QTest::newRow("real editor takes only a number") << Change([](Bare& b) { Type(b.view.Find(*new KesDlgEditor(b.row, "depth", KesDlgEditor::kRealStyle)), "0.3abc"); }) << "depth" << "text" << "0.3";
    QTest::newRow("integer editor takes only digits") << Change([](Bare& b) { Type(b.view.Find(*new KesDlgEditor(b.row, "count", KesDlgEditor::kIntegerStyle)), "-1.5x"); }) << "count" << "text" << "-15";
    QTest::newRow("created later") << Change([](Bare& b) { (new KesDlgEditor(b.row, "late"))->SetText("x"); }) << "late" << "text" << "x";
    // clang-format on
}

void KesQtPanelViewTest::toolkitShowsInQt() {
    QFETCH(Change, change);
    QFETCH(QString, widget);
    QFETCH(QString, properties);
    QFETCH(QString, shown);
    Bare bare;
    bare.view.Widget()->show();
    change(bare);
    const KesDialog* changed = bare.frame.FindDescendant(widget.toStdString());
    QCOMPARE(Probe(changed ? bare.view.Find(*changed) : nullptr, properties), shown);
    QCOMPARE(Differences(bare.view, bare.frame), QString());
}

// ---------------------------------------------------------------------------------------------
// Number fields, as a machinist types into them
// ---------------------------------------------------------------------------------------------
// Each row: keys typed over a field (then the keys named in `then`), what the field shows, the
// toolkit's text, and whether the field kept the focus and shows its text as invalid.
void KesQtPanelViewTest::numberFieldsTakeNumbersAsTyped_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("then");
    QTest::addColumn<QString>("after"); // shown | the toolkit's text | focus and validity
    // clang-format off
    QTest::newRow("real editor: a comma is the point") << "real editor" << "2,5" << "Return" << "2.5 | 2.5 | focus valid";
    QTest::newRow("real spinner: a comma is the point") << "real spinner" << "2,5" << "Return" << "2.5 | 2.5 | focus valid";
    QTest::newRow("integer editor: no point, no comma") << "integer editor" << "4.6,1" << "Return" << "461 | 461 | focus valid";
    QTest::newRow("integer spinner: no point, no comma") << "integer spinner" << "4.6,1" << "Return" << "461 | 461 | focus valid";
    QTest::newRow("real editor: no number, not confirmed") << "real editor" << "1e3-5.5" << "Return" << "1e3-5.5 |  | focus invalid";
    QTest::newRow("real editor: no number, Tab stays") << "real editor" << "1e3-5.5" << "Tab" << "1e3-5.5 |  | focus invalid";
    QTest::newRow("real editor: no number, a click elsewhere comes back") << "real editor" << "1e3-5.5" << "Click" << "1e3-5.5 |  | focus invalid";
    QTest::newRow("real editor: no number, Escape restores") << "real editor" << "1e3-5.5" << "Return Escape" << " |  | focus valid";
    QTest::newRow("real editor: no number, corrected") << "real editor" << "1e3-5.5" << "Return Backspace Backspace Backspace Backspace Return" << "1e3 | 1e3 | focus valid";
    QTest::newRow("real spinner: no number, not confirmed") << "real spinner" << "1e3-5.5" << "Return" << "1e3-5.5 | 0 | focus invalid";
    QTest::newRow("real spinner: no number, a click elsewhere comes back") << "real spinner" << "1e3-5.5" << "Click" << "1e3-5.5 | 0 | focus invalid";
    QTest::newRow("real spinner: no number, Escape restores") << "real spinner" << "1e3-5.5" << "Return Escape" << "0 | 0 | focus valid";
    QTest::newRow("integer spinner: a sign alone, not confirmed") << "integer spinner" << "-" << "Return" << "- | 0 | focus invalid";
    // clang-format on
}

void KesQtPanelViewTest::numberFieldsTakeNumbersAsTyped() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, then);
    QFETCH(QString, after);
    Bare bare;
    bare.real->SetMinMaxStep(-1000, 1000, 0.5);
    bare.whole->SetMinMaxStep(-1000, 1000, 1);
    KesDialog* widget = bare.real;
    if (field == "integer spinner") {
        widget = bare.whole;
    } else if (field.endsWith("editor")) {
        widget = new KesDlgEditor(bare.row, "number",
                                  field == "real editor" ? KesDlgEditor::kRealStyle
                                                         : KesDlgEditor::kIntegerStyle);
    }
    bare.view.Widget()->show();
    QWidget* qt = bare.view.Find(*widget);
    Focus(qt);
    const QPalette normal = qt->palette();
    if (auto* box = qobject_cast<QAbstractSpinBox*>(qt)) {
        box->selectAll();
    }
    QTest::keyClicks(qt, typed);
    for (const QString& key : then.split(' ')) {
        if (key == "Click") { // on another field of the panel
            QTest::mouseClick(bare.view.Find(*bare.editor), Qt::LeftButton);
            QApplication::processEvents();
        } else {
            QTest::keyClick(qt, key == "Return"   ? Qt::Key_Return
                                : key == "Tab"    ? Qt::Key_Tab
                                : key == "Escape" ? Qt::Key_Escape
                                                  : Qt::Key_Backspace);
        }
    }
    const auto* text = dynamic_cast<const KesDlgEditor*>(widget);
    const bool invalid = qt->palette().color(QPalette::Base) != normal.color(QPalette::Base);
    const QString seen =
        QString("%1 | %2 | %3 %4")
            .arg(Value(qt),
                 QString::fromStdString(text != nullptr
                                            ? text->GetText().Str()
                                            : static_cast<KesDlgSpinner*>(widget)->GetText().Str())
                     .trimmed(),
                 qt->hasFocus() ? "focus" : "left", invalid ? "invalid" : "valid");
    QCOMPARE(seen, after);
}

// ---------------------------------------------------------------------------------------------
// In a host's dialog
// ---------------------------------------------------------------------------------------------
// A host's dialog around the view, with OK as its default button.
struct HostDialog : Pocketing {
    HostDialog() {
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(view.Widget());
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        layout->addWidget(buttons);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    }
    QDialog dialog;
    KesQtPanelView view{frame};
};

// Each row: Return in a widget of the panel (after `typed`, if any); whether the dialog's
// default button fired, and the value record of the attribute.
void KesQtPanelViewTest::inHostDialogReturnConfirmsTheField_data() {
    QTest::addColumn<QString>("attribute");
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("record");
    // clang-format off
    QTest::newRow("text field") << "Comment" << "editoratt" << "Walls last" << false << "Comment | text | 1 | \"Walls last";
    QTest::newRow("spinner") << "Depth" << "spinneratt" << "7" << false << "Depth | real | 1 | 7";
    QTest::newRow("editable combo") << "Feed_Rate" << "comboatt" << "none" << false << "Feed_Rate | real | 1 | 800";
    QTest::newRow("number refused") << "Depth" << "spinneratt" << "1e" << false << "Depth | real | 1 | 5";
    QTest::newRow("check button: no field, the dialog's OK") << "Coolant" << "chkbtnatt" << "" << true << "Coolant | boolean | 1 | 1";
    // clang-format on
}

void KesQtPanelViewTest::inHostDialogReturnConfirmsTheField() {
    QFETCH(QString, attribute);
    QFETCH(QString, widget);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QFETCH(QString, record);
    HostDialog host;
    host.dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&host.dialog));
    QWidget* qt = host.view.Find(*host(attribute.toStdString(), widget.toUtf8()));
    qt->setFocus();
    QSignalSpy accept(&host.dialog, &QDialog::accepted);
    if (typed.isEmpty()) {
        QTest::keyClick(qt, Qt::Key_Return);
    } else {
        Type(qt, typed);
    }
    QCOMPARE(accept.count(), accepted ? 1 : 0);
    QCOMPARE(host.dialog.isVisible(), !accepted);
    QVERIFY2(Transcript(host.frame).contains(record), qPrintable(record));
}

// The dialog a host sizes to its content shows the whole panel, also after the view has laid
// out what it lays out once shown.
void KesQtPanelViewTest::hostDialogSizesToThePanel() {
    HostDialog host;
    host.dialog.adjustSize();
    host.dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host.dialog));
    QApplication::processEvents();
    QWidget* top = host.view.Widget();
    const QSize view = top->sizeHint();
    QCOMPARE(host.dialog.sizeHint().expandedTo(view), host.dialog.sizeHint());
    host.dialog.adjustSize();
    QApplication::processEvents();
    QVERIFY(!qobject_cast<QScrollArea*>(top)->horizontalScrollBar()->isVisible());
    QVERIFY(top->width() >= view.width());
    // Hidden, the view lays out what changes once, not over and over.
    host.dialog.hide();
    struct Counter : QObject {
        int layouts = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            layouts += event->type() == QEvent::LayoutRequest;
            return false;
        }
    } counter;
    QApplication::instance()->installEventFilter(&counter);
    host.driver.FindAttribute("Comment")->SetVisibility(kes::kHidden);
    QTest::qWait(100);
    QVERIFY2(counter.layouts < 200, qPrintable(QString::number(counter.layouts)));
}

// The panel's own dialogs: the create-parameter dialog takes a name as long as the model takes
// (72 characters); the step dialog's prompt reads on one line.
void KesQtPanelViewTest::dialogsOfThePanel() {
    for (const QString& name :
         {QString("FEED_THREAD_ROUGH_M12"), QString("F").leftJustified(72, QLatin1Char('X'))}) {
        Shown shown;
        Gesture(shown, ("create Feed_Rate " + name).toStdString());
        QVERIFY2(Transcript(shown.frame).contains("Feed_Rate | real | -1 | \"" + name),
                 qPrintable(name));
    }
    Shown shown;
    Gesture(shown, "menu Feed_Rate defstep");
    QWidget* dialog = shown.Qt("Feed_Rate", "StepEditorDlg");
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    const QLabel* prompt = nullptr;
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        prompt = label->text().startsWith("Step of one arrow click") ? label : prompt;
    }
    QVERIFY(prompt != nullptr);
    QVERIFY2(prompt->height() < 2 * prompt->fontMetrics().height() &&
                 prompt->width() >= prompt->fontMetrics().horizontalAdvance(prompt->text()),
             qPrintable(prompt->text()));
}

// ---------------------------------------------------------------------------------------------
// Keyboard and screen readers
// ---------------------------------------------------------------------------------------------
void KesQtPanelViewTest::tabFollowsPanelOrder() {
    const auto tabFrom = [](QWidget* from) {
        Focus(from);
        QTest::keyClick(from, Qt::Key_Tab);
    };
    Shown shown;
    QStringList labels;
    for (KesMfgAttribute* attribute : AttributesOf(shown.frame)) {
        labels << QString::fromStdString(attribute->GetLabel().Str());
    }
    // Once round the panel: the attributes announced, each after the one before it.
    QList<int> order{0};
    tabFrom(shown.Qt("Strategy", "rbZIGZAG"));
    for (int i = 0; i < 80 && (order.size() == 1 || order.last() != 0); ++i) {
        QWidget* focus = QApplication::focusWidget();
        const int at =
            labels.indexOf(focus->accessibleName().isEmpty() ? focus->accessibleDescription()
                                                             : focus->accessibleName());
        if (at >= 0 && at != order.last()) {
            order << at;
        }
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QVERIFY(order.size() >= labels.size() - 1); // all but the read-only one
    QVERIFY(std::is_sorted(order.begin(), order.end() - 1) && order.last() == 0);
    // Tab follows the row as shown: the option check, then its value.
    tabFrom(shown.Qt("Coolant_Pressure", "OptionCheck"));
    QCOMPARE(QApplication::focusWidget(), shown.Qt("Coolant_Pressure", "spinneratt"));
    // Tab follows widgets placed out of their creation order by an attachment.
    Bare bare;
    bare.row->SetHorizontalAttachment(1, 1, {bare.whole, bare.editor, nullptr});
    bare.view.Widget()->show();
    tabFrom(bare.view.Find(*bare.whole));
    QCOMPARE(QApplication::focusWidget(),
             bare.view.Find(*bare.real)); // label, whole, real, editor
    // Value widgets are named by their attribute's label; a titled button by its title.
    for (const auto& [attribute, widget, field, name] :
         {// clang-format off
             std::tuple{"Direction", "comboatt", 0, "Cut direction"},
             std::tuple{"Coolant_Pressure", "OptionCheck", 0, "Coolant pressure (bar)"},
             std::tuple{"Pass_Depths", "spinneratt", 2, "Pass depths (mm)"},
             std::tuple{"Pass_Depths", "Scrol", 0, "Pass depths (mm)"},
             std::tuple{"Allowed_Cycles", "SelList", 0, "Allowed cycles"},
             std::tuple{"Strategy", "rbSPIRAL", 0, ""}}) {
        // clang-format on
        QCOMPARE(shown.Qt(attribute, widget, field)->accessibleName(), QString(name));
    }
}

// ---------------------------------------------------------------------------------------------
// Refusal: a steering attribute switches others off in Qt at once, within the gesture
// ---------------------------------------------------------------------------------------------
void KesQtPanelViewTest::cascadeDisablesAtOnce() {
    Shown shown;
    QStringList enabled;
    shown.view.SetAfterGesture([&] {
        enabled << QString("%1%2")
                       .arg(shown.Qt("Direction", "comboatt")->isEnabled())
                       .arg(shown.Qt("Stepover", "spinneratt")->isEnabled());
    });
    Gesture(shown, "select Strategy Contour"); // no direction, and so no stepover
    Gesture(shown, "select Strategy Spiral");
    QCOMPARE(enabled, QStringList({"00", "11"}));
}

// ---------------------------------------------------------------------------------------------
// Lifetimes (run under AddressSanitizer too)
// ---------------------------------------------------------------------------------------------
using Scenario = std::function<void(Shown&)>;
Q_DECLARE_METATYPE(Scenario)

bool Deleted(const QPointer<QWidget>& qt) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return qt.isNull();
}

// Text typed into a field that has the focus, not confirmed.
QPointer<QLineEdit> Typed(Shown& s, const std::string& attribute, const QString& text) {
    auto* field = qobject_cast<QLineEdit*>(s.Qt(attribute, "editoratt"));
    Focus(field);
    QTest::keyClicks(field, text);
    s.frame.all.clear();
    return field;
}

void KesQtPanelViewTest::lifetimes_data() {
    QTest::addColumn<Scenario>("scenario");
    QTest::newRow("attribute deleted while shown") << Scenario([](Shown& s) {
        QPointer<QWidget> depth = s.Qt("Depth", "spinneratt");
        delete s("Depth", "spinneratt")->GetParent();
        QVERIFY(Deleted(depth));
    });
    QTest::newRow("dialog deleted by its own OK") << Scenario([](Shown& s) {
        Gesture(s, "menu Feed_Rate defstep");
        QPointer<QWidget> dialog = s.Qt("Feed_Rate", "StepEditorDlg");
        QVERIFY(dialog != nullptr && dialog->isVisible());
        Click(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok));
        QVERIFY(Deleted(dialog));
    });
    // The field's focus-out used to commit into the attribute being destroyed (a crash).
    QTest::newRow("typed field of a deleted attribute commits nothing") << Scenario([](Shown& s) {
        QPointer<QWidget> field = Typed(s, "Comment", "unconfirmed").data();
        QSignalSpy finished(qobject_cast<QLineEdit*>(field), &QLineEdit::editingFinished);
        delete s.driver.FindAttribute("Comment");
        QCOMPARE(finished.count(), 0);
        QVERIFY(Deleted(field));
        QCOMPARE(s.frame.all, QString());
    });
    QTest::newRow("typed field hidden drops its text") << Scenario([](Shown& s) {
        QSignalSpy finished(Typed(s, "Comment", "unconfirmed").data(), &QLineEdit::editingFinished);
        s.driver.FindAttribute("Comment")->SetVisibility(kes::kHidden);
        s.driver.FindAttribute("Comment")->SetVisibility(kes::kShown);
        QCOMPARE(finished.count(), 0);
        QCOMPARE(s.frame.all, QString()); // and the field shows the attribute's text again
    });
    // The view is deleted first in every other row.
    QTest::newRow("panel deleted before the view") << Scenario([](Shown&) {
        auto frame = std::make_unique<KesDlgTestFrame>();
        KesPocketingPanel panel(*frame);
        auto view = std::make_unique<KesQtPanelView>(*frame);
        QPointer<QWidget> top = view->Widget();
        QPointer<QWidget> depth = view->Find(*Part(*frame, "Depth", "spinneratt"));
        frame.reset();
        QVERIFY(Deleted(depth));
        KesDlgTestFrame later; // widgets where the old panel was are none of the view's
        new KesDlgEditor(&later, "after");
        view.reset();
        QVERIFY(top.isNull());
    });
    QTest::newRow("top widget deleted by the caller's Qt parent") << Scenario([](Shown& s) {
        auto* window = new QWidget;
        s.view.Widget()->setParent(window);
        delete window;
        QVERIFY(s.view.Widget() == nullptr);
        As<KesDlgSpinner>(s("Depth", "spinneratt")).SetValue(7, 0);
        delete new KesDlgEditor(s.frame.FindDescendant("Comment"), "after");
    });
    QTest::newRow("two views of two panels") << Scenario([](Shown& s) {
        Bare other;
        other.view.Widget()->show();
        other.editor->SetText("other");
        QVERIFY(s.view.Find(*other.editor) == nullptr);
        Gesture(s, "type Comment mine");
        QCOMPARE(Differences(other.view, other.frame), QString());
    });
    // A window and its preview: each takes gestures and shows the other's; either deleted, the
    // other goes on, menus and dialogs included (a preview built and deleted used to leave the
    // window's menus unable to pop up).
    QTest::newRow("two views of one panel, either deleted") << Scenario([](Shown&) {
        for (const bool firstGoes : {false, true}) {
            QTemporaryDir settings;
            qputenv("KES_SETTINGS_DIR", settings.path().toUtf8());
            Recorder frame; // the views are there before the panel is built
            auto first = std::make_unique<KesQtPanelView>(frame);
            auto second = std::make_unique<KesQtPanelView>(frame);
            KesPocketingPanel panel(frame);
            const auto part = [&](const char* attribute, const char* id) {
                return Part(frame, attribute, id);
            };
            first->Widget()->show();
            second->Widget()->show();
            MenuItem(second->FindAction(*part("Pass_Depths", "Add")));
            QVERIFY(!std::exchange(frame.all, QString()).isEmpty());
            QCOMPARE(Differences(*first, frame), QString());
            KesQtPanelView& going = firstGoes ? *first : *second;
            OpenMenu(going.Find(*part("Feed_Rate", "spinneratt")));
            QVERIFY(QApplication::activePopupWidget() != nullptr); // open as its view goes
            (firstGoes ? first : second).reset();
            const KesQtPanelView& left = first != nullptr ? *first : *second;
            MenuItem(left.FindAction(*part("Pass_Depths", "Add")));
            QVERIFY(!std::exchange(frame.all, QString()).isEmpty());
            // The secondary click of a person, on the field.
            auto* field = left.Find(*part("Feed_Rate", "spinneratt"))->findChild<QLineEdit*>();
            OpenMenu(field);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr);
            QAction* step = left.FindAction(*part("Feed_Rate", "defstep"));
            Click(menu, menu->actionGeometry(step).center());
            QWidget* dialog = left.Find(*part("Feed_Rate", "StepEditorDlg"));
            QVERIFY(dialog != nullptr && dialog->isVisible());
            dialog->close();
            QCOMPARE(Differences(left, frame), QString());
        }
    });
    QTest::newRow("a push deletes its own button") << Scenario([](Shown& s) {
        auto* button = new KesDlgPushButton(&s.frame, "doomed");
        static KesDlgNotification pressed("KesDlgPushBActivateNotification");
        s.frame.AddCallback(button, &pressed,
                            [button](KesCommand*, KesNotification*, void**) { delete button; });
        QPointer<QWidget> qt = s.view.Find(*button);
        Click(qt);
        QVERIFY(Deleted(qt));
    });
}

void KesQtPanelViewTest::lifetimes() {
    QFETCH(Scenario, scenario);
    auto shown = std::make_unique<Shown>();
    scenario(*shown);
    QCOMPARE(Differences(shown->view, shown->frame), QString());
}

// The check of kes-panel --via-qt: a window put out of step behind the view's back is found.
void KesQtPanelViewTest::mirrorCheckFindsWindowOutOfStep_data() {
    QTest::addColumn<Scenario>("breakWindow");
    QTest::addColumn<QString>("invariant");
    const QString state = "a mirror does not show its widget's state";
    // clang-format off
    QTest::newRow("in step") << Scenario([](Shown&) {}) << QString();
    QTest::newRow("a field shows another text") << Scenario([](Shown& s) {
        qobject_cast<QLineEdit*>(s.Qt("Comment", "editoratt"))->setText("other"); }) << state;
    QTest::newRow("a check box shows another state") << Scenario([](Shown& s) {
        qobject_cast<QAbstractButton*>(s.Qt("Coolant", "chkbtnatt"))->toggle(); }) << state;
    QTest::newRow("a list's scroll bar elsewhere") << Scenario([](Shown& s) {
        qobject_cast<QScrollBar*>(s.Qt("Pass_Counts", "Scrol"))->setValue(1); }) << state;
    QTest::newRow("a combo on another line") << Scenario([](Shown& s) {
        qobject_cast<QComboBox*>(s.Qt("Direction", "comboatt"))->setCurrentIndex(1); }) << state;
    QTest::newRow("a field enabled in an insensitive attribute") << Scenario([](Shown& s) {
        s.Qt("Machine", "editoratt")->setEnabled(true); }) << state;
    QTest::newRow("a field shown that mirrors nothing") << Scenario([](Shown& s) {
        (new QLineEdit(s.view.Find(*s.driver.FindAttribute("Comment"))))->show(); })
        << "a mirror is left for a destroyed widget";
    // clang-format on
}

void KesQtPanelViewTest::mirrorCheckFindsWindowOutOfStep() {
    QFETCH(Scenario, breakWindow);
    QFETCH(QString, invariant);
    Shown shown;
    const KesQtHands hands(shown.view, shown.frame);
    breakWindow(shown);
    QCOMPARE(QString::fromStdString(hands.CheckMirrors().invariant), invariant);
}

// The driver's words through the window's hands (kes-panel --via-qt) and headless: the same
// transcript, every line taken, the window in step. A row names a part of the transcript.
void KesQtPanelViewTest::handsTakeTheDriversWords_data() {
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("shown");
    // clang-format off
    QTest::newRow("combo line by its value") << "select Direction -1;get Direction" << "Direction | integer | 1 | -1";
    QTest::newRow("radio button by its title") << "click Strategy Contour;get Strategy" << "Strategy | text | 1 | \"CONTOUR\"";
    QTest::newRow("typed into a spinner") << "type Depth 12.5;get Depth" << "Depth | real | 1 | 12.5";
    QTest::newRow("typed into a spinner: the keys a number takes") << "type Depth 7mm;get Depth" << "Depth | real | 1 | 7";
    QTest::newRow("typed into a spinner: no number") << "type Depth 1e;get Depth" << "> type Depth 1e\n> get Depth";
    QTest::newRow("keys into a spinner, Tab") << "keys Depth 5;tab;get Depth" << "Depth | real | 1 | 50";
    QTest::newRow("keys into a spinner, focus elsewhere") << "keys Tool_Number 3;focus Depth;get Tool_Number" << "Tool_Number | integer | 1 | 43";
    QTest::newRow("keys into a real field: a comma its point, bytes of no character not taken") << "keys Stock_Allowance \",\\xFF\\xCA\\xC5\";check;keys Stock_Allowance 7x;tab;get Stock_Allowance" << "Stock_Allowance | real | 1 | 0.7";
    QTest::newRow("keys into a real field: a control character not taken") << "keys Stock_Allowance \"0\\t.5\";tab;get Stock_Allowance" << "Stock_Allowance | real | 1 | 0.5";
    QTest::newRow("typed into a real field: a digit of another script not taken") << "type Stock_Allowance \"1\\xD9\\xA3,5\";get Stock_Allowance" << "Stock_Allowance | real | 1 | 1.5";
    QTest::newRow("typed into a real field: a comma its point") << "type Stock_Allowance 3,25;get Stock_Allowance" << "Stock_Allowance | real | 1 | 3.25";
    QTest::newRow("typed into a real field: no key taken, the text kept") << "type Stock_Allowance 2;type Stock_Allowance q;get Stock_Allowance" << "Stock_Allowance | real | 1 | 2";
    QTest::newRow("show marks what an impact greys") << "select Strategy Contour;show" << "Direction \"Cut direction\" group 1 (insensitive)";
    QTest::newRow("rebuilt from a notification of an undo") << "drop Direction;click Coolant;on-notify Coolant rebuild;undo" << "rebuilt: 19 attributes";
    // clang-format on
}

void KesQtPanelViewTest::handsTakeTheDriversWords() {
    QFETCH(QString, lines);
    QFETCH(QString, shown);
    const auto run = [&](Pocketing& panel, KesQtHands* hands) {
        Recorder& frame = panel.frame;
        std::ostringstream out, err;
        KesPanelDriver driver(frame, out, err);
        driver.SetRebuild([&] {
            panel.panel.reset(); // its attributes are deleted already
            panel.panel = std::make_unique<KesPocketingPanel>(frame);
        });
        if (hands != nullptr) {
            driver.SetHands(hands);
            driver.SetExtraCheck([hands] { return hands->CheckMirrors(); });
        }
        for (const QString& line : (lines + ";check").split(';')) {
            driver.Run(line.toStdString(), 1);
        }
        return QString::fromStdString(out.str() + err.str());
    };
    const QString headless = run(*std::make_unique<Pocketing>(), nullptr); // gone before the window
    Shown s;
    KesQtHands hands(s.view, s.frame);
    const QString window = run(s, &hands);
    QVERIFY2(headless.contains(shown), qPrintable(headless));
    QVERIFY2(headless.endsWith("> check\n  every check holds\n"), qPrintable(headless));
    QCOMPARE(window, headless);
}

// A focused field whose widget goes (as when a notification rebuilds the panel), the window
// active or not: the focus is then on a live mirror or on nothing, already before Qt deletes
// the field's mirror, also where nothing else in the window takes the focus.
void KesQtPanelViewTest::focusNeverStaysOnAGoneMirror_data() {
    QTest::addColumn<bool>("otherWindowActive");
    QTest::addColumn<bool>("topTakesFocus");
    QTest::newRow("the window active") << false << true;
    QTest::newRow("another window active, then the panel's again") << true << true;
    QTest::newRow("nothing else in the window takes the focus") << false << false;
}

void KesQtPanelViewTest::focusNeverStaysOnAGoneMirror() {
    QFETCH(bool, otherWindowActive);
    QFETCH(bool, topTakesFocus);
    Bare bare;
    QWidget* top = bare.view.Widget();
    if (!topTakesFocus) {
        top->setFocusPolicy(Qt::NoFocus);
        for (QWidget* under : top->findChildren<QWidget*>()) {
            if (under != bare.view.Find(*bare.editor)) {
                under->setFocusPolicy(Qt::NoFocus);
            }
        }
    }
    top->show();
    QVERIFY(QTest::qWaitForWindowExposed(top));
    QApplication::setActiveWindow(top);
    QWidget* field = bare.view.Find(*bare.editor);
    field->setFocus(Qt::OtherFocusReason);
    QCOMPARE(QApplication::focusWidget(), field);
    QWidget other;
    if (otherWindowActive) {
        other.show();
        QApplication::setActiveWindow(&other);
    }
    const KesQtHands hands(bare.view, bare.frame);
    delete bare.editor;
    QApplication::setActiveWindow(top);
    QCOMPARE(QString::fromStdString(hands.CheckMirrors().invariant), QString());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(QString::fromStdString(hands.CheckMirrors().invariant), QString());
}

QTEST_MAIN(KesQtPanelViewTest)
#include "KesQtPanelViewTest.moc"
