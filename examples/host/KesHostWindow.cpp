// kes-host's main window: the document's parameters and operations, the File menu, and the
// services the host installs.
//
//   1. The services
//   2. The window
//   3. The document: new, open, save
//   4. The parameter table
//   5. The operations
#include "KesHostWindow.h"

#include "KesHostOperationDialog.h"

#include "platform/KesMfgBaseGII.h"
#include "platform/KesMfgBaseGIIService.h"
#include "platform/KesMfgModel.h"
#include "platform/KesMfgSetting.h"
#include "platform/KesMfgSettingService.h"

#include <cmath>

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTableWidget>
#include <QVBoxLayout>

// ---------------------------------------------------------------------------------------------
// 1. The services
// ---------------------------------------------------------------------------------------------

// The codes the dialogs report, with their texts, in the message pane and the status bar.
class KesHostWindow::MessageService final : public KesMfgBaseGIIService {
public:
    explicit MessageService(KesHostWindow& window) : window_(window) {}
    void SetGIIError(int code, int) override {
        window_.ShowMessage(QStringLiteral("Code %1: %2")
                                .arg(code)
                                .arg(QString::fromStdString(KesMfgBaseGII::GetCodeText(code))));
    }

private:
    KesHostWindow& window_;
};

// The spinner steps (and any real a dialog keeps) in Qt's settings store, under the host's
// organisation and application names, one group per setting file name.
class KesHostWindow::SettingService final : public KesMfgSettingService {
public:
    bool ReadSetting(const KesUnicodeString& key, double* value,
                     const KesString& fileName) override {
        QSettings settings;
        const QVariant stored = settings.value(Key(key, fileName));
        bool read = false;
        const double number = stored.toDouble(&read);
        if (!stored.isValid() || !read || !std::isfinite(number)) {
            return false;
        }
        *value = number;
        return true;
    }
    bool WriteSetting(const KesUnicodeString& key, const double* value,
                      const KesString& fileName) override {
        if (value == nullptr || !std::isfinite(*value) || fileName.Str().empty()) {
            return false;
        }
        QSettings settings;
        settings.setValue(Key(key, fileName), *value);
        settings.sync();
        return settings.status() == QSettings::NoError;
    }

private:
    // "MFGPROG/KesMfgAttDoubleParam.Feed_Rate.step": a slash in the key would make a group.
    static QString Key(const KesUnicodeString& key, const KesString& fileName) {
        return QString::fromStdString(fileName.Str()) + QLatin1Char('/') +
               QString::fromStdString(key.Str()).replace(QLatin1Char('/'), QLatin1Char('_'));
    }
};

// ---------------------------------------------------------------------------------------------
// 2. The window
// ---------------------------------------------------------------------------------------------

