// kes-host's operation dialog: the panel of an operation, its values pushed in and collected
// back.
#include "KesHostOperationDialog.h"

#include "KesSubPanels.h"
#include "KesUndoActions.h"

#include "framework/KesMfgAttribute.h"
#include "qt/KesQtPanelView.h"
#include "tools/KesPanelBuilder.h"
#include "tools/KesPanelFile.h"
#include "tools/KesPanelHistory.h"
#include "tools/KesValuesFile.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

KesHostOperationDialog::KesHostOperationDialog(const KesHostOperation& operation,
                                               const QString& documentFolder, QWidget* parent)
    : QDialog(parent), operation_(operation), documentFolder_(documentFolder),
      frame_(KesString(operation.name.empty() ? std::string("Operation") : operation.name)) {
    setObjectName(QStringLiteral("operationDialog"));
    setWindowTitle(QString::fromStdString(operation.name));
}

KesHostOperationDialog::~KesHostOperationDialog() {
    undoActions_.reset();
    subPanels_.reset();
    history_.reset();
    view_.reset(); // while the Qt widgets it mirrors into still stand
    // The attributes go with the frame, after everything that watches them.
}

const std::vector<KesMfgAttribute*>& KesHostOperationDialog::Attributes() const {
    static const std::vector<KesMfgAttribute*> none;
    return builder_ != nullptr ? builder_->Attributes() : none;
}

QString KesHostOperationDialog::Load(QStringList* report) {
    const QString panelPath =
        QDir(documentFolder_).filePath(QString::fromStdString(operation_.panel));
    std::vector<std::string> warnings;
    const std::string readFault =
        KesPanelFile::Read(panelPath.toStdString(), description_, warnings, false);
    if (!readFault.empty()) {
        return QString::fromStdString(readFault);
    }
    builder_ = std::make_unique<KesPanelBuilder>();
    const std::string buildFault = builder_->BuildOverModel(description_, frame_);
    if (!buildFault.empty()) {
        builder_.reset();
        return panelPath + QStringLiteral(": ") + QString::fromStdString(buildFault);
    }
    if (report != nullptr) {
        for (const std::string& warning : builder_->Warnings()) {
            report->append(panelPath + QStringLiteral(": ") + QString::fromStdString(warning));
        }
    }

    // The stored values, pushed as a caller pushes them; then the impacts of what steers.
    if (!operation_.values.empty()) {
        const KesValuesFile::Result pushed =
            KesValuesFile::Parse(operation_.values, operation_.name, builder_->Attributes());
        if (report != nullptr) {
            if (!pushed.IsValuesFile()) {
                report->append(QString::fromStdString(pushed.error));
            }
            for (const std::string& line : pushed.report) {
                report->append(QString::fromStdString(line));
            }
        }
        for (KesMfgAttribute* attribute : builder_->Attributes()) {
            attribute->ImpactAttributes();
        }
    }

    view_ = std::make_unique<KesQtPanelView>(frame_, this);
    history_ = std::make_unique<KesPanelHistory>(frame_);
    subPanels_ = std::make_unique<KesSubPanels>(frame_, description_, builder_->Attributes(), this);
    subPanels_->SetChanged([this] { AfterChange(); });
    subPanels_->SetRefused([this](const std::string& fault) {
        if (message_) {
            message_(QString::fromStdString(fault));
        }
    });

    auto* menus = new QMenuBar(this);
    QMenu* edit = menus->addMenu(QStringLiteral("&Edit"));
    undoActions_ =
        std::make_unique<KesUndoActions>(*edit, *this, *history_, [this] { AfterChange(); });

    buttons_ = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Apply | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, [this] {
        Apply();
        accept();
    });
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons_->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            [this] { Apply(); });

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menus);
    layout->addWidget(view_->Widget(), 1);
    layout->addWidget(buttons_);

    view_->SetAfterGesture([this] {
        history_->CommitGesture();
        AfterChange();
    });
    AfterChange();
    return QString();
}

std::string KesHostOperationDialog::Collect() const {
    return KesValuesFile::Write(Attributes(), description_.title);
}

QPushButton* KesHostOperationDialog::Button(int standardButton) const {
    return buttons_ != nullptr
               ? buttons_->button(static_cast<QDialogButtonBox::StandardButton>(standardButton))
               : nullptr;
}

void KesHostOperationDialog::Apply() {
    operation_.values = Collect();
    if (collected_) {
        collected_(operation_.values);
    }
}

// After a gesture, an undo or a sub-dialog's answer: the history takes what changed without a
// gesture of its own, Cancel of a sub-dialog puts back what is there now, Edit names its steps.
void KesHostOperationDialog::AfterChange() {
    history_->CommitGesture();
    subPanels_->Remember();
    undoActions_->Refresh();
}
