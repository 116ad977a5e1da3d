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

class KesNotificationLogFrame;
class KesPanelDriver;
class KesPanelHistory;
class QAction;
class KesQtPanelView;
class QPlainTextEdit;
class QSplitter;
class QStatusBar;

class KesPanelWindow : public QWidget {
public:
    // The size the window opens with, and so the size of its pictures.
    static constexpr int kWidth = 1280;
    static constexpr int kHeight = 820;

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
    void ShowShortfall();
    // Sizes the window to its panel (the panes beside it), within the screen.
    void FitToScreen();
    // Writes a picture of the window as it stands (PNG); false when the file cannot be written.
    bool SavePicture(const QString& file);
    // Pushes a values file in as a caller does (the history ends); answers "" or why it is not
    // a values file, and the report lines in `report`.
    QString OpenValues(const QString& file, QStringList* report = nullptr);
    // False when the file cannot be written.
    bool SaveValues(const QString& file);

protected:
    // Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y reach Edit's items even from a field with an undo of its
    // own: a gesture is committed when it reaches the panel, so the panel's undo is the one.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KesNotificationLogFrame& frame_;
    const KesPanelDriver& driver_;
    std::unique_ptr<KesQtPanelView> view_;
    QPlainTextEdit* notifications_ = nullptr;
    QPlainTextEdit* records_ = nullptr;
    std::unique_ptr<KesPanelHistory> history_; // of the gestures made in the window
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QSplitter* columns_ = nullptr;
    QStatusBar* status_ = nullptr;
    size_t codesShown_ = 0; // reported codes already shown in the status bar
};
