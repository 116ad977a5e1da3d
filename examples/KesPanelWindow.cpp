// kes-panel's window: the panel's view on the left, the notifications and the value records on
// the right, refreshed after every gesture.
#include "KesPanelWindow.h"

#include "KesNotificationLogFrame.h"

#include "framework/KesMfgValueRecords.h"
#include "platform/KesMfgBaseGII.h"
#include "qt/KesQtPanelView.h"
#include "tools/KesPanelDriver.h"
#include "tools/KesPanelHistory.h"
#include "tools/KesValuesFile.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

#include <fstream>
#include <string>

namespace {

// A read-only, fixed-pitch pane in a titled box: the tables line up in columns.
QPlainTextEdit* AddPane(QSplitter& splitter, const QString& title, const QString& name) {
    auto* box = new QGroupBox(title, &splitter);
    auto* pane = new QPlainTextEdit(box);
    pane->setObjectName(name);
    pane->setReadOnly(true);
    pane->setLineWrapMode(QPlainTextEdit::NoWrap);
    pane->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(pane);
    return pane;
}

std::string Table(const KesMfgValueRecords& records) {
    const std::string table = records.FormatTable();
    return table.empty() ? "  (no record)\n" : table;
}

} // namespace

KesPanelWindow::KesPanelWindow(KesNotificationLogFrame& frame, const KesPanelDriver& driver,
                               QWidget* parent)
    : QWidget(parent), frame_(frame), driver_(driver) {
    setWindowTitle(
        QStringLiteral("kes-panel: %1").arg(QString::fromStdString(frame.GetName().Str())));
    auto* columns = new QSplitter(Qt::Horizontal, this);
    columns_ = columns;
    view_ = std::make_unique<KesQtPanelView>(frame, columns);
    columns->addWidget(view_->Widget());

    auto* panes = new QSplitter(Qt::Vertical, columns);
    notifications_ = AddPane(*panes, QStringLiteral("Notifications received by the panel's frame"),
                             QStringLiteral("notifications"));
    records_ = AddPane(*panes, QStringLiteral("Value records"), QStringLiteral("records"));
    panes->setStretchFactor(1, 2); // the records are the longer read
    columns->addWidget(panes);
    // The panel gets a little more than half: the records' lines are long too.
    columns->setSizes({kWidth * 11 / 20, kWidth * 9 / 20});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(columns, 1);
    status_ = new QStatusBar(this);
    status_->setSizeGripEnabled(false);
    layout->addWidget(status_);
    resize(kWidth, kHeight);
    codesShown_ = KesMfgBaseGII::GetReportedCodes().size(); // the session's were printed

    // File and Edit. A gesture is one step of the history, undone and redone with its impacts.
    history_ = std::make_unique<KesPanelHistory>(frame);
    auto* menus = new QMenuBar(this);
    QMenu* file = menus->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Open values..."), QKeySequence::Open, this, [this] {
        const QString name = QFileDialog::getOpenFileName(
            this, QStringLiteral("Open values"), QString(), QStringLiteral("Values (*.json)"));
        QStringList report;
        const QString error = name.isEmpty() ? QString() : OpenValues(name, &report);
        if (!error.isEmpty() || !report.isEmpty()) {
            QMessageBox::warning(this, QStringLiteral("Open values"),
                                 error.isEmpty() ? report.join(QLatin1Char('\n')) : error);
        }
    });
    file->addAction(QStringLiteral("&Save values..."), QKeySequence::Save, this, [this] {
        const QString name = QFileDialog::getSaveFileName(
            this, QStringLiteral("Save values"), QString(), QStringLiteral("Values (*.json)"));
        if (!name.isEmpty() && !SaveValues(name)) {
            QMessageBox::warning(this, QStringLiteral("Save values"),
                                 QStringLiteral("Cannot write %1").arg(name));
        }
    });
    file->addSeparator();
    file->addAction(QStringLiteral("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), this,
                    &QWidget::close);
    QMenu* edit = menus->addMenu(QStringLiteral("&Edit"));
    undo_ = edit->addAction(QStringLiteral("&Undo"), this, [this] {
        history_->Undo();
        Refresh();
        ShowShortfall();
    });
    undo_->setObjectName(QStringLiteral("undo"));
    undo_->setShortcut(QKeySequence::Undo);
    redo_ = edit->addAction(QStringLiteral("&Redo"), this, [this] {
        history_->Redo();
        Refresh();
        ShowShortfall();
    });
    redo_->setObjectName(QStringLiteral("redo"));
    redo_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    layout->setMenuBar(menus);

    QApplication::instance()->installEventFilter(this);

    view_->SetAfterGesture([this] {
        history_->CommitGesture();
        Refresh();
    });
    Refresh();
}

