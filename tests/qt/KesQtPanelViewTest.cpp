// The Qt view of a panel, driven as a person drives a window: Qt gestures against the same
// user actions headless, the toolkit's state shown in Qt, keyboard and screen-reader names,
// refusals, the bundled pocketing session replayed through Qt, and lifetimes.
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

// ---------------------------------------------------------------------------------------------
// Gestures of a person
// ---------------------------------------------------------------------------------------------
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

// A click on a button's box (the middle of a stretched check box may be empty space).
void Click(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

void ClickRow(QWidget* widget, int row, Qt::KeyboardModifiers modifiers = {}) {
    auto* list = qobject_cast<QListWidget*>(widget);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualItemRect(list->item(row)).center());
}

// The list opened, a line clicked (a person cannot open a disabled combo).
void PickLine(QComboBox* combo, int row) {
    if (combo->isEnabled()) {
        combo->showPopup();
        QAbstractItemView* lines = combo->view();
        QVERIFY(QTest::qWaitForWindowExposed(lines->window()));
        QTest::mouseClick(lines->viewport(), Qt::LeftButton, {},
                          lines->visualRect(lines->model()->index(row, 0)).center());
    }
}

// The secondary click on the widget that holds the item's menu, then a click on the item.
void MenuItem(QAction* item) {
    auto* menu = qobject_cast<QMenu*>(item->parent());
    QWidget* holder = menu->parentWidget();
    QContextMenuEvent event(QContextMenuEvent::Mouse, {4, 4}, holder->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(holder, &event);
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
}

void PressOk(QWidget* dialog) {
    QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                      Qt::LeftButton);
}

// A line of a session, split: verb, attribute, field (NAME[i]) and the rest, unquoted.
struct Line {
    explicit Line(const std::string& line) {
        std::istringstream words(line);
        std::string rest;
        words >> verb >> name;
        std::getline(words, rest);
        text = QString::fromStdString(rest).trimmed();
        if (text.size() >= 2 && text.startsWith('"') && text.endsWith('"')) {
            text = text.mid(1, text.size() - 2);
        }
        if (const size_t open = name.find('['); open != std::string::npos) {
            field = std::stoi(name.substr(open + 1));
            name.resize(open);
        }
    }
    std::string verb, name;
    QString text;
    int field = 0;
};

