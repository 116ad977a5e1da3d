// kes-panel: a pocketing operation's panel that you can run, drive and look at.
//
//   kes-panel                 runs the bundled session
//   kes-panel FILE            runs the commands of FILE; stops at the first error (status 2)
//   kes-panel -               reads commands from standard input (interactive on a terminal)
//   kes-panel --svg OUT ...   also draws the panel as it stands at the end into OUT
//   kes-panel --monkey STEPS [--seed N]   random steps with every check after each
//   kes-panel --help
#include "KesPocketingPanel.h"

#include "tools/KesPanelDriver.h"
#include "tools/KesPanelMonkey.h"
#include "tools/KesPanelPicture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <unistd.h>

extern const char* const kKesBundledSession;

namespace {

const char* const kUsage =
    "usage: kes-panel [--svg OUT] [FILE | -]\n"
    "       kes-panel --monkey STEPS [--seed N]\n"
    "\n"
    "Builds a pocketing operation's panel from every attribute class and drives it with\n"
    "commands, one per line, printing what the panel's frame receives and the value records.\n"
    "\n"
    "  (no FILE)   run the bundled session, a tour of every attribute class\n"
    "  FILE        run the commands of FILE; the first error stops it with status 2\n"
    "  -           read commands from standard input; on a terminal the session is\n"
    "              interactive: a prompt, errors shown, the session goes on\n"
    "  --svg OUT   when the session ends, draw the panel into OUT (SVG)\n"
    "  --monkey STEPS  run STEPS random steps (users and hostile callers) with every check\n"
    "              after each; on a broken check, shrink the steps into a session script\n"
    "              that replays the failure (--seed N: the seed, 1 when not given)\n"
    "  --help      this text\n"
    "\n"
    "Exit status: 0 done, 1 the monkey broke a check, 2 a command or an argument was wrong.\n"
    "\n";

// A whole number from 0 to `maximum`, the whole text read.
bool ReadCount(const char* text, unsigned long long maximum, unsigned long long& value) {
    const std::string word = text;
    if (word.empty() || word.find_first_not_of("0123456789") != std::string::npos ||
        word.size() > 19) {
        return false;
    }
    value = std::stoull(word);
    return value <= maximum;
}

// The monkey on the pocketing panel, with a settings folder of its own emptied before each
// panel is built, so that every replay starts alike.
int RunMonkey(int steps, uint32_t seed) {
    std::string folder = (std::filesystem::temp_directory_path() / "kes-monkey-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        std::cerr << "kes-panel: no temporary folder for the settings\n";
        return 2;
    }
    const std::filesystem::path settings = std::filesystem::path(folder) / "settings";
    ::setenv("KES_SETTINGS_DIR", settings.c_str(), 1);
    KesPanelMonkey monkey([](KesDlgTestFrame& frame) -> std::shared_ptr<void> {
        return std::make_shared<KesPocketingPanel>(frame);
    });
    monkey.SetReset([&] {
        std::error_code ignored;
        std::filesystem::remove_all(settings, ignored);
    });
    KesSeededSource source(seed);
    const KesPanelMonkey::Result result = monkey.Run(source, steps);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    const std::string origin =
        "kes-panel --monkey " + std::to_string(steps) + " --seed " + std::to_string(seed);
    if (!result.failure) {
        std::cout << "monkey: " << result.steps << " steps on the pocketing panel, seed " << seed
                  << ": every check held\n";
        return 0;
    }
    const KesPanelMonkey::Failure& failure = *result.failure;
    const std::string file = "kes-panel-monkey-" + std::to_string(seed) + ".kes";
    std::ofstream script(file);
    script << KesPanelMonkey::Script(failure, origin);
    std::cerr << "monkey: seed " << seed << ", step " << failure.step << " (" << failure.line
              << "): check failed: " << failure.fault.Text() << "\n";
    if (!script.flush()) {
        std::cerr << "kes-panel: cannot write '" << file << "'\n";
        return 1;
    }
    std::cerr << "monkey: shrunk to " << failure.shrunk.size() << " of " << failure.step
              << " steps, written to " << file << " (replay: kes-panel " << file << ")\n";
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    std::string svgFile;
    std::string source;
    bool sourceGiven = false;
    const char* monkeySteps = nullptr;
    const char* monkeySeed = nullptr;
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
        } else if (argument == "--monkey" || argument == "--seed") {
            if (i + 1 >= argc) {
                std::cerr << "kes-panel: " << argument
                          << (argument == "--seed" ? " needs a seed\n" : " needs a step count\n")
                          << kUsage;
                return 2;
            }
            (argument == "--monkey" ? monkeySteps : monkeySeed) = argv[++i];
        } else if (!sourceGiven && (argument == "-" || argument.rfind("-", 0) != 0)) {
            source = argument;
            sourceGiven = true;
        } else {
            std::cerr << "kes-panel: unexpected argument '" << argument << "'\n" << kUsage;
            return 2;
        }
    }

    if (monkeySteps != nullptr || monkeySeed != nullptr) {
        unsigned long long steps = 0;
        unsigned long long seed = 1;
        if (monkeySteps == nullptr || sourceGiven || !svgFile.empty()) {
            std::cerr << (monkeySteps == nullptr ? "kes-panel: --seed goes with --monkey STEPS\n"
                                                 : "kes-panel: --monkey takes no script and no "
                                                   "--svg\n")
                      << kUsage;
            return 2;
        }
        if (!ReadCount(monkeySteps, 0x7FFFFFFF, steps)) {
            std::cerr << "kes-panel: the step count must be a whole number from 0 to 2147483647, "
                         "not '"
                      << monkeySteps << "'\n";
            return 2;
        }
        if (monkeySeed != nullptr && !ReadCount(monkeySeed, 0xFFFFFFFF, seed)) {
            std::cerr << "kes-panel: the seed must be a whole number from 0 to 4294967295, not '"
                      << monkeySeed << "'\n";
            return 2;
        }
        return RunMonkey(static_cast<int>(steps), static_cast<uint32_t>(seed));
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
