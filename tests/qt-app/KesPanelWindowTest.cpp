// kes-panel's window as its users meet it: the picture `kes-panel --png` writes (its size, not
// blank, the panel's labels drawn legibly where the window lays them out) and the two panes,
// which follow every gesture made in the panel.
#include "KesPanelWindow.h"
#include "KesNotificationLogFrame.h"
#include "KesPocketingPanel.h"
#include "KesSubPanels.h"

#include "platform/KesMfgBaseGII.h"
#include "platform/KesMfgModel.h"
#include "tools/KesPanelBuilder.h"
#include "tools/KesPanelDriver.h"
#include "tools/KesPanelFile.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>
#include <sstream>

namespace {

// The pocketing panel in kes-panel's frame, shown in kes-panel's window.
struct Panel {
    KesNotificationLogFrame frame{"Pocketing"};
    KesPocketingPanel panel{frame};
    std::ostringstream transcript;
    KesPanelDriver driver{frame, transcript, transcript};
    std::unique_ptr<KesPanelWindow> window;
    void Open() {
        window = std::make_unique<KesPanelWindow>(frame, driver);
        window->show();
    }
    QString Pane(const QString& name) const {
        return window->findChild<QPlainTextEdit*>(name)->toPlainText();
    }
};

// A panel file's panel in kes-panel's frame, shown in kes-panel's window.
struct FilePanel {
    explicit FilePanel(const QString& file) {
        KesMfgModel::Clear();
        fault = KesPanelFile::Read(file.toStdString(), description);
        if (fault.empty()) {
            fault = builder.Build(description, frame);
        }
        window = std::make_unique<KesPanelWindow>(frame, driver);
        window->show();
    }
    KesNotificationLogFrame frame{"Panel"};
    KesPanelDescription description;
    KesPanelBuilder builder;
    std::ostringstream transcript;
    KesPanelDriver driver{frame, transcript, transcript};
    std::string fault;
    std::unique_ptr<KesPanelWindow> window;
};

// The fields of the panel in `window` (what a person can tab into) that its viewport cuts off
// at a side, and a horizontal scroll bar: none when the panel shows whole (it may scroll down).
QStringList CutOff(const KesPanelWindow& window) {
    auto* area = window.findChild<QSplitter*>()->findChild<QScrollArea*>();
    QStringList cut;
    if (area->horizontalScrollBar()->isVisible()) {
        cut << "a horizontal scroll bar";
    }
    for (QWidget* field : area->widget()->findChildren<QWidget*>()) {
        const int left = field->mapTo(area->viewport(), QPoint(0, 0)).x();
        if ((field->focusPolicy() & Qt::TabFocus) != 0 && field->isVisibleTo(area->widget()) &&
            (left < 0 || left + field->width() > area->viewport()->width())) {
            cut << field->accessibleName() + " " + field->metaObject()->className();
        }
    }
    return cut;
}

// Legible text has pixels dark as ink and a background light as paper.
bool Legible(const QImage& picture, const QWidget& widget, double ink) {
    const QRect area = QRect(widget.mapTo(widget.window(), QPoint()), widget.size());
    double dark = 0;
    double light = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const int gray = qGray(picture.pixel(x, y));
            dark += gray < 110;
            light += gray > 200;
        }
    }
    const double pixels = area.width() * area.height();
    return dark / pixels > ink && light / pixels > 0.3;
}

} // namespace