// One line done as a person does it in the window. Besides the driver's commands: leave
// (type, then Tab), return (Return in an untouched field), arrow/key/wheel N (spinner steps),
// page (a click under the scroll box), drag (the scroll box to the end), ctrl-select LINE,
// menu ITEM, close DIALOG. The caller's own commands (output, values, model) go to the driver.
void Gesture(Shown& s, const std::string& text) {
    const Line line(text);
    const std::string& name = line.name;
    const auto spinner = [&] { return s.Qt(name, "spinneratt", line.field); };
    const auto inDialog = [&](const char* item, const char* dialog, const char* editor) {
        MenuItem(s.view.FindAction(*s(name, item)));
        if (QWidget* window = s.Qt(name, dialog); window != nullptr && window->isVisible()) {
            Type(s.Qt(name, editor), line.text, Qt::Key_Enter); // commits, and OK
        }
    };
    auto* list = qobject_cast<QListWidget*>(s.Qt(name, "SelList"));
    const int listRow =
        list ? list->row(list->findItems(line.text, Qt::MatchExactly).value(0)) : -1;
    const int steps = line.text.toInt();
    if (line.verb == "spin") {
        Type(spinner(), line.text);
    } else if (line.verb == "type" || line.verb == "bind") {
        QWidget* editor = s.Qt(name, "editoratt", line.field);
        Type(editor != nullptr ? editor : s.Qt(name, "comboatt"), line.text);
    } else if (line.verb == "leave") { // typed, then Tab to the next field
        QWidget* editor = s.Qt(name, "editoratt", line.field);
        editor->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(editor->window()));
        editor->setFocus();
        Type(editor, line.text, Qt::Key_Tab);
    } else if (line.verb == "return") {
        QTest::keyClick(s.Qt(name, "editoratt", line.field), Qt::Key_Return);
    } else if (line.verb == "arrow" || line.verb == "key") {
        for (int i = 0; i < std::abs(steps); ++i) {
            QWidget* box = spinner();
            if (line.verb == "key") {
                QTest::keyClick(box, steps > 0 ? Qt::Key_Up : Qt::Key_Down);
            } else {
                const QPoint at(box->width() - 6, steps > 0 ? 4 : box->height() - 4);
                QTest::mouseClick(box, Qt::LeftButton, {}, at);
            }
        }
    } else if (line.verb == "wheel") {
        QWidget* box = spinner();
        const QPointF at(box->width() / 2.0, box->height() / 2.0);
        QWheelEvent wheel(at, box->mapToGlobal(at), {}, QPoint(0, 120 * steps), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(box, &wheel);
    } else if (line.verb == "select" && s(name, "comboatt") != nullptr) {
        auto* combo = qobject_cast<QComboBox*>(s.Qt(name, "comboatt"));
        const bool byRow = line.text.startsWith('#');
        PickLine(combo, byRow ? line.text.mid(1).toInt() - 1 : combo->findText(line.text));
    } else if (line.verb == "select" && list != nullptr && line.text == "-") {
        // A click under the lines clears the selection.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          QPoint(4, list->viewport()->height() - 2));
    } else if (line.verb == "select" && list != nullptr) {
        Qt::KeyboardModifiers modifiers;
        for (const QString& item : line.text.split(',')) {
            ClickRow(list, list->row(list->findItems(item.trimmed(), Qt::MatchExactly)[0]),
                     modifiers);
            modifiers = Qt::ControlModifier;
        }
    } else if (line.verb == "ctrl-select") {
        ClickRow(list, listRow, Qt::ControlModifier);
    } else if (line.verb == "select") { // radio buttons, by their title
        for (auto* radio :
             s.view.Find(*s.driver.FindAttribute(name))->findChildren<QRadioButton*>()) {
            if (radio->text() == line.text) {
                Click(radio);
            }
        }
    } else if (line.verb == "click") {
        Click(s.Qt(name, "chkbtnatt", line.field));
    } else if (line.verb == "option") {
        if (As<KesDlgCheckButton>(s(name, "OptionCheck")).IsOn() != (line.text == "on")) {
            Click(s.Qt(name, "OptionCheck"));
        }
    } else if (line.verb == "add" || line.verb == "remove" || line.verb == "menu") {
        const QString item = line.verb == "menu"  ? line.text
                             : line.verb == "add" ? "Add"
                                                  : "Remove";
        MenuItem(s.view.FindAction(*s(name, item.toUtf8())));
    } else if (line.verb == "scroll") {
        auto* bar = qobject_cast<QScrollBar*>(s.Qt(name, "Scrol"));
        for (int guard = 0; guard < 100 && bar->value() != steps; ++guard) {
            QTest::keyClick(bar, bar->value() < steps ? Qt::Key_Down : Qt::Key_Up);
        }
    } else if (line.verb == "drag") { // the box pulled down to the end of its track
        auto* bar = qobject_cast<QScrollBar*>(s.Qt(name, "Scrol"));
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = Qt::Vertical;
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = option.sliderValue = bar->value();
        option.pageStep = bar->pageStep();
        const QPoint box =
            bar->style()
                ->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar)
                .center();
        QTest::mousePress(bar, Qt::LeftButton, {}, box);
        QTest::mouseMove(bar, QPoint(box.x(), bar->height()));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(box.x(), bar->height()));
    } else if (line.verb == "page") {
        QWidget* bar = s.Qt(name, "Scrol");
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 20));
    } else if (line.verb == "drop") {
        auto* combo = qobject_cast<QComboBox*>(s.Qt(name, "comboatt"));
        combo->showPopup();
        combo->hidePopup();
    } else if (line.verb == "create") {
        inDialog("createpar", "CreateParameter", "ParameterName");
    } else if (line.verb == "step") {
        inDialog("defstep", "StepEditorDlg", "StepEditor");
    } else if (line.verb == "close") {
        s.Qt(name, line.text.toUtf8())->close();
    } else if (line.verb == "press") {
        QTest::mouseClick(s.Qt(name, "pb"), Qt::LeftButton);
    } else if (line.verb != "svg") {
        QCOMPARE(s.driver.Run(text, 1), KesPanelDriver::Status::Done);
    }
}

