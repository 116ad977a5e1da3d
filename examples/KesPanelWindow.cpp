// kes-panel's window: the panel's view on the left, the notifications and the value records on
// the right, refreshed after every gesture.
#include "KesPanelWindow.h"

#include "KesNotificationLogFrame.h"
#include "KesSubPanels.h"
#include "KesUndoActions.h"

#include "framework/KesMfgValueRecords.h"
#include "platform/KesMfgBaseGII.h"
#include "platform/KesMfgBaseGIIService.h"
#include "qt/KesQtPanelView.h"
#include "tools/KesAtomicFile.h"
#include "tools/KesPanelDriver.h"
#include "tools/KesPanelHistory.h"
#include "tools/KesValuesFile.h"

#include <QFileDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>
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

class KesPanelWindow::MessageService final : public KesMfgBaseGIIService {
public:
    explicit MessageService(QStatusBar& status)
        : status_(status), previous_(KesMfgBaseGII::Install(this)) {}
    ~MessageService() override { KesMfgBaseGII::Install(previous_); }
    MessageService(const MessageService&) = delete;
    MessageService& operator=(const MessageService&) = delete;
    void SetGIIError(int code, int reserved) override {
        status_.showMessage(QString::fromStdString(KesMfgBaseGII::GetCodeText(code)));
        previous_->SetGIIError(code, reserved);
    }

private:
    QStatusBar& status_;
    KesMfgBaseGIIService* previous_;
};

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
    // The panel keeps its width when the window grows; the panes take the rest and, where the
    // window is too narrow for both, give way (down to nothing).
    columns->setStretchFactor(0, 0);
    columns->setStretchFactor(1, 1);
    columns->setCollapsible(0, false);
    columns->setCollapsible(1, true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(columns, 1);
    status_ = new QStatusBar(this);
    status_->setSizeGripEnabled(false);
    layout->addWidget(status_);
    messages_ = std::make_unique<MessageService>(*status_);

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
    undoActions_ = std::make_unique<KesUndoActions>(*edit, *this, *history_, [this] {
        Refresh();
        ShowShortfall();
    });
    layout->setMenuBar(menus);

    view_->SetAfterGesture([this] {
        history_->CommitGesture();
        Refresh();
    });
    Refresh();
    FitToScreen();
}

// The view goes first, while the Qt widgets it mirrors into still stand.
KesPanelWindow::~KesPanelWindow() {
    subPanels_.reset();
    view_.reset();
}

void KesPanelWindow::OpenSubPanels(const KesPanelDescription& description) {
    subPanels_ = std::make_unique<KesSubPanels>(frame_, description, driver_.Attributes(), this);
    subPanels_->SetChanged([this] {
        history_->CommitGesture();
        Refresh();
    });
    subPanels_->SetRefused(
        [this](const std::string& fault) { status_->showMessage(QString::fromStdString(fault)); });
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
    undoActions_->RefreshWithRefusals();
    if (subPanels_ != nullptr) {
        subPanels_->Remember(); // what Cancel of a sub-panel puts back
    }
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

bool KesPanelWindow::SaveValues(const QString& file) {
    // Written whole or not at all: a failed save keeps the file as it was.
    const std::string failure = KesWriteFileAtomically(
        file.toStdString(), KesValuesFile::Write(driver_.Attributes(), frame_.GetName().Str()));
    if (!failure.empty()) {
        return false;
    }
    status_->showMessage(QStringLiteral("Saved values to %1").arg(file));
    return true;
}

void KesPanelWindow::FitToScreen() {
    ensurePolished(); // the sizes of the panes and bars as Qt's style draws them
    // The room: the smallest screen the window is made for, or the screen's own when smaller
    // (an offscreen platform's nominal screen is none a person sees), less a title bar and a
    // border.
    QSize room(kScreenWidth, kScreenHeight);
    const QScreen* shown = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (shown != nullptr && QGuiApplication::platformName() != QLatin1String("offscreen")) {
        room = room.boundedTo(shown->availableSize());
    }
    room -= QSize(16, 40);
    // Around the columns: the window's margins, the menu bar and the status bar.
    const QMargins margins = layout()->contentsMargins();
    const int aroundWidth = margins.left() + margins.right();
    const int aroundHeight = margins.top() + margins.bottom() + layout()->spacing() +
                             layout()->menuBar()->sizeHint().height() +
                             status_->sizeHint().height();
    // The panel whole where the room allows (a taller one scrolls, never sideways); the panes
    // take the rest of the room's width.
    const QSize panel = view_->PanelSizeHint();
    resize(room.width(), std::clamp(panel.height() + aroundHeight, std::min(480, room.height()),
                                    std::max(room.height(), 1)));
    const int columns = room.width() - aroundWidth;
    const int panelSide = std::min(panel.width(), columns);
    columns_->setSizes({panelSide, std::max(columns - panelSide - columns_->handleWidth(), 0)});
}

bool KesPanelWindow::SavePicture(const QString& file) {
    // Written whole or not at all: a failed write keeps the old picture.
    QSaveFile out(file);
    // zlib's fastest level: most of a picture's time went into compressing it.
    return out.open(QIODevice::WriteOnly) && grab().save(&out, "PNG", 80) && out.commit();
}
