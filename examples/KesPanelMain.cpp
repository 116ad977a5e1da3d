// kes-panel: a pocketing operation's panel that you can run, drive and look at.
//
//   kes-panel                 runs the bundled session
//   kes-panel FILE            runs the commands of FILE; stops at the first error (status 2)
//   kes-panel -               reads commands from standard input (interactive on a terminal)
//   kes-panel --svg OUT ...   also draws the panel as it stands at the end into OUT
//   kes-panel --panel FILE [SESSION]   the panel of a panel file instead of the pocketing one
//   kes-panel --write-panel OUT        writes the panel (pocketing, or --panel's) as a file
//   kes-panel --help
#include "KesPocketingPanel.h"

#include "platform/KesMfgBaseGII.h"
#include "platform/KesMfgModel.h"
#include "tools/KesPanelBuilder.h"
#include "tools/KesPanelDriver.h"
#include "tools/KesPanelFile.h"
#include "tools/KesPanelPicture.h"

#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <unistd.h>

extern const char* const kKesBundledSession;

namespace {

const char* const kUsage =
    "usage: kes-panel [--panel PANEL] [--write-panel OUT] [--svg OUT] [FILE | -]\n"
    "\n"
    "Builds a pocketing operation's panel from every attribute class (or the panel of a\n"
    "panel file) and drives it with commands, one per line, printing what the panel's\n"
    "frame receives and the value records.\n"
    "\n"
    "  (no FILE)   run the bundled session, a tour of every attribute class\n"
    "  FILE        run the commands of FILE; the first error stops it with status 2\n"
    "  -           read commands from standard input; on a terminal the session is\n"
    "              interactive: a prompt, errors shown, the session goes on\n"
    "  --svg OUT   when the session ends, draw the panel into OUT (SVG)\n"
    "  --panel PANEL\n"
    "              build the panel of the panel file PANEL (docs/panel-files.md) instead\n"
    "              of the pocketing one; no session runs unless FILE or - is given\n"
    "  --write-panel OUT\n"
    "              write the panel (the pocketing one, or PANEL's) as a panel file into\n"
    "              OUT; no session runs unless FILE or - is given\n"
    "  --help      this text\n"
    "\n"
    "Exit status: 0 done, 2 a command, an argument or the panel file was wrong.\n"
    "\n";

// Writes `text` into the file `path`; false when it cannot.
bool WriteFile(const std::string& path, const std::string& text) {
    std::ofstream file(path);
    file << text;
    return static_cast<bool>(file.flush());
}

} // namespace

int main(int argc, char** argv) {
    std::string svgFile;
    std::string panelFile;
    std::string writtenPanel;
    std::string source;
    bool sourceGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::cout << kUsage << KesPanelDriver::HelpText();
            return 0;
        }
        if (argument == "--svg" || argument == "--panel" || argument == "--write-panel") {
            if (i + 1 >= argc) {
                std::cerr << "kes-panel: " << argument << " needs a file name\n" << kUsage;
                return 2;
            }
            (argument == "--svg"     ? svgFile
             : argument == "--panel" ? panelFile
                                     : writtenPanel) = argv[++i];
        } else if (!sourceGiven && (argument == "-" || argument.rfind("-", 0) != 0)) {
            source = argument;
            sourceGiven = true;
        } else {
            std::cerr << "kes-panel: unexpected argument '" << argument << "'\n" << kUsage;
            return 2;
        }
    }

    std::optional<KesPanelDescription> fromFile;
    if (!panelFile.empty()) {
        fromFile.emplace();
        const std::string fault = KesPanelFile::Read(panelFile, *fromFile);
        if (!fault.empty()) {
            std::cerr << "kes-panel: " << fault << "\n";
            return 2;
        }
    }
    if (!writtenPanel.empty() &&
        !WriteFile(writtenPanel,
                   KesPanelFile::Write(fromFile ? *fromFile : KesPocketingPanel::Description()))) {
        std::cerr << "kes-panel: cannot write '" << writtenPanel << "'\n";
        return 2;
    }

    // The panel, in code or from a file, is built here; everything after works on the frame.
    KesDlgTestFrame frame(fromFile ? fromFile->title.c_str() : "Pocketing");
    std::unique_ptr<KesPocketingPanel> inCode;
    KesPanelBuilder fromFileBuilder;
    if (fromFile) {
        KesMfgModel::Clear();
        KesMfgBaseGII::ClearReportedCodes();
        const std::string fault = fromFileBuilder.Build(*fromFile, frame);
        if (!fault.empty()) {
            std::cerr << "kes-panel: " << panelFile << ": " << fault << "\n";
            return 2;
        }
    } else {
        inCode = std::make_unique<KesPocketingPanel>(frame);
    }
    frame.Clear(); // building the panel is not part of the session
    KesPanelDriver driver(frame, std::cout, std::cerr);
    driver.SetModelPrinter(&KesPocketingPanel::PrintModel);
    driver.SetAfterCommand(&KesPocketingPanel::PrintReportedCodes);

    int status = 0;
    if (!sourceGiven && (fromFile || !writtenPanel.empty())) {
        // A panel of its own, or a panel only written: no session unless one is given.
    } else if (!sourceGiven) {
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