// The same line done headless: the driver's commands, with the list a person opens before
// picking a line of a combo, and the user actions the driver has no command for.
void Headless(Pocketing& p, const std::string& text) {
    const Line line(text);
    const int steps = line.text.toInt();
    if (line.verb == "select" && p(line.name, "comboatt") != nullptr) {
        As<KesDlgCombo>(p(line.name, "comboatt")).UserDrop();
    }
    if (line.verb == "arrow" || line.verb == "key" || line.verb == "wheel") {
        auto& spinner = As<KesDlgSpinner>(p(line.name, "spinneratt", line.field));
        for (int i = 0; i < (line.verb == "wheel" ? 1 : std::abs(steps)); ++i) {
            spinner.UserStep(line.verb == "wheel" ? steps : steps > 0 ? 1 : -1);
        }
    } else if (line.verb == "drag") {
        auto& bar = As<KesDlgScrollBar>(p(line.name, "Scrol"));
        bar.UserDrag(bar.GetScrollLastPos());
        bar.UserScroll(bar.GetScrollLastPos());
    } else if (line.verb == "page") {
        auto& bar = As<KesDlgScrollBar>(p(line.name, "Scrol"));
        bar.UserScroll(bar.GetScrollPos() + bar.GetScrollBoxSize());
    } else if (line.verb == "ctrl-select") {
        auto& list = As<KesDlgSelectorList>(p(line.name, "SelList"));
        std::vector<int> rows = list.GetSelectedRows();
        for (int row = 0; row < list.GetLineCount(); ++row) {
            if (list.GetLine(row) == line.text.toStdString().c_str()) {
                rows.insert(std::upper_bound(rows.begin(), rows.end(), row), row);
            }
        }
        list.UserSelect(rows.data(), int(rows.size()));
    } else if (line.verb == "menu") {
        As<KesDlgPushItem>(p(line.name, line.text.toUtf8())).UserActivate();
    } else if (line.verb == "close") {
        As<KesDlgDialog>(p(line.name, line.text.toUtf8())).UserCancel();
    } else if (line.verb == "leave") {
        QCOMPARE(p.driver.Run("type" + text.substr(5), 1), KesPanelDriver::Status::Done);
    } else if (line.verb != "return") {
        QCOMPARE(p.driver.Run(text, 1), KesPanelDriver::Status::Done);
    }
}

// ---------------------------------------------------------------------------------------------
// What Qt shows against what the toolkit holds
// ---------------------------------------------------------------------------------------------
QString Value(QWidget* qt) {
    if (auto* box = qobject_cast<QAbstractSpinBox*>(qt)) {
        return box->text();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(qt)) {
        return edit->text();
    }
    if (auto* combo = qobject_cast<QComboBox*>(qt)) {
        return QString::number(combo->currentIndex()) + "|" + combo->currentText();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(qt); button && button->isCheckable()) {
        return QString::number(button->isChecked());
    }
    if (auto* bar = qobject_cast<QScrollBar*>(qt)) {
        return QString("%1 %2 %3").arg(bar->minimum()).arg(bar->maximum()).arg(bar->value());
    }
    if (auto* box = qobject_cast<QBoxLayout*>(qt->layout()); box && !qt->isWindow()) {
        return box->direction() == QBoxLayout::LeftToRight ? "row" : "column";
    }
    QStringList rows;
    if (auto* list = qobject_cast<QListWidget*>(qt)) {
        for (int row = 0; row < list->count(); ++row) {
            rows << (list->item(row)->isSelected() ? "+" : "-") + list->item(row)->text();
        }
    }
    return rows.join(' ');
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

// Sensitive, with every ancestor up to its dialog window.
bool Sensitive(const KesDialog& widget) {
    for (const KesDialog* up = &widget; up != nullptr; up = up->GetParent()) {
        if (!up->IsSetSensitivity()) {
            return false;
        }
        if (up->GetKind() == KesDlgKind::Dialog) {
            break;
        }
    }
    return true;
}

// One line per widget under `root` whose Qt widget shows another value, sensitivity or
// visibility than the toolkit's: empty when the view is in step.
QString Differences(const KesQtPanelView& view, const KesDialog& root) {
    QString out;
    for (int i = 0; i < root.GetChildCount(); ++i) {
        const KesDialog& child = *root.GetChildFromChildNumber(i);
        out += Differences(view, child);
        QWidget* qt = view.Find(child);
        if (qt == nullptr || child.GetKind() == KesDlgKind::ContextualMenu) {
            continue;
        }
        const QString shown =
            QString("%1 %2 %3").arg(Value(qt)).arg(qt->isEnabled()).arg(qt->isHidden());
        const QString expected = QString("%1 %2 %3")
                                     .arg(Expected(child))
                                     .arg(Sensitive(child))
                                     .arg(child.GetVisibility() != kes::kShown);
        if (shown != expected) {
            out += QString::fromStdString(child.GetName().Str()) + ": " + shown +
                   " != " + expected + "\n";
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
    // Every test runs under a locale with a decimal comma: numbers must still show, and be
    // typed, as the toolkit writes them.
    // A person on a system with a decimal comma: Qt's locale and, where the system has the
    // locale (.ci/run makes it), the C library's numeric locale both write "2,5".
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::German));
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    }
    void gestureActsAsHeadless_data();
    void gestureActsAsHeadless();
    void toolkitShowsInQt_data();
    void toolkitShowsInQt();
    void tabFollowsPanelOrder();
    void cascadeDisablesAtOnce();
    void pocketingSessionThroughQt();
    void lifetimes_data();
    void lifetimes();
};

