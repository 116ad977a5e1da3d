// kes-panel: a pocketing operation's panel that you can run, drive and look at.
//
//   kes-panel                 runs the bundled session
//   kes-panel FILE            runs the commands of FILE; stops at the first error (status 2)
//   kes-panel -               reads commands from standard input (interactive on a terminal)
//   kes-panel --svg OUT ...   also draws the panel as it stands at the end into OUT
//   kes-panel --gui [FILE]    then shows the panel in a window (built with Qt)
//   kes-panel --png OUT ...   writes a picture of that window after the session (built with Qt)
//   kes-panel --help
#include "KesNotificationLogFrame.h"
#include "KesPocketingPanel.h"

#include "tools/KesPanelDriver.h"
#include "tools/KesPanelPicture.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <unistd.h>

#ifdef KES_PANEL_WINDOW
#include "KesPanelWindow.h"

#include <QApplication>
#endif

extern const char* const kKesBundledSession;

namespace {

const char* const kUsage =
    "usage: kes-panel [--svg OUT] [--gui] [--png OUT] [FILE | -]\n"
    "\n"
    "Builds a pocketing operation's panel from every attribute class and drives it with\n"
    "commands, one per line, printing what the panel's frame receives and the value records.\n"
    "\n"
    "  (no FILE)   run the bundled session, a tour of every attribute class\n"
    "  FILE        run the commands of FILE; the first error stops it with status 2\n"
    "  -           read commands from standard input; on a terminal the session is\n"
    "              interactive: a prompt, errors shown, the session goes on\n"
    "  --svg OUT   when the session ends, draw the panel into OUT (SVG)\n"
    "  --gui       when the session ends (FILE or -; none by default), show the panel in a\n"
    "              window beside the notifications its frame receives and the value\n"
    "              records, refreshed after every gesture; needs a display\n"
    "  --png OUT   when the session ends (the bundled one when no FILE is given), write a\n"
    "              picture of that window into OUT (PNG); needs no display\n"
    "  --help      this text\n"
    "\n"
    "Exit status: 0 done, 2 a command or an argument was wrong, or no window possible.\n"
    "\n";

bool HasEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

#ifdef KES_PANEL_WINDOW
// Shows the panel in a window: writes its picture when `pictureFile` is given, then, for
// `--gui` on a display, runs the window until it is closed. Answers an exit status.
int RunWindow(KesNotificationLogFrame& frame, const KesPanelDriver& driver, bool show,
              const std::string& pictureFile) {
    static int argumentCount = 1;
    static char programName[] = "kes-panel";
    static char* arguments[] = {programName, nullptr};
    QApplication application(argumentCount, arguments);
    KesPanelWindow window(frame, driver);
    if (!pictureFile.empty() && !window.SavePicture(QString::fromStdString(pictureFile))) {
        std::cerr << "kes-panel: cannot write '" << pictureFile << "'\n";
        return 2;
    }
    if (!show) {
        return 0;
    }
    window.show();
    return QApplication::exec();
}
#endif

} // namespace

int main(int argc, char** argv) {
    std::string svgFile;
    std::string pngFile;
    bool gui = false;
    std::string source;
    bool sourceGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::cout << kUsage << KesPanelDriver::HelpText();
            return 0;
        }
        if (argument == "--svg" || argument == "--png") {
            // An empty name would silently mean "no picture".
            if (i + 1 >= argc || *argv[i + 1] == '\0') {
                std::cerr << "kes-panel: " << argument << " needs a file name\n" << kUsage;
                return 2;
            }
            (argument == "--svg" ? svgFile : pngFile) = argv[++i];
        } else if (argument == "--gui") {
            gui = true;
        } else if (!sourceGiven && (argument == "-" || argument.rfind("-", 0) != 0)) {
            source = argument;
            sourceGiven = true;
        } else {
            std::cerr << "kes-panel: unexpected argument '" << argument << "'\n" << kUsage;
            return 2;
        }
    }

#ifndef KES_PANEL_WINDOW
    if (gui || !pngFile.empty()) {
        std::cerr << "kes-panel: this kes-panel was built without Qt: no --gui, no --png\n";
        return 2;
    }
#endif
    // A window needs a display, a picture does not: it is drawn offscreen unless a platform was
    // asked for (QT_QPA_PLATFORM) or the window is shown on a display too.
    const bool display = HasEnvironment("DISPLAY") || HasEnvironment("WAYLAND_DISPLAY") ||
                         HasEnvironment("QT_QPA_PLATFORM");
    if (gui && !display) {
        if (pngFile.empty()) {
            std::cerr << "kes-panel: --gui needs a display (DISPLAY, WAYLAND_DISPLAY or "
                         "QT_QPA_PLATFORM); --png OUT writes a picture without one\n";
            return 2;
        }
        std::cerr << "kes-panel: no display: the window goes to '" << pngFile << "' only\n";
        gui = false;
    }
    if (!pngFile.empty() && !gui && !HasEnvironment("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }

    KesNotificationLogFrame frame("Pocketing");
    KesPocketingPanel panel(frame);
    frame.Clear(); // building the panel is not part of the session
    frame.ClearLog();
    KesPanelDriver driver(frame, std::cout, std::cerr);
    driver.SetModelPrinter(&KesPocketingPanel::PrintModel);
    driver.SetAfterCommand(&KesPocketingPanel::PrintReportedCodes);

    // Without FILE, the window alone opens on the panel as built: the user drives it.
    const bool bundledSession = !sourceGiven && !(gui && pngFile.empty());
    int status = 0;
    if (bundledSession) {
        std::istringstream bundled(kKesBundledSession);
        status = driver.RunSession(bundled, false);
    } else if (sourceGiven && source == "-") {
        status = driver.RunSession(std::cin, isatty(STDIN_FILENO) != 0);
    } else if (sourceGiven) {
        std::ifstream script(source);
        if (!script) {
            std::cerr << "kes-panel: cannot read '" << source << "'\n";
            return 2;
        }
        status = driver.RunSession(script, false);
    }

    if (!svgFile.empty()) {
        std::ofstream picture(svgFile);
        picture << KesPanelPicture::Draw(frame);
        if (!picture.flush()) {
            std::cerr << "kes-panel: cannot write '" << svgFile << "'\n";
            return 2;
        }
    }
#ifdef KES_PANEL_WINDOW
    if (gui || !pngFile.empty()) {
        const int windowStatus = RunWindow(frame, driver, gui, pngFile);
        return status != 0 ? status : windowStatus;
    }
#endif
    return status;
}
