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

#include <fstream>
#include <functional>
#include <sstream>

namespace {

// ---------------------------------------------------------------------------------------------
// Panels and what a caller sees of them
// ---------------------------------------------------------------------------------------------
std::vector<KesMfgAttribute*> AttributesOf(KesDlgTestFrame& frame) {
    std::ostringstream out, err;
    return KesPanelDriver(frame, out, err).Attributes();
}

// The notifications the frame received since the last call, then every value record.
std::string Transcript(KesDlgTestFrame& frame) {
    std::ostringstream out;
    for (const KesDlgTestFrame::Received& received : frame.GetReceived()) {
        out << received.className << " from " << received.senderName << "\n";
    }
    frame.Clear();
    KesMfgValueRecords records;
    for (KesMfgAttribute* attribute : AttributesOf(frame)) {
        records.GetAttValue(*attribute);
    }
    return out.str() + records.FormatTable();
}

// Widget `id` of an attribute, dialogs included; field > 0: the field-th such widget.
KesDialog* Part(KesDlgTestFrame& frame, const char* attribute, const char* id, int field = 0) {
    std::ostringstream out, err;
    KesDialog* found = KesPanelDriver(frame, out, err).FindAttribute(attribute);
    std::function<void(KesDialog*)> walk = [&](KesDialog* widget) {
        for (int i = 0; i < widget->GetChildCount(); ++i) {
            KesDialog* child = widget->GetChildFromChildNumber(i);
            if (child->GetName() == id && --field <= 0) {
                found = child;
                field = -1000;
                return;
            }
            walk(child);
        }
    };
    KesDialog* attributeFrame = found;
    found = nullptr;
    if (attributeFrame != nullptr) {
        walk(attributeFrame);
    }
    return found;
}

// A fresh pocketing panel (the model and stored steps start over with each).
struct Pocketing {
    Pocketing() {
        static int count = 0;
        qputenv("KES_SETTINGS_DIR", (settings.path() + "/" + QString::number(++count)).toUtf8());
        panel = std::make_unique<KesPocketingPanel>(frame);
        frame.Clear();
    }
    KesDialog* operator()(const char* attribute, const char* id, int field = 0) {
        return Part(frame, attribute, id, field);
    }
    QTemporaryDir settings;
    KesDlgTestFrame frame;
    std::unique_ptr<KesPocketingPanel> panel;
};

// A pocketing panel shown in a window.
struct Shown : Pocketing {
    Shown() {
        view.Widget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.Widget()));
    }
    QWidget* Qt(const char* attribute, const char* id, int field = 0) {
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

void PickLine(QWidget* widget, int row) {
    auto* combo = qobject_cast<QComboBox*>(widget);
    if (!combo->isEnabled()) {
        return;
    }
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    QVERIFY(QTest::qWaitForWindowExposed(list->window()));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(row, 0)).center());
}

// The secondary click on the widget that holds the item's menu, then a click on the item.
void MenuItem(QAction* item) {
    auto* menu = qobject_cast<QMenu*>(item->parent());
    QWidget* holder = menu->parentWidget();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(4, 4),
                            holder->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(holder, &event);
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
}

void Wheel(QWidget* widget, int notches) {
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

void ClickRow(QWidget* widget, int row, Qt::KeyboardModifiers modifiers = {}) {
    auto* list = qobject_cast<QListWidget*>(widget);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualItemRect(list->item(row)).center());
}

void PressOk(QWidget* dialog) {
    QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                      Qt::LeftButton);
}