// Each row: gestures on the window (';' between them), against the same lines done headless
// on a second, identical panel.
void KesQtPanelViewTest::gestureActsAsHeadless_data() {
    QTest::addColumn<QString>("lines");
    // clang-format off
    QTest::newRow("editor: Return commits once") << "type Comment Walls last";
    QTest::newRow("editor: focus leaves, commits once") << "leave Comment Walls last";
    QTest::newRow("editor: Return with nothing typed") << "return Comment";
    QTest::newRow("list editor field") << "type Pass_Names[3] finish walls";
    QTest::newRow("spinner: typed above the maximum") << "spin Depth 75";
    QTest::newRow("integer spinner: typed real") << "spin Tool_Number 12.7";
    QTest::newRow("spinner: arrow clicked twice") << "arrow Depth 2";
    QTest::newRow("spinner: key down") << "key Stepover -1";
    QTest::newRow("list spinner: wheel of two notches") << "wheel Pass_Counts[1] 2";
    QTest::newRow("combo: list opened, line picked") << "select Direction Conventional";
    QTest::newRow("combo: list opened and closed") << "drop Feed_Rate";
    QTest::newRow("editable combo: typed") << "bind Feed_Rate \" feed_rough \"";
    QTest::newRow("editable combo: typed one of its lines") << "drop Feed_Rate;bind Feed_Rate FEED_FINISH";
    QTest::newRow("radio: another one") << "select Strategy Contour";
    QTest::newRow("radio: the one already on") << "select Strategy Zig-zag";
    QTest::newRow("check button") << "click Coolant";
    QTest::newRow("option check") << "option Coolant_Pressure off";
    QTest::newRow("list check field") << "click Pass_Switches[2]";
    QTest::newRow("push button") << "press Approach_Retract";
    QTest::newRow("context menu item") << "add Pass_Depths;remove Pass_Depths";
    QTest::newRow("scroll bar: key step") << "scroll Pass_Counts 1";
    QTest::newRow("scroll bar: page click") << "page Pass_Counts";
    QTest::newRow("scroll bar: box dragged, let go") << "drag Pass_Counts";
    QTest::newRow("selector list: row clicked") << "select Allowed_Cycles Dwell";
    QTest::newRow("selector list: row added with Ctrl") << "ctrl-select Allowed_Cycles Dwell";
    QTest::newRow("dialog: typed, Return is OK") << "step Feed_Rate 25";
    QTest::newRow("dialog: window closed is Cancel") << "menu Feed_Rate defstep;close Feed_Rate StepEditorDlg";
    QTest::newRow("insensitive spinner refuses") << "select Strategy Contour;spin Stepover 60;arrow Stepover 1";
    // clang-format on
}

void KesQtPanelViewTest::gestureActsAsHeadless() {
    QFETCH(QString, lines);
    QString expected;
    {
        Pocketing headless;
        for (const QString& line : lines.split(';')) {
            Headless(headless, line.toStdString());
        }
        expected = Transcript(headless.frame);
    }
    Shown shown;
    for (const QString& line : lines.split(';')) {
        Gesture(shown, line.toStdString());
    }
    QCOMPARE(Transcript(shown.frame), expected);
    QCOMPARE(Differences(shown.view, shown.frame), QString());
}

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