KesHostWindow::KesHostWindow(QWidget* parent)
    : QMainWindow(parent), messageService_(std::make_unique<MessageService>(*this)),
      settingService_(std::make_unique<SettingService>()) {
    setObjectName(QStringLiteral("kesHost"));
    previousModel_ = KesMfgModel::Install(&model_);
    previousMessages_ = KesMfgBaseGII::Install(messageService_.get());
    previousSettings_ = KesMfgSetting::Install(settingService_.get());
    model_.SetChanged([this](const std::string&) {
        FillTable();
        setWindowModified(true);
    });

    auto* columns = new QSplitter(Qt::Horizontal, this);
    auto* parameterBox = new QGroupBox(QStringLiteral("Model parameters"), columns);
    parameters_ = new QTableWidget(0, kColumnCount, parameterBox);
    parameters_->setObjectName(QStringLiteral("parameters"));
    parameters_->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Type"),
                                            QStringLiteral("Value"), QStringLiteral("Units")});
    parameters_->horizontalHeader()->setStretchLastSection(true);
    parameters_->verticalHeader()->hide();
    parameters_->setSelectionBehavior(QAbstractItemView::SelectRows);
    connect(parameters_, &QTableWidget::itemChanged, this,
            [this](QTableWidgetItem* item) { TableEdited(item); });
    auto* add = new QPushButton(QStringLiteral("&Add parameter"), parameterBox);
    connect(add, &QPushButton::clicked, this,
            [this] { parameters_->editItem(parameters_->item(AddParameter(), kName)); });
    auto* remove = new QPushButton(QStringLiteral("&Remove parameter"), parameterBox);
    connect(remove, &QPushButton::clicked, this,
            [this] { RemoveParameter(parameters_->currentRow()); });
    auto* parameterButtons = new QHBoxLayout;
    parameterButtons->addWidget(add);
    parameterButtons->addWidget(remove);
    parameterButtons->addStretch(1);
    auto* parameterLayout = new QVBoxLayout(parameterBox);
    parameterLayout->addWidget(parameters_, 1);
    parameterLayout->addLayout(parameterButtons);

    auto* right = new QSplitter(Qt::Vertical, columns);
    auto* operationBox = new QGroupBox(QStringLiteral("Operations"), right);
    operations_ = new QListWidget(operationBox);
    operations_->setObjectName(QStringLiteral("operations"));
    connect(operations_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { OpenOperation(operations_->row(item)); });
    auto* edit = new QPushButton(QStringLiteral("&Edit operation..."), operationBox);
    connect(edit, &QPushButton::clicked, this,
            [this] { OpenOperation(operations_->currentRow()); });
    auto* operationLayout = new QVBoxLayout(operationBox);
    operationLayout->addWidget(operations_, 1);
    operationLayout->addWidget(edit);
    auto* messageBox = new QGroupBox(QStringLiteral("Messages"), right);
    messages_ = new QPlainTextEdit(messageBox);
    messages_->setObjectName(QStringLiteral("messages"));
    messages_->setReadOnly(true);
    auto* messageLayout = new QVBoxLayout(messageBox);
    messageLayout->addWidget(messages_);
    setCentralWidget(columns);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&New"), QKeySequence::New, this, [this] {
        if (MayDiscard()) {
            NewDocument();
        }
    });
    file->addAction(QStringLiteral("&Open..."), QKeySequence::Open, this, [this] {
        if (!MayDiscard()) {
            return;
        }
        const QString name =
            QFileDialog::getOpenFileName(this, QStringLiteral("Open part"), QFileInfo(path_).path(),
                                         QStringLiteral("Parts (*.json)"));
        const QString error = name.isEmpty() ? QString() : OpenDocument(name);
        if (!error.isEmpty()) {
            QMessageBox::warning(this, QStringLiteral("Open part"), error);
        }
    });
    file->addAction(QStringLiteral("&Save"), QKeySequence::Save, this,
                    [this] { SaveFromMenu(false); });
    file->addAction(QStringLiteral("Save &As..."), QKeySequence::SaveAs, this,
                    [this] { SaveFromMenu(true); });
    file->addSeparator();
    file->addAction(QStringLiteral("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), this,
                    &QWidget::close);

    resize(1000, 640);
    NewDocument();
}

KesHostWindow::~KesHostWindow() {
    delete dialog_; // its panel reads the model while it goes
    KesMfgModel::Install(previousModel_);
    KesMfgBaseGII::Install(previousMessages_);
    KesMfgSetting::Install(previousSettings_);
}

void KesHostWindow::ShowMessage(const QString& message) {
    messages_->appendPlainText(message);
    statusBar()->showMessage(message);
}

void KesHostWindow::closeEvent(QCloseEvent* event) {
    if (MayDiscard()) {
        event->accept();
    } else {
        event->ignore();
    }
}

// ---------------------------------------------------------------------------------------------
// 3. The document: new, open, save
// ---------------------------------------------------------------------------------------------

void KesHostWindow::NewDocument() {
    SetDocument(KesHostDocument(), QString());
}

QString KesHostWindow::OpenDocument(const QString& path) {
    if (dialog_ != nullptr) {
        return QStringLiteral("An operation's dialog is open: close it first.");
    }
    KesHostDocument read;
    const std::string error = KesHostDocument::Read(path.toStdString(), read);
    if (!error.empty()) {
        ShowMessage(QString::fromStdString(error));
        return QString::fromStdString(error);
    }
    SetDocument(std::move(read), QFileInfo(path).absoluteFilePath());
    ShowMessage(QStringLiteral("Opened %1").arg(path));
    return QString();
}

