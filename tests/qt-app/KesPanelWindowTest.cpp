// kes-panel's window as its users meet it: the picture `kes-panel --png` writes (its size, not
// blank, the panel's labels drawn legibly where the window lays them out) and the two panes,
// which follow every gesture made in the panel.
#include "KesPanelWindow.h"
#include "KesNotificationLogFrame.h"
#include "KesPocketingPanel.h"

#include "tools/KesPanelDriver.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>
#include <sstream>

namespace {

// The pocketing panel in kes-panel's frame, with a driver that keeps its transcript.
struct Panel {
    KesNotificationLogFrame frame{"Pocketing"};
    KesPocketingPanel panel{frame};
    std::ostringstream transcript;
    KesPanelDriver driver{frame, transcript, transcript};
};

// Shares of the pixels of `area` dark as ink and light as paper: legible text has both.
struct Ink {
    double dark = 0;
    double light = 0;
};
Ink Measure(const QImage& picture, const QRect& area) {
    Ink ink;
    const QRect inside = area & picture.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const int gray = qGray(picture.pixel(x, y));
            ink.dark += gray < 110;
            ink.light += gray > 200;
        }
    }
    const double pixels = std::max(1, inside.width() * inside.height());
    return {ink.dark / pixels, ink.light / pixels};
}

QWidget* ValueWidget(const QWidget& window, const QString& accessibleName) {
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        const bool valueWidget = qobject_cast<QAbstractSpinBox*>(widget) ||
                                 qobject_cast<QLineEdit*>(widget) ||
                                 qobject_cast<QAbstractButton*>(widget);
        if (valueWidget && widget->accessibleName() == accessibleName) {
            return widget;
        }
    }
    return nullptr;
}

QString Pane(const QWidget& window, const char* name) {
    auto* pane = window.findChild<QPlainTextEdit*>(QString::fromLatin1(name));
    return pane ? pane->toPlainText() : QString();
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
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            environment.remove(QString::fromLatin1(name));
        }
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(folder.path());
        program.start(QStringLiteral(KES_PANEL_PROGRAM), {QStringLiteral("--png"), file});
        QVERIFY(program.waitForFinished(60000));
        QVERIFY2(program.exitCode() == 0, program.readAllStandardError().constData());
        const QImage picture(file);
        QCOMPARE(picture.size(), QSize(KesPanelWindow::kWidth, KesPanelWindow::kHeight));

        // Where the window lays out its labels: the same window, after the same session.
        Panel panel;
        std::ifstream session(KES_SOURCE_DIR "/examples/sessions/pocketing.kes");
        QCOMPARE(panel.driver.RunSession(session, false), 0);
        KesPanelWindow window(panel.frame, panel.driver);
        window.show();
        QApplication::processEvents();
        const QString labels[] = {"Strategy", "Tool number", "Depth (mm)", "Spindle speed (rpm)"};
        for (const QString& text : labels) {
            const QLabel* label = nullptr;
            for (const QLabel* candidate : window.findChildren<QLabel*>()) {
                label = candidate->text() == text ? candidate : label;
            }
            QVERIFY2(label != nullptr, qPrintable(text));
            const Ink ink = Measure(picture, QRect(label->mapTo(&window, QPoint()), label->size()));
            QVERIFY2(ink.dark > 0.03 && ink.light > 0.3, qPrintable(text));
        }
        // The records pane shows its table too, and the picture is not a blank window.
        auto* records = window.findChild<QPlainTextEdit*>(QStringLiteral("records"));
        QVERIFY(Measure(picture, QRect(records->viewport()->mapTo(&window, QPoint()),
                                       records->viewport()->size()))
                    .dark > 0.01);
    }

    void gesturesRefreshThePanes_data() {
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QString>("typed"); // empty: the space bar
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("notification");
        QTest::newRow("spinner, typed") << "Tool number"
                                        << "12"
                                        << "Tool_Number | integer | 1 | 12"
                                        << "<- KesMfgAttNotifyModif from Tool_Number";
        QTest::newRow("editor, typed") << "Comment"
                                       << "Deburr"
                                       << "Comment | text | 1 | \"Deburr"
                                       << "<- KesMfgAttNotifyModif from Comment";
        QTest::newRow("check, space bar") << "Coolant"
                                          << ""
                                          << "Coolant | boolean | 1 | 0"
                                          << "<- KesMfgAttNotifyModif from Coolant";
    }
    void gesturesRefreshThePanes() {
        QFETCH(QString, widget);
        QFETCH(QString, typed);
        QFETCH(QString, record);
        QFETCH(QString, notification);
        Panel panel;
        KesPanelWindow window(panel.frame, panel.driver);
        window.show();
        QWidget* target = ValueWidget(window, widget);
        QVERIFY(target != nullptr);
        QVERIFY(!Pane(window, "records").contains(record));
        if (typed.isEmpty()) {
            QTest::keyClick(target, Qt::Key_Space);
        } else {
            QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(target, typed);
            QTest::keyClick(target, Qt::Key_Return);
        }
        QVERIFY2(Pane(window, "records").contains(record), qPrintable(Pane(window, "records")));
        QCOMPARE(Pane(window, "notifications").trimmed(), notification);
    }
};

QTEST_MAIN(KesPanelWindowTest)
#include "KesPanelWindowTest.moc"