using Change = std::function<void(Bare&)>;
Q_DECLARE_METATYPE(Change)

void KesQtPanelViewTest::toolkitShowsInQt_data() {
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("properties");
    QTest::addColumn<QString>("shown");
    // clang-format off
    QTest::newRow("label title, never markup") << Change([](Bare& b) { b.label->SetTitle("<b>Depth</b>"); })
        << "label" << "text textFormat" << "<b>Depth</b> PlainText";
    QTest::newRow("value named by its label") << Change([](Bare& b) { b.label->SetTitle("Depth (mm)"); })
        << "real" << "accessibleName" << "Depth (mm)";
    QTest::newRow("help texts") << Change([](Bare& b) { b.editor->SetShortHelp("short"); b.editor->SetHelp("long"); })
        << "editor" << "toolTip statusTip whatsThis" << "short long long";
    QTest::newRow("editor text cut to its width") << Change([](Bare& b) { b.editor->SetText("abcdef"); b.editor->SetMaxCharacterWidth(4); })
        << "editor" << "text maxLength" << "abcd 4";
    QTest::newRow("real spinner") << Change([](Bare& b) { b.real->SetMinMaxStep(0, 10, 0.5); b.real->SetFormat("%12.7f"); b.real->SetValue(2.5, 0); })
        << "real" << "minimum maximum singleStep decimals text" << "0 10 0.5 7 2.5000000";
    QTest::newRow("new range clamps the value") << Change([](Bare& b) { b.real->SetValue(8, 0); b.real->SetMinMaxStep(0, 5, 1); })
        << "real" << "maximum text" << "5 5";
    QTest::newRow("typed with a point") << Change([](Bare& b) { b.real->SetFormat("%.2f"); Type(b.view.Find(*b.real), "7.25"); })
        << "real" << "text" << "7.25";
    QTest::newRow("display format wins") << Change([](Bare& b) { b.real->SetDisplayFormat("%.2f"); b.real->SetValue(1.5, 0); })
        << "real" << "decimals text" << "2 1.50";
    QTest::newRow("integer spinner") << Change([](Bare& b) { b.whole->SetMinMaxStep(1, 99, 1); b.whole->SetValue(120, 0); })
        << "whole" << "minimum maximum text" << "1 99 99";
    QTest::newRow("combo lines, selection") << Change([](Bare& b) { b.fixed->SetLine("Climb", -1, 0); b.fixed->SetLine("Conventional", -1, 0); b.fixed->SetSelect(1, 0); })
        << "fixed" << "count value" << "2 1|Conventional";
    QTest::newRow("combo lines cleared") << Change([](Bare& b) { b.fixed->SetLine("Climb", -1, 0); b.fixed->SetSelect(0, 0); b.fixed->ClearLine(); })
        << "fixed" << "count value" << "0 -1|";
    QTest::newRow("editable combo field") << Change([](Bare& b) { b.combo->SetLine("none", -1, 0); b.combo->SetSelect(0, 0); b.combo->SetField("FEED_HSM"); })
        << "combo" << "value" << "0|FEED_HSM";
    QTest::newRow("check state") << Change([](Bare& b) { b.check->SetState(kes::kOn, 0); })
        << "check" << "checked" << "true";
    QTest::newRow("radio off by a sibling") << Change([](Bare& b) { b.first->SetState(kes::kOn, 0); b.second->SetState(kes::kOn, 0); })
        << "first" << "checked autoExclusive" << "false false";
    QTest::newRow("push title keeps its &") << Change([](Bare& b) { b.push->SetTitle("Save & close"); })
        << "push" << "text" << "Save && close";
    QTest::newRow("push icon name, no such icon") << Change([](Bare& b) { b.push->SetIconName("kes-no-such-icon"); })
        << "push" << "text" << "kes-no-such-icon";
    QTest::newRow("scroll bar") << Change([](Bare& b) { b.bar->SetScrollRange(0, 10); b.bar->SetScrollBoxSize(3); b.bar->SetScrollPos(9, 0); })
        << "bar" << "value pageStep" << "0 7 7 3";
    QTest::newRow("selector list") << Change([](Bare& b) { for (const char* l : {"Drill", "Dwell", "Peck"}) b.list->SetLine(l, -1, 0); const int rows[] = {0, 2}; b.list->SetSelect(rows, 2, 0); })
        << "list" << "value" << "+Drill -Dwell +Peck";
    QTest::newRow("insensitive frame") << Change([](Bare& b) { b.row->SetSensitivity(kes::kInsensitive); })
        << "editor" << "enabled" << "false";
    QTest::newRow("hidden") << Change([](Bare& b) { b.editor->SetVisibility(kes::kHidden); })
        << "editor" << "visible" << "false";
    QTest::newRow("orientation") << Change([](Bare& b) { b.row->SetDefaultOrientation(1); })
        << "row" << "value" << "row";
    QTest::newRow("dialog shown, titled") << Change([](Bare& b) { b.dialog->SetTitle("Step"); b.dialog->SetVisibility(kes::kShown); })
        << "dialog" << "windowTitle visible" << "Step true";
    QTest::newRow("dialog titled by its owner's label") << Change([](Bare& b) { b.label->SetTitle("Depth"); (new KesDlgDialog(b.row, "asks"))->SetVisibility(kes::kShown); })
        << "asks" << "windowTitle" << "Depth";
    QTest::newRow("created later") << Change([](Bare& b) { (new KesDlgEditor(b.row, "late"))->SetText("x"); })
        << "late" << "text" << "x";
    QTest::newRow("destroyed") << Change([](Bare& b) { delete b.check; })
        << "check" << "text" << "none";
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
// Keyboard and screen readers
// ---------------------------------------------------------------------------------------------
void KesQtPanelViewTest::tabFollowsPanelOrder() {
    Shown shown;
    QStringList labels;
    for (KesMfgAttribute* attribute : AttributesOf(shown.frame)) {
        labels << QString::fromStdString(attribute->GetLabel().Str());
    }
    shown.view.Widget()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(shown.view.Widget()));
    shown.Qt("Strategy", "rbZIGZAG")->setFocus();
    // Once round the panel: the attributes announced, each after the one before it.
    QList<int> order{0};
    for (int i = 0; i < 80 && order.size() < labels.size() + 1; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        const int at =
            labels.indexOf(focus->accessibleName().isEmpty() ? focus->accessibleDescription()
                                                             : focus->accessibleName());
        if (at >= 0 && at != order.last()) {
            order << at;
        }
        if (at == 0 && order.size() > 1) {
            break;
        }
    }
    QVERIFY(order.size() >= labels.size() - 1); // all but the read-only one
    QVERIFY(std::is_sorted(order.begin(), order.end() - 1) && order.last() == 0);
    // Tab follows the row as shown: the option check, then its value.
    shown.Qt("Coolant_Pressure", "OptionCheck")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), shown.Qt("Coolant_Pressure", "spinneratt"));
    // Tab follows widgets placed out of their creation order by an attachment.
    Bare bare;
    bare.row->SetHorizontalAttachment(1, 1, {bare.whole, bare.editor, nullptr});
    bare.view.Widget()->show();
    bare.view.Find(*bare.whole)->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(bare.view.Widget()));
    bare.view.Find(*bare.whole)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), bare.view.Find(*bare.real)); // label, whole, real, editor
    // Value widgets are named by their attribute's label; a titled button by its title.
    const struct {
        const char* attribute;
        const char* widget;
        int field;
        const char* name;
    } names[] = {{"Direction", "comboatt", 0, "Cut direction"},
                 {"Coolant_Pressure", "OptionCheck", 0, "Coolant pressure (bar)"},
                 {"Pass_Depths", "spinneratt", 2, "Pass depths (mm)"},
                 {"Pass_Depths", "Scrol", 0, "Pass depths (mm)"},
                 {"Allowed_Cycles", "SelList", 0, "Allowed cycles"},
                 {"Strategy", "rbSPIRAL", 0, ""}};
    for (const auto& row : names) {
        QCOMPARE(shown.Qt(row.attribute, row.widget, row.field)->accessibleName(),
                 QString(row.name));
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
// The bundled session, replayed through Qt gestures, ends with the headless run's records
// ---------------------------------------------------------------------------------------------
void KesQtPanelViewTest::pocketingSessionThroughQt() {
    std::vector<std::string> session;
    std::ifstream file(KES_SOURCE_DIR "/examples/sessions/pocketing.kes");
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line[0] != '#' && line.rfind("svg", 0) != 0) {
            session.push_back(line);
        }
    }
    QVERIFY(session.size() > 30);
    QString expected;
    {
        Pocketing headless;
        for (const std::string& line : session) {
            QCOMPARE(headless.driver.Run(line, 1), KesPanelDriver::Status::Done);
        }
        expected = Transcript(headless.frame);
    }
    Shown shown;
    for (const std::string& line : session) {
        Gesture(shown, line);
        QVERIFY2(Differences(shown.view, shown.frame).isEmpty(), line.c_str());
    }
    const QString replayed = Transcript(shown.frame);
    QCOMPARE(replayed.mid(replayed.indexOf("Strategy |")),
             expected.mid(expected.indexOf("Strategy |")));
}

