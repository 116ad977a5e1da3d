// KesHostWindow: kes-host's main window, a small CAM host showing the whole life of a dialog.
//
// The part document (KesHostDocument) is the host's data: its parameters in a table (add, edit,
// remove; name, type, value, units) and its operations in a list, each opening its panel in a
// modal dialog (KesHostOperationDialog) whose OK and Apply store the collected values in the
// operation. The host installs its own services for as long as the window lives: the model
// (KesHostModelService, over the document: a parameter a dialog creates is a row of the table at
// once), the settings (spinner steps in QSettings) and the messages (each code with its text in
// the message pane and the status bar).
//
// File: New, Open..., Save, Save As..., Quit; the title is marked while unsaved changes exist.
// Saving is atomic (QSaveFile): a save that fails leaves the old file whole and says why. A
// document that cannot be read is refused with one message naming the file, the line and what
// is wrong, and the open document stays.
#pragma once

#include "KesHostDocument.h"
#include "KesHostModelService.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <memory>

class KesHostOperationDialog;
class KesMfgBaseGIIService;
class KesMfgModelService;
class KesMfgSettingService;
class QListWidget;
class QPlainTextEdit;
class QTableWidget;
class QTableWidgetItem;

class KesHostWindow : public QMainWindow {
public:
    // Columns of the parameter table.
    enum Column { kName, kType, kValue, kUnits, kColumnCount };

    explicit KesHostWindow(QWidget* parent = nullptr);
    ~KesHostWindow() override;
    KesHostWindow(const KesHostWindow&) = delete;
    KesHostWindow& operator=(const KesHostWindow&) = delete;

    // What the File menu does, without its questions and file pickers. Each answers "" on
    // success, else why (then the document and its file are as they were).
    void NewDocument();
    QString OpenDocument(const QString& path);
    QString SaveDocument(const QString& path);

    // Opens operation `index` in its dialog (modal, shown without blocking). Null, with the
    // messages in `error`, when its panel cannot be opened (then nothing changed).
    KesHostOperationDialog* OpenOperation(int index, QString* error = nullptr);

    // Adds a parameter (a real named NEW_1, NEW_2, ...) and answers its row.
    int AddParameter();
    // Removes the parameter of `row`; false when there is none.
    bool RemoveParameter(int row);

    const KesHostDocument& Document() const { return document_; }
    const QString& DocumentPath() const { return path_; }
    QTableWidget* ParameterTable() const { return parameters_; }
    QListWidget* OperationList() const { return operations_; }
    QPlainTextEdit* MessagePane() const { return messages_; }
    KesHostOperationDialog* OpenDialog() const { return dialog_; }
    // Shows a message in the message pane and the status bar.
    void ShowMessage(const QString& message);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    class MessageService;
    class SettingService;

    void FillTable();
    void FillOperations();
    void TableEdited(QTableWidgetItem* item);
    void SetDocument(KesHostDocument document, const QString& path);
    void UpdateTitle();
    // Asks whether unsaved changes may go (Save, Discard, Cancel); true when they may.
    bool MayDiscard();
    bool SaveFromMenu(bool choosePath);

    KesHostDocument document_;
    QString path_;
    KesHostModelService model_{document_};
    std::unique_ptr<MessageService> messageService_;
    std::unique_ptr<SettingService> settingService_;
    KesMfgModelService* previousModel_ = nullptr;
    KesMfgBaseGIIService* previousMessages_ = nullptr;
    KesMfgSettingService* previousSettings_ = nullptr;
    QTableWidget* parameters_ = nullptr;
    QListWidget* operations_ = nullptr;
    QPlainTextEdit* messages_ = nullptr;
    QPointer<KesHostOperationDialog> dialog_;
    bool filling_ = false; // the table is being filled: its changes are not edits
};
