// kes-panel: a pocketing operation's panel that you can run, drive and look at.
//
//   kes-panel                 runs the bundled session
//   kes-panel FILE            runs the commands of FILE; stops at the first error (status 2)
//   kes-panel -               reads commands from standard input (interactive on a terminal)
//   kes-panel --svg OUT ...   also draws the panel as it stands at the end into OUT
//   kes-panel --help
#include "KesPocketingPanel.h"

#include "tools/KesPanelDriver.h"
#include "tools/KesPanelPicture.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <unistd.h>

extern const char* const kKesBundledSession;

namespace {

const char* const kUsage =
    "usage: kes-panel [--svg OUT] [FILE | -]\n"
    "\n"
    "Builds a pocketing operation's panel from every attribute class and drives it with\n"
    "commands, one per line, printing what the panel's frame receives and the value records.\n"
    "\n"
    "  (no FILE)   run the bundled session, a tour of every attribute class\n"
    "  FILE        run the commands of FILE; the first error stops it with status 2\n"
    "  -           read commands from standard input; on a terminal the session is\n"
    "              interactive: a prompt, errors shown, the session goes on\n"
    "  --svg OUT   when the session ends, draw the panel into OUT (SVG)\n"
    "  --help      this text\n"
    "\n"
    "Exit status: 0 done, 2 a command or an argument was wrong.\n"
    "\n";

} // namespace

int main(int argc, char** argv) {
    std::string svgFile;
    std::string source;
    bool sourceGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::cout << kUsage << KesPanelDriver::HelpText();
            return 0;
        }
        if (argument == "--svg") {
            if (i + 1 >= argc) {
                std::cerr << "kes-panel: --svg needs a file name\n" << kUsage;
                return 2;
            }
            svgFile = argv[++i];
        } else if (!sourceGiven && (argument == "-" || argument.rfind("-", 0) != 0)) {
            source = argument;
            sourceGiven = true;
        } else {
            std::cerr << "kes-panel: unexpected argument '" << argument << "'\n" << kUsage;
            return 2;
        }
    }

    KesDlgTestFrame frame("Pocketing");
    KesPocketingPanel panel(frame);
    frame.Clear(); // building the panel is not part of the session
    KesPanelDriver driver(frame, std::cout, std::cerr);
    driver.SetModelPrinter(&KesPocketingPanel::PrintModel);
    driver.SetAfterCommand(&KesPocketingPanel::PrintReportedCodes);

    int status = 0;
    if (!sourceGiven) {
        std::istringstream bundled(kKesBundledSession);
        status = driver.RunSession(bundled, false);
    } else if (source == "-") {
        status = driver.RunSession(std::cin, isatty(STDIN_FILENO) != 0);
    } else {
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
    return status;
}
