// Builds against the installed Qt component: a one-attribute panel shown in Qt widgets,
// offscreen, follows a value the caller pushes.
#include "platform/KesDlgTestFrame.h"
#include "qt/KesQtPanelView.h"
#include "single/KesMfgAttInt.h"

#include <QAbstractSpinBox>
#include <QApplication>

#include <iostream>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    KesDlgTestFrame frame;
    auto* tool = new KesMfgAttInt("Tool", "Tool number", 4, 1, 10, 0, &frame, 1);
    tool->Display();
    KesQtPanelView view(frame);
    auto* spinner = qobject_cast<QAbstractSpinBox*>(view.Find(*tool->GetSpinnerWidget()));
    KesRawCollint pushed{7};
    tool->SetAttValue(&pushed, nullptr, nullptr, 0);
    const bool ok = spinner != nullptr && spinner->text().trimmed() == "7";
    std::cout << (ok ? "Qt consumer ok" : "Qt consumer FAILED") << std::endl;
    return ok ? 0 : 1;
}
