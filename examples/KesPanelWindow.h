// KesPanelWindow: kes-panel's window. The panel in real Qt widgets (a KesQtPanelView) beside
// the two panes a dialog engineer watches while trying it: the notifications the panel's frame
// has received, and the value records a caller collects ("values", then "output" for groups 1
// and 2). Both panes are refreshed after every gesture in the panel; the messages the
// manufacturing model reports to the user meanwhile (a parameter created, a name taken) show in
// the status bar. Edit > Undo and Redo take back and apply again the window's gestures
// (KesPanelHistory); File > Open values... and Save values... read and write values files
// (KesValuesFile); File > Quit (Ctrl+Q) closes the window.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

class KesMfgBaseGIIService;
class KesNotificationLogFrame;
class KesSubPanels;
struct KesPanelDescription;
class KesPanelDriver;
class KesPanelHistory;
class KesUndoActions;
class KesQtPanelView;
class QPlainTextEdit;
class QSplitter;
class QStatusBar;

class KesPanelWindow : public QWidget {
public:
    // The smallest screen the window is made for: on it or any larger one, the window opens
    // at one size, that of its pictures (a title bar and a border take the rest).
    static constexpr int kScreenWidth = 1280;
    static constexpr int kScreenHeight = 800;

    // Mirrors the panel of `frame`; the attributes whose records are shown are those the
    // driver finds in it. Both must outlive the window. Builds the panes at once.
    KesPanelWindow(KesNotificationLogFrame& frame, const KesPanelDriver& driver,
                   QWidget* parent = nullptr);
    ~KesPanelWindow() override;
    KesPanelWindow(const KesPanelWindow&) = delete;
    KesPanelWindow& operator=(const KesPanelWindow&) = delete;

    // Reads the frame's notifications and the attributes' records again into the panes, and
    // shows the latest message reported since the last refresh in the status bar.
    void Refresh();
    // Shows in the status bar what the last undo or redo did not bring back.
    void ShowShortfall();
    // Sizes the window to its panel, whole beside the panes where it fits (the panes give way),
    // for a screen of kScreenWidth x kScreenHeight or the window's own when it is smaller. Done
    // when the window is made (and so --gui and --png show one size).
    void FitToScreen();
    // Writes a picture of the window as it stands (PNG), in a whole: a temporary file renamed
    // over `file`. False when it cannot be written (an old file is kept).
    bool SavePicture(const QString& file);
    // Pushes a values file in as a caller does (the history ends); answers "" or why it is not
    // a values file, and the report lines in `report`.
    QString OpenValues(const QString& file, QStringList* report = nullptr);
    // False when the file cannot be written; else the status bar says where the values went.
    bool SaveValues(const QString& file);
    // Opens the sub-panel of each link of the panel whose description has one when its button
    // is pressed (KesSubPanels). `description` must outlive the window.
    void OpenSubPanels(const KesPanelDescription& description);

private:
    KesNotificationLogFrame& frame_;
    const KesPanelDriver& driver_;
    std::unique_ptr<KesQtPanelView> view_;
    QPlainTextEdit* notifications_ = nullptr;
    QPlainTextEdit* records_ = nullptr;
    std::unique_ptr<KesPanelHistory> history_;    // of the gestures made in the window
    std::unique_ptr<KesUndoActions> undoActions_; // Edit's Undo and Redo over the history
    QSplitter* columns_ = nullptr;
    QStatusBar* status_ = nullptr;
    std::unique_ptr<KesSubPanels> subPanels_;
    // The message service installed while the window lives: each code and its text in the
    // status bar, then on to the service it replaced.
    class MessageService;
    std::unique_ptr<MessageService> messages_;
};