// ---------------------------------------------------------------------------------------------
// The toolkit's state against what Qt shows, for every widget of a panel
// ---------------------------------------------------------------------------------------------
QString Shows(QWidget* qt) {
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
    if (auto* list = qobject_cast<QListWidget*>(qt)) {
        QStringList rows;
        for (int row = 0; row < list->count(); ++row) {
            rows << (list->item(row)->isSelected() ? "+" : "-") + list->item(row)->text();
        }
        return rows.join(' ');
    }
    return {};
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

QString Expected(const KesDialog& widget) {
    const auto text = [](const KesUnicodeString& t) { return QString::fromStdString(t.Str()); };
    switch (widget.GetKind()) {
    case KesDlgKind::Spinner:
        return text(static_cast<const KesDlgSpinner&>(widget).GetText()).trimmed();
    case KesDlgKind::Editor:
        return text(static_cast<const KesDlgEditor&>(widget).GetText());
    case KesDlgKind::Combo: {
        const auto& combo = static_cast<const KesDlgCombo&>(widget);
        return QString::number(combo.GetSelect()) + "|" +
               (combo.IsEditable() || combo.GetSelect() >= 0 ? text(combo.GetField()) : "");
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

// Every widget under `root` as Qt shows it and as the toolkit holds it: one line per widget
// that differs, empty when the view is in step.
QString Differences(const KesQtPanelView& view, const KesDialog& root) {
    QString out;
    for (int i = 0; i < root.GetChildCount(); ++i) {
        const KesDialog& child = *root.GetChildFromChildNumber(i);
        out += Differences(view, child);
        QWidget* qt = view.Find(child);
        if (qt == nullptr || child.GetKind() == KesDlgKind::ContextualMenu) {
            continue;
        }
        const QString shown = QString("%1 %2 %3")
                                  .arg(Shows(qt))
                                  .arg(qt->isEnabled() == Sensitive(child))
                                  .arg(qt->isHidden() == (child.GetVisibility() != kes::kShown));
        const QString expected = QString("%1 1 1").arg(Expected(child));
        if (shown != expected) {
            out += QString::fromStdString(child.GetName().Str()) + ": " + shown +
                   " != " + expected + "\n";
        }
    }
    return out;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The tests
// ---------------------------------------------------------------------------------------------
class KesQtPanelViewTest : public QObject {
    Q_OBJECT

private slots:
    void gestureActsAsHeadless_data();
    void gestureActsAsHeadless();
    void toolkitShowsInQt_data();
    void toolkitShowsInQt();
    void tabFollowsPanelOrder();
    void accessibleNames_data();
    void accessibleNames();
    void decimalCommaLocale();
    void cascadeDisablesAtOnce();
    void pocketingSessionThroughQt();
    void lifetimes_data();
    void lifetimes();
};

// Each row: a gesture on the Qt window, and the user actions it stands for, done headless on a
// second, identical panel.
struct GestureCase {
    std::function<void(Shown&)> qt;
    std::function<void(Pocketing&)> headless;
};

template <class W> W& As(KesDialog* widget) {
    return *static_cast<W*>(widget);
}

static const std::map<QString, GestureCase>& GestureCases() {
    static const std::map<QString, GestureCase> cases = {
        {"editor: Return commits once",
         {[](Shown& s) { Type(s.Qt("Comment", "editoratt"), "Walls last"); },
          [](Pocketing& p) {
              As<KesDlgEditor>(p("Comment", "editoratt")).UserType("Walls last");
          }}},
        {"editor: Return without typing commits nothing",
         {[](Shown& s) { QTest::keyClick(s.Qt("Comment", "editoratt"), Qt::Key_Return); },
          [](Pocketing&) {}}},
        {"list editor field",
         {[](Shown& s) { Type(s.Qt("Pass_Names", "editoratt", 3), "finish walls"); },
          [](Pocketing& p) {
              As<KesDlgEditor>(p("Pass_Names", "editoratt", 3)).UserType("finish walls");
          }}},
        {"spinner: typed above the maximum",
         {[](Shown& s) { Type(s.Qt("Depth", "spinneratt"), "75"); },
          [](Pocketing& p) { As<KesDlgSpinner>(p("Depth", "spinneratt")).UserSetValue(75); }}},
        {"integer spinner: typed real",
         {[](Shown& s) { Type(s.Qt("Tool_Number", "spinneratt"), "12.7"); },
          [](Pocketing& p) {
              As<KesDlgSpinner>(p("Tool_Number", "spinneratt")).UserSetValue(12.7);
          }}},
        {"spinner: up arrow clicked",
         {[](Shown& s) {
              QWidget* box = s.Qt("Depth", "spinneratt");
              QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 6, 4));
          },
          [](Pocketing& p) { As<KesDlgSpinner>(p("Depth", "spinneratt")).UserStep(1); }}},
        {"spinner: key down",
         {[](Shown& s) { QTest::keyClick(s.Qt("Stepover", "spinneratt"), Qt::Key_Down); },
          [](Pocketing& p) { As<KesDlgSpinner>(p("Stepover", "spinneratt")).UserStep(-1); }}},
        {"spinner: wheel two notches",
         {[](Shown& s) { Wheel(s.Qt("Pass_Counts", "spinneratt", 1), 2); },
          [](Pocketing& p) { As<KesDlgSpinner>(p("Pass_Counts", "spinneratt", 1)).UserStep(2); }}},
        {"combo: list opened, line picked",
         {[](Shown& s) { PickLine(s.Qt("Direction", "comboatt"), 1); },
          [](Pocketing& p) {
              As<KesDlgCombo>(p("Direction", "comboatt")).UserDrop();
              As<KesDlgCombo>(p("Direction", "comboatt")).UserSelect(1);
          }}},
        {"editable combo: typed",
         {[](Shown& s) { Type(s.Qt("Feed_Rate", "comboatt"), " feed_rough "); },
          [](Pocketing& p) {
              As<KesDlgCombo>(p("Feed_Rate", "comboatt")).UserType(" feed_rough ");
          }}},
        {"radio: another one",
         {[](Shown& s) { Click(s.Qt("Strategy", "rbCONTOUR")); },
          [](Pocketing& p) { As<KesDlgRadioButton>(p("Strategy", "rbCONTOUR")).UserClick(); }}},
        {"radio: the one already on",
         {[](Shown& s) { Click(s.Qt("Strategy", "rbZIGZAG")); },
          [](Pocketing& p) { As<KesDlgRadioButton>(p("Strategy", "rbZIGZAG")).UserClick(); }}},
        {"check button",
         {[](Shown& s) { Click(s.Qt("Coolant", "chkbtnatt")); },
          [](Pocketing& p) { As<KesDlgCheckButton>(p("Coolant", "chkbtnatt")).UserClick(); }}},
        {"option check",
         {[](Shown& s) { Click(s.Qt("Coolant_Pressure", "OptionCheck")); },
          [](Pocketing& p) {
              As<KesDlgCheckButton>(p("Coolant_Pressure", "OptionCheck")).UserClick();
          }}},
        {"list check field",
         {[](Shown& s) { Click(s.Qt("Pass_Switches", "chkbtnatt", 2)); },
          [](Pocketing& p) {
              As<KesDlgCheckButton>(p("Pass_Switches", "chkbtnatt", 2)).UserClick();
          }}},
        {"push button",
         {[](Shown& s) { QTest::mouseClick(s.Qt("Approach_Retract", "pb"), Qt::LeftButton); },
          [](Pocketing& p) { As<KesDlgPushButton>(p("Approach_Retract", "pb")).UserPress(); }}},
        {"context menu item",
         {[](Shown& s) { MenuItem(s.view.FindAction(*s("Pass_Depths", "Add"))); },
          [](Pocketing& p) { As<KesDlgPushItem>(p("Pass_Depths", "Add")).UserActivate(); }}},
        {"scroll bar: key step",
         {[](Shown& s) { QTest::keyClick(s.Qt("Pass_Counts", "Scrol"), Qt::Key_Down); },
          [](Pocketing& p) { As<KesDlgScrollBar>(p("Pass_Counts", "Scrol")).UserScroll(1); }}},
        {"scroll bar: page click below the box",
         {[](Shown& s) {
              QWidget* bar = s.Qt("Pass_Counts", "Scrol");
              QTest::mouseClick(bar, Qt::LeftButton, {},
                                QPoint(bar->width() / 2, bar->height() - 20));
          },
          [](Pocketing& p) { As<KesDlgScrollBar>(p("Pass_Counts", "Scrol")).UserScroll(99); }}},
        {"selector list: row clicked",
         {[](Shown& s) { ClickRow(s.Qt("Allowed_Cycles", "SelList"), 1); },
          [](Pocketing& p) {
              const int rows[] = {1};
              As<KesDlgSelectorList>(p("Allowed_Cycles", "SelList")).UserSelect(rows, 1);
          }}},
        {"selector list: row added with Ctrl",
         {[](Shown& s) { ClickRow(s.Qt("Allowed_Cycles", "SelList"), 1, Qt::ControlModifier); },
          [](Pocketing& p) {
              const int rows[] = {0, 1, 2};
              As<KesDlgSelectorList>(p("Allowed_Cycles", "SelList")).UserSelect(rows, 3);
          }}},
        {"dialog: step typed, OK",
         {[](Shown& s) {
              MenuItem(s.view.FindAction(*s("Feed_Rate", "defstep")));
              Type(s.Qt("Feed_Rate", "StepEditor"), "25"); // Return in a dialog is OK too
          },
          [](Pocketing& p) {
              As<KesDlgPushItem>(p("Feed_Rate", "defstep")).UserActivate();
              As<KesDlgEditor>(p("Feed_Rate", "StepEditor")).UserType("25");
              As<KesDlgDialog>(p("Feed_Rate", "StepEditorDlg")).UserOK();
          }}},
        {"dialog: window closed is Cancel",
         {[](Shown& s) {
              MenuItem(s.view.FindAction(*s("Feed_Rate", "defstep")));
              s.Qt("Feed_Rate", "StepEditorDlg")->close();
          },
          [](Pocketing& p) {
              As<KesDlgPushItem>(p("Feed_Rate", "defstep")).UserActivate();
              As<KesDlgDialog>(p("Feed_Rate", "StepEditorDlg")).UserCancel();
          }}},
    };
    return cases;
}

void KesQtPanelViewTest::gestureActsAsHeadless_data() {
    QTest::addColumn<QString>("gesture");
    for (const auto& [name, unused] : GestureCases()) {
        QTest::newRow(name.toUtf8()) << name;
    }
}

void KesQtPanelViewTest::gestureActsAsHeadless() {
    QFETCH(QString, gesture);
    const GestureCase& row = GestureCases().at(gesture);
    std::string expected;
    {
        Pocketing headless;
        row.headless(headless);
        expected = Transcript(headless.frame);
    }
    Shown shown;
    int gestures = 0;
    shown.view.SetAfterGesture([&gestures] { ++gestures; });
    row.qt(shown);
    QCOMPARE(Transcript(shown.frame), expected);
    QCOMPARE(Differences(shown.view, shown.frame), QString());
    QVERIFY(gestures > 0 || gesture.contains("nothing"));
}

// ---------------------------------------------------------------------------------------------
// Toolkit to Qt: a panel of bare toolkit widgets, created after the view
// ---------------------------------------------------------------------------------------------
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
    template <class Q> Q* Qt(KesDialog* widget) { return qobject_cast<Q*>(view.Find(*widget)); }
};

struct ShowCase {
    std::function<void(Bare&)> change;
    std::function<QString(Bare&)> shown;
    QString expected;
};

static const std::map<QString, ShowCase>& ShowCases() {
    using L = QLabel;
    static const std::map<QString, ShowCase> cases = {
        {"label title, never markup",
         {[](Bare& b) { b.label->SetTitle("<b>Depth</b> (mm)"); },
          [](Bare& b) { return b.Qt<L>(b.label)->text(); }, "<b>Depth</b> (mm)"}},
        {"help texts",
         {[](Bare& b) {
              b.editor->SetShortHelp("short");
              b.editor->SetHelp("long");
          },
          [](Bare& b) {
              QWidget* e = b.view.Find(*b.editor);
              return e->toolTip() + "|" + e->statusTip() + "|" + e->whatsThis();
          },
          "short|long|long"}},
        {"editor text and width",
         {[](Bare& b) {
              b.editor->SetText("abcdef");
              b.editor->SetMaxCharacterWidth(4);
          },
          [](Bare& b) {
              auto* e = b.Qt<QLineEdit>(b.editor);
              return e->text() + " " + QString::number(e->maxLength());
          },
          "abcd 4"}},
        {"real spinner range, step, format, value",
         {[](Bare& b) {
              b.real->SetMinMaxStep(0, 10, 0.5);
              b.real->SetFormat("%12.7f");
              b.real->SetValue(2.5, 0);
          },
          [](Bare& b) {
              auto* s = b.Qt<QDoubleSpinBox>(b.real);
              return QString("%1 %2 %3 %4 %5")
                  .arg(s->minimum())
                  .arg(s->maximum())
                  .arg(s->singleStep())
                  .arg(s->decimals())
                  .arg(s->text());
          },
          "0 10 0.5 7 2.5000000"}},
        {"a new range clamps the value shown",
         {[](Bare& b) {
              b.real->SetValue(8, 0);
              b.real->SetMinMaxStep(0, 5, 1);
          },
          [](Bare& b) { return b.Qt<QDoubleSpinBox>(b.real)->text(); }, "5"}},
        {"display format wins over format",
         {[](Bare& b) {
              b.real->SetDisplayFormat("%.2f");
              b.real->SetValue(1.5, 0);
          },
          [](Bare& b) { return b.Qt<QDoubleSpinBox>(b.real)->text(); }, "1.50"}},
        {"integer spinner",
         {[](Bare& b) {
              b.whole->SetMinMaxStep(1, 99, 1);
              b.whole->SetValue(120, 0);
          },
          [](Bare& b) {
              auto* s = b.Qt<QSpinBox>(b.whole);
              return QString("%1 %2 %3").arg(s->minimum()).arg(s->maximum()).arg(s->text());
          },
          "1 99 99"}},
        {"combo lines and selection",
         {[](Bare& b) {
              b.fixed->SetLine("Climb", -1, 0);
              b.fixed->SetLine("Conventional", -1, 0);
              b.fixed->SetSelect(1, 0);
          },
          [](Bare& b) { return Shows(b.view.Find(*b.fixed)); }, "1|Conventional"}},
        {"combo lines cleared",
         {[](Bare& b) {
              b.fixed->SetLine("Climb", -1, 0);
              b.fixed->SetSelect(0, 0);
              b.fixed->ClearLine();
          },
          [](Bare& b) { return QString::number(b.Qt<QComboBox>(b.fixed)->count()); }, "0"}},
        {"editable combo field apart from the selection",
         {[](Bare& b) {
              b.combo->SetLine("none", -1, 0);
              b.combo->SetSelect(0, 0);
              b.combo->SetField("FEED_HSM");
          },
          [](Bare& b) { return Shows(b.view.Find(*b.combo)); }, "0|FEED_HSM"}},
        {"check state",
         {[](Bare& b) { b.check->SetState(kes::kOn, 0); },
          [](Bare& b) { return Shows(b.view.Find(*b.check)); }, "1"}},
        {"radio buttons exclusive by the toolkit",
         {[](Bare& b) {
              b.first->SetState(kes::kOn, 0);
              b.second->SetState(kes::kOn, 0);
          },
          [](Bare& b) { return Shows(b.view.Find(*b.first)) + Shows(b.view.Find(*b.second)); },
          "01"}},
        {"push button title keeps its ampersand",
         {[](Bare& b) { b.push->SetTitle("Save & close"); },
          [](Bare& b) { return b.Qt<QPushButton>(b.push)->text(); }, "Save && close"}},
        {"push button icon name without a theme icon",
         {[](Bare& b) { b.push->SetIconName("kes-no-such-icon"); },
          [](Bare& b) { return b.Qt<QPushButton>(b.push)->text(); }, "kes-no-such-icon"}},
        {"scroll bar range, box and position",
         {[](Bare& b) {
              b.bar->SetScrollRange(0, 10);
              b.bar->SetScrollBoxSize(3);
              b.bar->SetScrollPos(9, 0);
          },
          [](Bare& b) {
              return Shows(b.view.Find(*b.bar)) + " " +
                     QString::number(b.Qt<QScrollBar>(b.bar)->pageStep());
          },
          "0 7 7 3"}},
        {"selector list lines and selection",
         {[](Bare& b) {
              for (const char* line : {"Drill", "Dwell", "Peck"}) {
                  b.list->SetLine(line, -1, 0);
              }
              const int rows[] = {0, 2};
              b.list->SetSelect(rows, 2, 0);
          },
          [](Bare& b) { return Shows(b.view.Find(*b.list)); }, "+Drill -Dwell +Peck"}},
        {"insensitive frame disables what it holds",
         {[](Bare& b) { b.row->SetSensitivity(kes::kInsensitive); },
          [](Bare& b) { return QString::number(b.view.Find(*b.editor)->isEnabled()); }, "0"}},
        {"hidden widget",
         {[](Bare& b) { b.editor->SetVisibility(kes::kHidden); },
          [](Bare& b) { return QString::number(b.view.Find(*b.editor)->isHidden()); }, "1"}},
        {"row orientation",
         {[](Bare& b) { b.row->SetDefaultOrientation(1); },
          [](Bare& b) {
              QWidget* e = b.view.Find(*b.editor);
              QWidget* s = b.view.Find(*b.real);
              return QString::number(e->geometry().top() == s->geometry().top() &&
                                     e->geometry().left() < s->geometry().left());
          },
          "1"}},
        {"dialog window shown with its title",
         {[](Bare& b) {
              b.dialog->SetTitle("Step");
              b.dialog->SetVisibility(kes::kShown);
          },
          [](Bare& b) {
              QWidget* d = b.view.Find(*b.dialog);
              return d->windowTitle() + " " + QString::number(d->isVisible() && d->isWindow());
          },
          "Step 1"}},
        {"widget created later, widget destroyed",
         {[](Bare& b) {
              new KesDlgEditor(b.row, "late");
              delete b.check;
          },
          [](Bare& b) {
              return QString::number(b.view.Find(*b.row->FindDescendant("late")) != nullptr) +
                     QString::number(b.frame.FindDescendant("check") == nullptr);
          },
          "11"}},
    };
    return cases;
}

void KesQtPanelViewTest::toolkitShowsInQt_data() {
    QTest::addColumn<QString>("change");
    for (const auto& [name, unused] : ShowCases()) {
        QTest::newRow(name.toUtf8()) << name;
    }
}

void KesQtPanelViewTest::toolkitShowsInQt() {
    QFETCH(QString, change);
    const ShowCase& row = ShowCases().at(change);
    Bare bare;
    bare.view.Widget()->show();
    row.change(bare);
    QCoreApplication::processEvents();
    QCOMPARE(row.shown(bare), row.expected);
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
    QStringList visited;
    for (int i = 0; i < 60; ++i) {
        QWidget* focus = QApplication::focusWidget();
        const QString name = focus->accessibleName().isEmpty() ? focus->accessibleDescription()
                                                               : focus->accessibleName();
        if (labels.contains(name) && (visited.isEmpty() || visited.last() != name)) {
            visited << name;
        }
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    // Round the panel once at least, each attribute after the one before it.
    QVERIFY2(visited.size() >= labels.size() - 2, qPrintable(visited.join(", ")));
    for (int i = 1; i < labels.size() - 2; ++i) {
        QVERIFY2(labels.indexOf(visited[i]) == labels.indexOf(visited[i - 1]) + 1 ||
                     labels.indexOf(visited[i]) == 0,
                 qPrintable(visited.join(", ")));
    }
}

void KesQtPanelViewTest::accessibleNames_data() {
    QTest::addColumn<QString>("attribute");
    QTest::addColumn<QString>("widget");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("name");
    QTest::newRow("spinner") << "Depth"
                             << "spinneratt" << 0 << "Depth (mm)";
    QTest::newRow("combo") << "Direction"
                           << "comboatt" << 0 << "Cut direction";
    QTest::newRow("editor") << "Comment"
                            << "editoratt" << 0 << "Comment";
    QTest::newRow("option check") << "Coolant_Pressure"
                                  << "OptionCheck" << 0 << "Coolant pressure (bar)";
    QTest::newRow("list field") << "Pass_Depths"
                                << "spinneratt" << 2 << "Pass depths (mm)";
    QTest::newRow("list scroll bar") << "Pass_Depths"
                                     << "Scrol" << 0 << "Pass depths (mm)";
    QTest::newRow("selector list") << "Allowed_Cycles"
                                   << "SelList" << 0 << "Allowed cycles";
    QTest::newRow("radio, by its own title") << "Strategy"
                                             << "rbSPIRAL" << 0 << "";
}

void KesQtPanelViewTest::accessibleNames() {
    QFETCH(QString, attribute);
    QFETCH(QString, widget);
    QFETCH(int, field);
    QFETCH(QString, name);
    Shown shown;
    QWidget* qt = shown.Qt(attribute.toUtf8(), widget.toUtf8(), field);
    QVERIFY(qt != nullptr);
    QCOMPARE(qt->accessibleName(), name);
}

void KesQtPanelViewTest::decimalCommaLocale() {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German));
    {
        Bare bare;
        bare.real->SetMinMaxStep(0, 100, 0.25);
        bare.real->SetFormat("%.2f");
        bare.real->SetValue(2.5, 0);
        auto* box = bare.Qt<QDoubleSpinBox>(bare.real);
        QCOMPARE(box->text(), QString("2.50"));
        Type(box, "7.25");
        QCOMPARE(bare.real->GetValue(), 7.25);
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(box->text(), QString("7.50"));
        QCOMPARE(bare.frame.Count("KesDlgSpinnerModifyNotification"), 2);
    }
    QLocale::setDefault(before);
}

// ---------------------------------------------------------------------------------------------
// Refusal
// ---------------------------------------------------------------------------------------------
void KesQtPanelViewTest::cascadeDisablesAtOnce() {
    Shown shown;
    QWidget* stepover = shown.Qt("Stepover", "spinneratt");
    QVERIFY(stepover->isEnabled());
    Click(shown.Qt("Strategy", "rbCONTOUR")); // contour: no direction, and so no stepover
    QVERIFY(!shown.Qt("Direction", "comboatt")->isEnabled());
    QVERIFY(!stepover->isEnabled());
    shown.frame.Clear();
    QTest::keyClick(stepover, Qt::Key_Up);
    Type(stepover, "60");
    QCOMPARE(shown.frame.GetReceived().size(), size_t(0));
    QCOMPARE(Differences(shown.view, shown.frame), QString());
}

// ---------------------------------------------------------------------------------------------
// The bundled session, replayed through Qt gestures
// ---------------------------------------------------------------------------------------------
namespace {

// One command of the session as a person does it in the window. Commands that are the
// caller's (output, values, model) go to the driver.
void Replay(Shown& s, KesPanelDriver& driver, const std::string& line, int number) {
    std::istringstream words(line);
    std::string command, target;
    words >> command >> target;
    std::string rest;
    std::getline(words, rest);
    QString text = QString::fromStdString(rest).trimmed();
    if (text.size() >= 2 && text.startsWith('"') && text.endsWith('"')) {
        text = text.mid(1, text.size() - 2);
    }
    int field = 0;
    if (const size_t open = target.find('['); open != std::string::npos) {
        field = std::stoi(target.substr(open + 1));
        target.resize(open);
    }
    const char* name = target.c_str();
    const auto item = [&](const char* id) { MenuItem(s.view.FindAction(*s(name, id))); };
    const auto inDialog = [&](const char* item_, const char* dialog, const char* editor) {
        item(item_);
        QPointer<QWidget> window = s.Qt(name, dialog);
        if (window != nullptr && window->isVisible()) {
            Type(s.Qt(name, editor), text, Qt::Key_Enter); // commits the field and presses OK
        }
    };
    if (command == "spin") {
        Type(s.Qt(name, "spinneratt", field), text);
    } else if (command == "type" || command == "bind") {
        QWidget* editor = s.Qt(name, "editoratt", field);
        Type(editor != nullptr ? editor : s.Qt(name, "comboatt"), text);
    } else if (command == "select" && s(name, "comboatt") != nullptr) {
        auto* combo = static_cast<KesDlgCombo*>(s(name, "comboatt"));
        int row = text.startsWith('#') ? text.mid(1).toInt() - 1 : -1;
        for (int i = 0; i < combo->GetLineCount() && row < 0; ++i) {
            row = combo->GetLine(i) == text.toStdString().c_str() ? i : -1;
        }
        PickLine(s.view.Find(*combo), row);
    } else if (command == "select" && s(name, "SelList") != nullptr) {
        auto* list = qobject_cast<QListWidget*>(s.Qt(name, "SelList"));
        if (text == "-") { // a click under the lines clears the selection
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              QPoint(4, list->viewport()->height() - 2));
        }
        Qt::KeyboardModifiers modifiers;
        for (const QString& line : text.split(',', Qt::SkipEmptyParts)) {
            const auto found = list->findItems(line.trimmed(), Qt::MatchExactly);
            if (!found.isEmpty()) {
                ClickRow(list, list->row(found.first()), modifiers);
                modifiers = Qt::ControlModifier;
            }
        }
    } else if (command == "select" || (command == "click" && !text.isEmpty())) {
        for (int i = 0; i < s(name, "labelatt")->GetParent()->GetChildCount(); ++i) {
            KesDialog* child = s(name, "labelatt")->GetParent()->GetChildFromChildNumber(i);
            if (child->GetKind() == KesDlgKind::RadioButton &&
                (child->GetTitle() == text.toStdString().c_str() ||
                 child->GetName() == ("rb" + text.toStdString()).c_str())) {
                Click(s.view.Find(*child));
            }
        }
    } else if (command == "click") {
        Click(s.Qt(name, "chkbtnatt", field));
    } else if (command == "option") {
        auto* check = static_cast<KesDlgCheckButton*>(s(name, "OptionCheck"));
        if (check->IsOn() != (text == "on")) {
            Click(s.view.Find(*check));
        }
    } else if (command == "add" || command == "remove") {
        item(command == "add" ? "Add" : "Remove");
    } else if (command == "scroll") {
        auto* bar = qobject_cast<QScrollBar*>(s.Qt(name, "Scrol"));
        for (int guard = 0; guard < 100 && bar->value() != text.toInt(); ++guard) {
            QTest::keyClick(bar, bar->value() < text.toInt() ? Qt::Key_Down : Qt::Key_Up);
        }
    } else if (command == "drop") {
        auto* combo = qobject_cast<QComboBox*>(s.Qt(name, "comboatt"));
        combo->showPopup();
        combo->hidePopup();
    } else if (command == "create") {
        inDialog("createpar", "CreateParameter", "ParameterName");
    } else if (command == "step") {
        inDialog("defstep", "StepEditorDlg", "StepEditor");
    } else if (command == "press") {
        QTest::mouseClick(s.Qt(name, "pb"), Qt::LeftButton);
    } else if (command != "svg") {
        QCOMPARE(driver.Run(line, number), KesPanelDriver::Status::Done);
    }
}

} // namespace

