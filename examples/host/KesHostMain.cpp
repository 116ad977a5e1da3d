// kes-host: the reference host. Opens a part document (or a new one) in its window.
#include "KesHostOperationDialog.h"
#include "KesHostWindow.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstring>
#include <iostream>
#include <string>

namespace {

constexpr const char* kUsage =
    "Usage: kes-host [DOCUMENT]\n"
    "       kes-host --time-dialog OPERATION DOCUMENT\n"
    "\n"
    "A CAM host over the attributes: a part document's model parameters in a table and its\n"
    "operations, each opening its panel in a dialog (OK, Apply, Cancel) whose values are\n"
    "stored with the operation. File > Open... and Save read and write part documents\n"
    "(docs/host-documents.md); an example is examples/host/part.json.\n"
    "\n"
    "  DOCUMENT                     the part document to open\n"
    "  --time-dialog OPERATION      open operation OPERATION (its number, from 1) of DOCUMENT,\n"
    "                               show its dialog, print the milliseconds from the start of\n"
    "                               opening to the dialog shown, and quit\n"
    "  --help                       print this help and quit\n";

} // namespace

int main(int argc, char** argv) {
    std::string document;
    int timedOperation = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (argument == "--time-dialog" && i + 1 < argc) {
            timedOperation = std::atoi(argv[++i]);
            if (timedOperation < 1) {
                std::cerr << "kes-host: --time-dialog takes an operation number from 1\n";
                return 2;
            }
        } else if (!argument.empty() && argument[0] == '-') {
            std::cerr << "kes-host: unknown option '" << argument << "'\n" << kUsage;
            return 2;
        } else if (document.empty()) {
            document = argument;
        } else {
            std::cerr << "kes-host: one document at most\n" << kUsage;
            return 2;
        }
    }
    if (timedOperation > 0 && document.empty()) {
        std::cerr << "kes-host: --time-dialog needs a DOCUMENT\n";
        return 2;
    }

    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("KesAttributes"));
    QApplication::setApplicationName(QStringLiteral("kes-host"));
    KesHostWindow window;
    if (!document.empty()) {
        const QString error = window.OpenDocument(QString::fromStdString(document));
        if (!error.isEmpty()) {
            std::cerr << "kes-host: " << error.toStdString() << "\n";
            return 1;
        }
    }
    if (timedOperation > 0) {
        QElapsedTimer clock;
        clock.start();
        QString error;
        KesHostOperationDialog* dialog = window.OpenOperation(timedOperation - 1, &error);
        if (dialog == nullptr) {
            std::cerr << "kes-host: " << error.toStdString() << "\n";
            return 1;
        }
        QApplication::processEvents(); // laid out, and shown once
        std::cout << "dialog shown in " << clock.nsecsElapsed() / 1e6 << " ms\n";
        return 0;
    }
    window.show();
    return QApplication::exec();
}