QString KesHostWindow::SaveDocument(const QString& path) {
    // Written whole to a temporary file beside the target, then renamed over it: the old file
    // stays as it was unless the new one is complete.
    QSaveFile file(path);
    const QByteArray text = QByteArray::fromStdString(document_.Write());
    QString error;
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
    } else if (file.write(text) != text.size()) {
        error = file.errorString();
        file.cancelWriting();
    } else if (!file.commit()) {
        error = file.errorString();
    }
    if (QFileInfo(path).isDir()) {
        error = QStringLiteral("it is a folder");
    }
    if (!error.isEmpty()) {
        const QString message = QStringLiteral("Cannot save %1: %2").arg(path, error);
        ShowMessage(message);
        return message;
    }
    path_ = QFileInfo(path).absoluteFilePath();
    setWindowModified(false);
    UpdateTitle();
    ShowMessage(QStringLiteral("Saved %1").arg(path));
    return QString();
}

void KesHostWindow::SetDocument(KesHostDocument document, const QString& path) {
    document_ = std::move(document);
    path_ = path;
    FillTable();
    FillOperations();
    setWindowModified(false);
    UpdateTitle();
}

void KesHostWindow::UpdateTitle() {
    const QString name = path_.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(path_).fileName();
    setWindowTitle(QStringLiteral("%1[*] - kes-host").arg(name));
}

bool KesHostWindow::MayDiscard() {
    if (!isWindowModified()) {
        return true;
    }
    const auto answer = QMessageBox::question(
        this, QStringLiteral("kes-host"), QStringLiteral("The part has unsaved changes."),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Save) {
        return SaveFromMenu(false);
    }
    return answer == QMessageBox::Discard;
}