void KesQtPanelViewTest::pocketingSessionThroughQt() {
    std::vector<std::string> session;
    std::ifstream file(KES_SOURCE_DIR "/examples/sessions/pocketing.kes");
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line[0] != '#' && line.rfind("svg", 0) != 0) {
            session.push_back(line);
        }
    }
    QVERIFY(session.size() > 30);
    std::ostringstream out, err;
    std::string expected;
    {
        Pocketing headless;
        KesPanelDriver driver(headless.frame, out, err);
        for (size_t i = 0; i < session.size(); ++i) {
            QCOMPARE(driver.Run(session[i], int(i) + 1), KesPanelDriver::Status::Done);
        }
        expected = Transcript(headless.frame);
        expected = expected.substr(expected.find("Strategy |"));
    }
    Shown shown;
    KesPanelDriver driver(shown.frame, out, err);
    for (size_t i = 0; i < session.size(); ++i) {
        Replay(shown, driver, session[i], int(i) + 1);
        QVERIFY2(Differences(shown.view, shown.frame).isEmpty(), session[i].c_str());
    }
    const std::string replayed = Transcript(shown.frame);
    QCOMPARE(replayed.substr(replayed.find("Strategy |")), expected);
}

// ---------------------------------------------------------------------------------------------
// Lifetimes
// ---------------------------------------------------------------------------------------------
void KesQtPanelViewTest::lifetimes_data() {
    QTest::addColumn<int>("scenario");
    QTest::newRow("attribute deleted while shown") << 0;
    QTest::newRow("dialog deleted by its own OK") << 1;
    QTest::newRow("panel deleted before the view") << 2;
    QTest::newRow("view deleted before the panel") << 3;
    QTest::newRow("top widget deleted by the caller's Qt parent") << 4;
    QTest::newRow("two views of two panels") << 5;
    QTest::newRow("a push deletes its own button") << 6;
}