// The view goes first, while the Qt widgets it mirrors into still stand.
KesPanelWindow::~KesPanelWindow() {
    view_.reset();
}

// What the last undo or redo did not bring back (the history has ended), in the status bar.
void KesPanelWindow::ShowShortfall() {
    if (!history_->Shortfall().empty()) {
        status_->showMessage(QStringLiteral("Not brought back: %1; the history ends")
                                 .arg(QString::fromStdString(history_->Shortfall())));
    }
}

void KesPanelWindow::Refresh() {
    QString log;
    for (const std::string& line : frame_.Log()) {
        log += QString::fromStdString(line) + QLatin1Char('\n');
    }
    notifications_->setPlainText(log);
    notifications_->verticalScrollBar()->setValue(notifications_->verticalScrollBar()->maximum());

    // The same records a caller collects: everything defined, then what changed per group.
    KesMfgValueRecords all;
    KesMfgValueRecords group1;
    KesMfgValueRecords group2;
    for (KesMfgAttribute* attribute : driver_.Attributes()) {
        all.GetAttValue(*attribute);
        group1.Output(*attribute, 1);
        group2.Output(*attribute, 2);
    }
    const std::string text =
        "values\n" + Table(all) + "\noutput 1\n" + Table(group1) + "\noutput 2\n" + Table(group2);
    records_->setPlainText(QString::fromStdString(text));

    // Edit's items name the attribute of the step they take back or apply again; a step that
    // cannot be taken back (applied again) leaves its item disabled, saying why.
    undo_->setStatusTip(QString::fromStdString(history_->UndoRefusal()));
    redo_->setStatusTip(QString::fromStdString(history_->RedoRefusal()));
    undo_->setEnabled(history_->CanUndo());
    undo_->setText(
        QStringLiteral("&Undo %1").arg(QString::fromStdString(history_->UndoLabel())).trimmed());
    redo_->setEnabled(history_->CanRedo());
    redo_->setText(
        QStringLiteral("&Redo %1").arg(QString::fromStdString(history_->RedoLabel())).trimmed());

    const std::vector<int> codes = KesMfgBaseGII::GetReportedCodes();
    if (codes.size() < codesShown_) {
        codesShown_ = 0; // read and cleared by someone else meanwhile
    }
    if (codes.size() > codesShown_) {
        status_->showMessage(QString::fromStdString(KesMfgBaseGII::GetCodeText(codes.back())));
    }
    codesShown_ = codes.size();
}

QString KesPanelWindow::OpenValues(const QString& file, QStringList* report) {
    const KesValuesFile::Result read =
        KesValuesFile::Read(file.toStdString(), driver_.Attributes());
    if (report != nullptr) {
        for (const std::string& line : read.report) {
            report->append(QString::fromStdString(line));
        }
    }
    history_->CommitCall(); // a caller's change of values ends the history
    Refresh();
    return QString::fromStdString(read.error);
}

bool KesPanelWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType() &&
        isAncestorOf(static_cast<QWidget*>(watched))) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (const QAction* action : {undo_, redo_}) {
            if (action->shortcuts().contains(pressed)) {
                return true; // not taken by the field: the shortcut goes to the action
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool KesPanelWindow::SaveValues(const QString& file) {
    std::ofstream out(file.toStdString());
    out << KesValuesFile::Write(driver_.Attributes(), frame_.GetName().Str());
    return static_cast<bool>(out.flush());
}

void KesPanelWindow::FitToScreen() {
    const QScreen* shown = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    const QSize panel = view_->Widget() != nullptr ? view_->Widget()->sizeHint() : QSize();
    // The panel whole, and the panes beside it as wide as the panel or 480 pixels at least.
    QSize wanted(panel.width() + std::max(panel.width(), 480) + 24,
                 std::max(panel.height() + 80, 480));
    if (shown != nullptr) {
        wanted = wanted.boundedTo(shown->availableSize());
    }
    resize(wanted);
    columns_->setSizes({panel.width(), wanted.width() - panel.width()});
}

bool KesPanelWindow::SavePicture(const QString& file) {
    // zlib's fastest level: most of a picture's time went into compressing it.
    return grab().save(file, "PNG", 80);
}