bool KesHostWindow::SaveFromMenu(bool choosePath) {
    QString path = path_;
    if (choosePath || path.isEmpty()) {
        path = QFileDialog::getSaveFileName(this, QStringLiteral("Save part"), path_,
                                            QStringLiteral("Parts (*.json)"));
        if (path.isEmpty()) {
            return false;
        }
    }
    const QString error = SaveDocument(path);
    if (!error.isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("Save part"), error);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// 4. The parameter table
// ---------------------------------------------------------------------------------------------

void KesHostWindow::FillTable() {
    filling_ = true;
    const QString current =
        parameters_->currentRow() >= 0 && parameters_->item(parameters_->currentRow(), kName)
            ? parameters_->item(parameters_->currentRow(), kName)->text()
            : QString();
    parameters_->setRowCount(static_cast<int>(document_.parameters.size()));
    for (int row = 0; row < parameters_->rowCount(); ++row) {
        const KesHostParameter& parameter = document_.parameters[static_cast<size_t>(row)];
        const QString texts[kColumnCount] = {
            QString::fromStdString(parameter.name),
            QString::fromLatin1(KesHostParameter::TypeName(parameter.type)),
            QString::fromStdString(parameter.ValueText()),
            QString::fromStdString(parameter.UnitsText())};
        for (int column = 0; column < kColumnCount; ++column) {
            auto* item = new QTableWidgetItem(texts[column]);
            parameters_->setItem(row, column, item);
            if (column == kName && texts[column] == current) {
                parameters_->setCurrentCell(row, kName);
            }
        }
    }
    filling_ = false;
}

void KesHostWindow::TableEdited(QTableWidgetItem* item) {
    if (filling_ || item == nullptr) {
        return;
    }
    const int row = item->row();
    if (row < 0 || row >= static_cast<int>(document_.parameters.size())) {
        return;
    }
    KesHostParameter& parameter = document_.parameters[static_cast<size_t>(row)];
    const std::string text = item->text().toStdString();
    QString refused;
    switch (item->column()) {
    case kName: {
        // A parameter is renamed only to a free, well-formed name (the model's rule).
        if (text == parameter.name) {
            break;
        }
        if (document_.Find(text) != nullptr) {
            refused = QStringLiteral("a parameter named %1 exists already").arg(item->text());
        } else if (!KesHostParameter::IsWellFormedName(text)) {
            refused = QStringLiteral("a name has 1 to 72 characters, no blank or control "
                                     "character");
        } else {
            parameter.name = text;
        }
        break;
    }
    case kType: {
        // A new type starts from that type's empty value: 0, 0.0 or an empty text.
        int type = 0;
        while (type <= 3 && text != KesHostParameter::TypeName(type)) {
            ++type;
        }
        if (type > 3) {
            refused = QStringLiteral("the types are boolean, integer, real and text");
        } else if (type != parameter.type) {
            parameter.type = type;
            parameter.integers.clear();
            parameter.reals.clear();
            parameter.texts.clear();
            parameter.SetValueText(type == 3 ? std::string() : std::string("0"));
        }
        break;
    }
    case kValue:
        if (!parameter.SetValueText(text)) {
            refused = QStringLiteral("'%1' is not a %2 value")
                          .arg(item->text(),
                               QString::fromLatin1(KesHostParameter::TypeName(parameter.type)));
        }
        break;
    case kUnits:
        if (!parameter.SetUnitsText(text)) {
            refused = QStringLiteral("units are three integers, as 1 2 0");
        }
        break;
    default:
        break;
    }
    if (!refused.isEmpty()) {
        ShowMessage(QStringLiteral("Parameter %1: %2")
                        .arg(QString::fromStdString(parameter.name), refused));
    } else {
        setWindowModified(true);
    }
    FillTable(); // shows what the document holds: a refused edit goes back
}

int KesHostWindow::AddParameter() {
    int number = 1;
    while (document_.Find("NEW_" + std::to_string(number)) != nullptr) {
        ++number;
    }
    KesHostParameter parameter;
    parameter.name = "NEW_" + std::to_string(number);
    parameter.reals = {0.0};
    document_.parameters.push_back(std::move(parameter));
    FillTable();
    setWindowModified(true);
    return parameters_->rowCount() - 1;
}

bool KesHostWindow::RemoveParameter(int row) {
    if (row < 0 || row >= static_cast<int>(document_.parameters.size())) {
        return false;
    }
    document_.parameters.erase(document_.parameters.begin() + row);
    FillTable();
    setWindowModified(true);
    return true;
}

// ---------------------------------------------------------------------------------------------
// 5. The operations
// ---------------------------------------------------------------------------------------------

void KesHostWindow::FillOperations() {
    operations_->clear();
    for (const KesHostOperation& operation : document_.operations) {
        operations_->addItem(QStringLiteral("%1  (%2)")
                                 .arg(QString::fromStdString(operation.name),
                                      QString::fromStdString(operation.panel)));
    }
    if (operations_->count() > 0) {
        operations_->setCurrentRow(0);
    }
}

KesHostOperationDialog* KesHostWindow::OpenOperation(int index, QString* error) {
    QString refused;
    if (dialog_ != nullptr) {
        refused = QStringLiteral("An operation's dialog is open already.");
    } else if (index < 0 || index >= static_cast<int>(document_.operations.size())) {
        refused = QStringLiteral("No operation is chosen.");
    }
    const QString folder = path_.isEmpty() ? QDir::currentPath() : QFileInfo(path_).path();
    std::unique_ptr<KesHostOperationDialog> dialog;
    QStringList report;
    if (refused.isEmpty()) {
        dialog = std::make_unique<KesHostOperationDialog>(
            document_.operations[static_cast<size_t>(index)], folder, this);
        refused = dialog->Load(&report);
    }
    if (!refused.isEmpty()) {
        ShowMessage(refused);
        if (error != nullptr) {
            *error = refused;
        } else {
            QMessageBox::warning(this, QStringLiteral("Open operation"), refused);
        }
        return nullptr;
    }
    for (const QString& line : report) {
        ShowMessage(line);
    }
    dialog->SetMessage([this](const QString& message) { ShowMessage(message); });
    dialog->SetCollected([this, index](const std::string& values) {
        KesHostOperation& operation = document_.operations[static_cast<size_t>(index)];
        if (operation.values != values) {
            operation.values = values;
            setWindowModified(true);
        }
    });
    dialog_ = dialog.release();
    dialog_->setAttribute(Qt::WA_DeleteOnClose);
    dialog_->open();
    return dialog_;
}
