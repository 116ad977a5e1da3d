// kes-panel's window as its users meet it: the picture `kes-panel --png` writes (its size, not
// blank, the panel's labels drawn legibly where the window lays them out) and the two panes,
// which follow every gesture made in the panel.
#include "KesPanelWindow.h"
#include "KesNotificationLogFrame.h"
#include "KesPocketingPanel.h"

#include "platform/KesMfgBaseGII.h"
#include "tools/KesPanelDriver.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
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
        QCOMPARE(picture.size(), QSize(KesPanelWindow::kWidth, KesPanelWindow::kHeight));

        // Where the labels stand: the same window, after the same session, in this process.
        Panel panel;
        std::ifstream session(KES_SOURCE_DIR "/examples/sessions/pocketing.kes");
        QCOMPARE(panel.driver.RunSession(session, false), 0);
        panel.Open();
        QApplication::processEvents();
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
        KesMfgBaseGII::SetGIIError(KesMfgBaseGII::kParameterNameTaken, 0);
        panel.window->Refresh();
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