class KesPanelWindowTest : public QObject {
    Q_OBJECT

private slots:
    void pictureOfTheBundledSession() {
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("window.png"));
        // No display at all: --png must find its offscreen platform by itself.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "KES_SETTINGS_DIR", "HOME"}) {
            environment.remove(QString::fromLatin1(name));
        }
        // The user's settings folder, which the bundled session must leave alone.
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.filePath("config"));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(folder.path());
        program.start(QStringLiteral(KES_PANEL_PROGRAM), {QStringLiteral("--png"), file});
        QVERIFY(program.waitForFinished(60000));
        QVERIFY2(program.exitCode() == 0, program.readAllStandardError().constData());
        // The model's messages to the user, and no Qt warning.
        const QString errors = QString::fromUtf8(program.readAllStandardError());
        QCOMPARE(errors.split('\n', Qt::SkipEmptyParts)
                     .filter(QRegularExpression("^(?!Manufacturing model, code)")),
                 QStringList());
        QVERIFY(!QFileInfo::exists(folder.filePath("config")));
        const QImage picture(file);

        // Where the labels stand: the same window, after the same session, in this process.
        Panel panel;
        std::ifstream session(KES_SOURCE_DIR "/examples/sessions/pocketing.kes");
        QCOMPARE(panel.driver.RunSession(session, false), 0);
        panel.Open();
        QApplication::processEvents();
        // The picture is the window at the size it opens with (wholePanelShows: it fits a screen).
        QCOMPARE(picture.size(), panel.window->size());
        QStringList labels = {"Strategy", "Tool number", "Depth (mm)", "Spindle speed (rpm)"};
        for (const QLabel* label : panel.window->findChildren<QLabel*>()) {
            if (labels.removeAll(label->text()) > 0) {
                QVERIFY2(Legible(picture, *label, 0.03), qPrintable(label->text()));
            }
        }
        QVERIFY2(labels.isEmpty(), qPrintable(labels.join(", ")));
        const auto* records = panel.window->findChild<QPlainTextEdit*>(QStringLiteral("records"));
        QVERIFY(Legible(picture, *records->viewport(), 0.01));
    }

    // A message the model reports to the user shows in the window; File > Quit closes it.
    void modelMessagesShowAndQuitCloses() {
        Panel panel;
        panel.Open();
        QVERIFY(KesMfgBaseGII::Installed() != KesMfgBaseGII::BuiltIn()); // the window's own
        KesMfgBaseGII::SetGIIError(KesMfgBaseGII::kParameterNameTaken, 0);
        QCOMPARE(
            panel.window->findChild<QStatusBar*>()->currentMessage(),
            QString::fromStdString(KesMfgBaseGII::GetCodeText(KesMfgBaseGII::kParameterNameTaken)));
        QAction* quit = nullptr;
        for (QAction* action : panel.window->findChildren<QAction*>()) {
            quit = action->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_Q) ? action : quit;
        }
        QVERIFY(quit != nullptr && quit->text() == "&Quit");
        quit->trigger();
        QVERIFY(!panel.window->isVisible());
        panel.window.reset();
        QVERIFY(KesMfgBaseGII::Installed() == KesMfgBaseGII::BuiltIn()); // put back
    }

    void gesturesRefreshThePanes() {
        const struct {
            const char* widget; // its accessible name: the attribute's label
            const char* typed;  // empty: the space bar
            const char* record;
            const char* sender;
        } cases[] = {
            {"Tool number", "12", "Tool_Number | integer | 1 | 12", "Tool_Number"},
            {"Comment", "Deburr", "Comment | text | 1 | \"Deburr", "Comment"},
            {"Coolant", "", "Coolant | boolean | 1 | 0", "Coolant"},
        };
        for (const auto& gesture : cases) {
            Panel panel;
            panel.Open();
            QWidget* target = nullptr;
            for (QWidget* candidate : panel.window->findChildren<QWidget*>()) {
                target =
                    !target && candidate->accessibleName() == gesture.widget ? candidate : target;
            }
            QVERIFY2(target != nullptr, gesture.widget);
            QVERIFY(!panel.Pane("records").contains(gesture.record));
            if (*gesture.typed == '\0') {
                QTest::keyClick(target, Qt::Key_Space);
            } else {
                QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(target, gesture.typed);
                QTest::keyClick(target, Qt::Key_Return);
            }
            QVERIFY2(panel.Pane("records").contains(gesture.record), gesture.widget);
            QCOMPARE(panel.Pane("notifications").trimmed(),
                     QStringLiteral("<- KesMfgAttNotifyModif from ") + gesture.sender);

            // Edit > Undo names the gesture's attribute, takes it back (Ctrl+Z) and the panes
            // follow; Redo (Ctrl+Y) applies it again.
            auto* undo = panel.window->findChild<QAction*>(QStringLiteral("undo"));
            auto* redo = panel.window->findChild<QAction*>(QStringLiteral("redo"));
            QVERIFY(undo->isEnabled() && !redo->isEnabled());
            QCOMPARE(undo->text(), QStringLiteral("&Undo ") + gesture.widget);
            panel.window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(panel.window.get()));
            QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);
            QVERIFY2(!panel.Pane("records").contains(gesture.record), gesture.widget);
            QVERIFY(!undo->isEnabled() && redo->isEnabled());
            QTest::keyClick(target, Qt::Key_Y, Qt::ControlModifier);
            QVERIFY2(panel.Pane("records").contains(gesture.record), gesture.widget);
        }
    }

    // The link's button opens its sub-panel in a child dialog: OK hands the values edited there
    // to the link (the records pane shows them), Cancel leaves the link as it was before the
    // press (not the relay the press also gave).
    void linkButtonOpensItsSubPanel() {
        static const KesPanelDescription description = KesPocketingPanel::Description();
        Panel panel;
        panel.Open();
        panel.window->OpenSubPanels(description);
        const struct {
            const char* typed; // into the approach distance; null: nothing
            QDialogButtonBox::StandardButton button;
            const char* record;
        } rows[] = {
            {"7.5", QDialogButtonBox::Ok, "Approach_Distance | real | 1 | 7.5"},
            {"9", QDialogButtonBox::Cancel, "Approach_Distance | real | 1 | 7.5"},
            {nullptr, QDialogButtonBox::Ok, "Approach_Distance | real | 1 | 7.5"},
        };
        for (const auto& row : rows) {
            // The link's button: the panel's only push button (it has no title of its own).
            const auto buttons = panel.window->findChildren<QPushButton*>();
            QCOMPARE(buttons.size(), 1);
            QTest::mouseClick(buttons.front(), Qt::LeftButton);
            auto* dialog = panel.window->findChild<QDialog*>(QStringLiteral("subPanel"));
            QVERIFY(dialog != nullptr && dialog->isVisible());
            if (row.typed != nullptr) {
                QWidget* field = nullptr;
                for (QWidget* candidate : dialog->findChildren<QWidget*>()) {
                    const bool named = candidate->accessibleName() == "Approach distance (mm)";
                    field = field == nullptr && named ? candidate : field;
                }
                QVERIFY(field != nullptr);
                dialog->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(dialog));
                field->setFocus(Qt::MouseFocusReason);
                QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(field, row.typed);
                QTest::keyClick(field, Qt::Key_Return);
                QVERIFY(dialog->isVisible()); // Return confirmed the field, it pressed no button
            }
            QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(row.button),
                              Qt::LeftButton);
            QCoreApplication::processEvents();
            QVERIFY2(panel.Pane("records").contains(row.record), row.typed);
        }
    }

    // At the size the window opens with, every field of the panel shows whole beside the
    // panes (a tall panel scrolls, never sideways), also once the event loop has turned.
    void wholePanelShows_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("the bundled pocketing panel") << QString();
        for (const QString& name :
             QDir(KES_SOURCE_DIR "/examples/panels").entryList({"*.json"}, QDir::Files)) {
            QTest::newRow(qPrintable(name))
                << QStringLiteral(KES_SOURCE_DIR "/examples/panels/") + name;
        }
    }
    void wholePanelShows() {
        QFETCH(QString, file);
        std::unique_ptr<Panel> bundled;
        std::unique_ptr<FilePanel> fromFile;
        KesPanelWindow* window = nullptr;
        if (file.isEmpty()) {
            bundled = std::make_unique<Panel>();
            bundled->Open();
            window = bundled->window.get();
        } else {
            fromFile = std::make_unique<FilePanel>(file);
            QCOMPARE(QString::fromStdString(fromFile->fault), QString());
            window = fromFile->window.get();
        }
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QSize opened = window->size();
        QVERIFY(opened.width() <= KesPanelWindow::kScreenWidth &&
                opened.height() <= KesPanelWindow::kScreenHeight);
        QCOMPARE(CutOff(*window), QStringList());
        QTest::qWait(50); // what the view lays out after its first show
        QCOMPARE(CutOff(*window), QStringList());
        QCOMPARE(window->size(), opened);
    }

    // The picture is written whole or not at all: a folder that cannot hold it is refused.
    void picturesAreWrittenWhole() {
        QTemporaryDir folder;
        Panel panel;
        panel.Open();
        const QString file = folder.filePath(QStringLiteral("window.png"));
        QVERIFY(panel.window->SavePicture(file));
        QCOMPARE(QImage(file).size(), panel.window->size());
        QVERIFY(!panel.window->SavePicture(folder.filePath(QStringLiteral("none/window.png"))));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList({"window.png"}));
    }

    // A value given to an attribute that had none cannot be taken back: Edit > Undo is
    // disabled and says why.
    void aGestureThatCannotBeTakenBackLeavesUndoDisabled() {
        Panel panel;
        panel.Open();
        QWidget* target = nullptr;
        for (QWidget* candidate : panel.window->findChildren<QWidget*>()) {
            target = !target && candidate->accessibleName() == "Stock to leave (mm)" ? candidate
                                                                                     : target;
        }
        QVERIFY(target != nullptr);
        QTest::keyClicks(target, "0.5");
        QTest::keyClick(target, Qt::Key_Return);
        QVERIFY(panel.Pane("records").contains("Stock_Allowance | real | 1 | 0.5"));
        auto* undo = panel.window->findChild<QAction*>(QStringLiteral("undo"));
        QVERIFY(!undo->isEnabled());
        QVERIFY2(undo->statusTip().startsWith(
                     "cannot undo Stock to leave (mm): Stock to leave (mm) had no value before it"),
                 qPrintable(undo->statusTip()));
    }

    void valuesFilesOpenAndSave() {
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("values.json"));
        Panel panel;
        panel.Open();
        QVERIFY(panel.window->SaveValues(file));
        QCOMPARE(panel.window->findChild<QStatusBar*>()->currentMessage(),
                 QStringLiteral("Saved values to ") + file);
        Panel other;
        other.Open();
        QStringList report;
        QCOMPARE(other.window->OpenValues(
                     QStringLiteral(KES_SOURCE_DIR "/examples/values/finishing.json"), &report),
                 QString());
        QVERIFY(report.isEmpty());
        QVERIFY(other.Pane("records").contains("Feed_Rate | real | -1 | \"FEED_FINISH"));
        QCOMPARE(other.window->OpenValues(file, &report), QString());
        QVERIFY(!other.Pane("records").contains("FEED_FINISH"));
        QVERIFY(other.window->OpenValues(folder.filePath("none.json")).contains("no such file"));
    }
};

QTEST_MAIN(KesPanelWindowTest)
#include "KesPanelWindowTest.moc"
