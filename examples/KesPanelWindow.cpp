// kes-panel's window: the panel's view on the left, the notifications and the value records on
// the right, refreshed after every gesture.
#include "KesPanelWindow.h"

#include "KesNotificationLogFrame.h"

#include "framework/KesMfgValueRecords.h"
#include "qt/KesQtPanelView.h"
#include "tools/KesPanelDriver.h"

#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>

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

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(columns);
    resize(kWidth, kHeight);

    view_->SetAfterGesture([this] { Refresh(); });
    Refresh();
}

// The view goes first, while the Qt widgets it mirrors into still stand.
KesPanelWindow::~KesPanelWindow() {
    view_.reset();
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
}

bool KesPanelWindow::SavePicture(const QString& file) {
    return grab().save(file, "PNG");
}