void KesQtPanelViewTest::lifetimes() {
    QFETCH(int, scenario);
    auto shown = std::make_unique<Shown>();
    const auto deferred = [] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    switch (scenario) {
    case 0: {
        QPointer<QWidget> depth = shown->Qt("Depth", "spinneratt");
        delete (*shown)("Depth", "spinneratt")->GetParent();
        deferred();
        QVERIFY(depth.isNull());
        break;
    }
    case 1: {
        MenuItem(shown->view.FindAction(*(*shown)("Feed_Rate", "defstep")));
        QPointer<QWidget> dialog = shown->Qt("Feed_Rate", "StepEditorDlg");
        QVERIFY(dialog != nullptr && dialog->isVisible());
        PressOk(dialog);
        deferred();
        QVERIFY(dialog.isNull());
        break;
    }
    case 2: {
        auto frame = std::make_unique<KesDlgTestFrame>();
        KesPocketingPanel panel(*frame);
        auto view = std::make_unique<KesQtPanelView>(*frame);
        QPointer<QWidget> top = view->Widget();
        QPointer<QWidget> depth = view->Find(*Part(*frame, "Depth", "spinneratt"));
        frame.reset();
        deferred();
        QVERIFY(depth.isNull());
        KesDlgTestFrame later; // widgets made where the old panel was are none of the view's
        new KesDlgEditor(&later, "after");
        view.reset();
        QVERIFY(top.isNull());
        break;
    }
    case 3: {
        auto view = std::make_unique<KesQtPanelView>(shown->frame);
        view.reset();
        As<KesDlgSpinner>((*shown)("Depth", "spinneratt")).SetValue(7, 0);
        delete (*shown)("Depth", "spinneratt")->GetParent();
        break;
    }
    case 4: {
        auto* window = new QWidget;
        shown->view.Widget()->setParent(window);
        delete window;
        QVERIFY(shown->view.Widget() == nullptr);
        As<KesDlgSpinner>((*shown)("Depth", "spinneratt")).SetValue(7, 0);
        new KesDlgEditor(shown->frame.FindDescendant("Comment"), "after");
        delete (*shown)("Comment", "after");
        break;
    }
    case 5: {
        Bare other;
        other.editor->SetText("other");
        QVERIFY(shown->view.Find(*other.editor) == nullptr);
        Type(shown->Qt("Comment", "editoratt"), "mine");
        QCOMPARE(other.Qt<QLineEdit>(other.editor)->text(), QString("other"));
        QCOMPARE(Differences(other.view, other.frame), QString());
        break;
    }
    case 6: {
        auto* button = new KesDlgPushButton(&shown->frame, "doomed");
        static KesDlgNotification pressed("KesDlgPushBActivateNotification");
        shown->frame.AddCallback(
            button, &pressed, [button](KesCommand*, KesNotification*, void**) { delete button; });
        QTest::mouseClick(shown->view.Find(*button), Qt::LeftButton);
        deferred();
        QVERIFY(shown->frame.FindDescendant("doomed") == nullptr);
        break;
    }
    }
    QCOMPARE(Differences(shown->view, shown->frame), QString());
    shown.reset();
}

QTEST_MAIN(KesQtPanelViewTest)
#include "KesQtPanelViewTest.moc"