// ---------------------------------------------------------------------------------------------
// Lifetimes (run under AddressSanitizer too)
// ---------------------------------------------------------------------------------------------
void KesQtPanelViewTest::lifetimes_data() {
    QTest::addColumn<int>("scenario");
    QTest::newRow("attribute deleted while shown") << 0;
    QTest::newRow("dialog deleted by its own OK") << 1;
    QTest::newRow("panel deleted before the view") << 2; // the view first: every other row
    QTest::newRow("top widget deleted by the caller's Qt parent") << 3;
    QTest::newRow("two views of two panels") << 4;
    QTest::newRow("a push deletes its own button") << 5;
}

void KesQtPanelViewTest::lifetimes() {
    QFETCH(int, scenario);
    auto shown = std::make_unique<Shown>();
    Shown& s = *shown;
    const auto deleted = [](QPointer<QWidget> qt) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return qt.isNull();
    };
    switch (scenario) {
    case 0: {
        QPointer<QWidget> depth = s.Qt("Depth", "spinneratt");
        delete s("Depth", "spinneratt")->GetParent();
        QVERIFY(deleted(depth));
        break;
    }
    case 1: {
        Gesture(s, "menu Feed_Rate defstep");
        QPointer<QWidget> dialog = s.Qt("Feed_Rate", "StepEditorDlg");
        QVERIFY(dialog != nullptr && dialog->isVisible());
        PressOk(dialog);
        QVERIFY(deleted(dialog));
        break;
    }
    case 2: {
        auto frame = std::make_unique<KesDlgTestFrame>();
        KesPocketingPanel panel(*frame);
        auto view = std::make_unique<KesQtPanelView>(*frame);
        QPointer<QWidget> top = view->Widget();
        QPointer<QWidget> depth = view->Find(*Part(*frame, "Depth", "spinneratt"));
        frame.reset();
        QVERIFY(deleted(depth));
        KesDlgTestFrame later; // widgets where the old panel was are none of the view's
        new KesDlgEditor(&later, "after");
        view.reset();
        QVERIFY(top.isNull());
        break;
    }
    case 3: {
        auto* window = new QWidget;
        s.view.Widget()->setParent(window);
        delete window;
        QVERIFY(s.view.Widget() == nullptr);
        As<KesDlgSpinner>(s("Depth", "spinneratt")).SetValue(7, 0);
        delete new KesDlgEditor(s.frame.FindDescendant("Comment"), "after");
        break;
    }
    case 4: {
        Bare other;
        other.editor->SetText("other");
        QVERIFY(s.view.Find(*other.editor) == nullptr);
        Gesture(s, "type Comment mine");
        QCOMPARE(Differences(other.view, other.frame), QString());
        break;
    }
    case 5: {
        auto* button = new KesDlgPushButton(&s.frame, "doomed");
        static KesDlgNotification pressed("KesDlgPushBActivateNotification");
        s.frame.AddCallback(button, &pressed,
                            [button](KesCommand*, KesNotification*, void**) { delete button; });
        QPointer<QWidget> qt = s.view.Find(*button);
        QTest::mouseClick(qt, Qt::LeftButton);
        QVERIFY(deleted(qt));
        break;
    }
    }
    QCOMPARE(Differences(s.view, s.frame), QString());
    shown.reset();
}

QTEST_MAIN(KesQtPanelViewTest)
#include "KesQtPanelViewTest.moc"
