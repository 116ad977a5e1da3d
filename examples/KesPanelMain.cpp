// kes-panel: a machining operation's panel that you can run, drive, look at and put through
// random users and callers. The pocketing panel in code by default, or any panel of a panel file.
//
//   kes-panel                  runs the bundled session on the pocketing panel
//   kes-panel FILE             runs the commands of FILE; stops at the first error (status 2)
//   kes-panel -                reads commands from standard input (interactive on a terminal)
//   kes-panel --panel PANEL    the panel of a panel file instead of the pocketing one
//   kes-panel --write-panel OUT   writes the panel (pocketing, or --panel's) as a panel file
//   kes-panel --write-schema OUT  writes the JSON Schema of panel files
//   kes-panel --strict ...     refuses a panel file with a warning, a values file with a report
//   kes-panel --svg OUT ...    also draws the panel as it stands at the end into OUT
//   kes-panel --gui [FILE]     then shows the panel in a window (built with Qt)
//   kes-panel --png OUT ...    writes a picture of that window after the session (built with Qt)
//   kes-panel --monkey STEPS [--seed N]   random steps with every check after each
//   kes-panel --values FILE ...   loads a values file first; --write-values OUT after the session
//   kes-panel --via-qt ...     the gestures as real events on a window of the panel (Qt)
//   kes-panel --help
//
// Index
//   Usage
//   The panel: in code or from a file
//   The monkey
//   The window
//   main
#include "KesNotificationLogFrame.h"
#include "KesPocketingPanel.h"

#include "platform/KesMfgBaseGII.h"
#include "platform/KesMfgModel.h"
#include "tools/KesAtomicFile.h"
#include "tools/KesPanelBuilder.h"
#include "tools/KesPanelDriver.h"
#include "tools/KesPanelFile.h"
#include "tools/KesPanelMonkey.h"
#include "tools/KesPanelPicture.h"
#include "tools/KesPanelSchema.h"
#include "tools/KesRunProgress.h"
#include "tools/KesValuesFile.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#ifdef KES_PANEL_WINDOW
#include "KesPanelWindow.h"
#include "qt/KesQtHands.h"
#include "qt/KesQtPanelView.h"

#include <QApplication>
#endif

extern const char* const kKesBundledSession;

namespace {

// ---------------------------------------------------------------------------------------------
// Usage
// ---------------------------------------------------------------------------------------------

const char* const kUsage =
    "usage: kes-panel [--panel PANEL] [--write-panel OUT] [--values FILE] [--strict]\n"
    "                 [--write-values OUT] [--svg OUT] [--gui] [--png OUT] [--via-qt]\n"
    "                 [FILE | -]\n"
    "       kes-panel [--panel PANEL] --monkey STEPS [--seed N] [--via-qt]\n"
    "       kes-panel --write-schema OUT\n"
    "\n"
    "Builds a pocketing operation's panel from every attribute class (or the panel of a\n"
    "panel file) and drives it with commands, one per line, printing what the panel's\n"
    "frame receives and the value records.\n"
    "\n"
    "  (no FILE)   run the bundled session, a tour of every attribute class (pocketing\n"
    "              panel only)\n"
    "  FILE        run the commands of FILE; the first error stops it with status 2\n"
    "  -           read commands from standard input; on a terminal the session is\n"
    "              interactive: a prompt, errors shown, the session goes on\n"
    "  --panel PANEL\n"
    "              build the panel of the panel file PANEL (docs/panel-files.md) instead\n"
    "              of the pocketing one, over the model as it stands (empty); no session\n"
    "              runs unless FILE or - is given; what the file probably did not mean\n"
    "              is warned on standard error\n"
    "  --strict    refuse a panel file with a warning, as with an error, and build it as a\n"
    "              file alone (its bound parameters among its modelParameters); refuse a\n"
    "              values file with a report line (--values, load-values)\n"
    "  --write-panel OUT\n"
    "              write the panel (the pocketing one, or PANEL's) as a panel file into\n"
    "              OUT; no session runs unless FILE or - is given\n"
    "  --write-schema OUT\n"
    "              write the JSON Schema of panel files into OUT (docs/panel.schema.json)\n"
    "  --values FILE\n"
    "              push the values of the values file FILE (docs/values-files.md) into\n"
    "              the panel before the session (FILE or -; not the bundled one) and\n"
    "              report, one line each, what was not taken as written\n"
    "  --write-values OUT\n"
    "              when the session ends, write the panel's values into OUT\n"
    "  --svg OUT   when the session ends, draw the panel into OUT (SVG)\n"
    "  --gui       when the session ends (FILE or -; none by default), show the panel in a\n"
    "              window beside the notifications its frame receives and the value\n"
    "              records, refreshed after every gesture, and the model's messages in\n"
    "              its status bar (Edit > Undo takes a gesture back; File > Open values...,\n"
    "              Save values..., Quit); the window opens with the panel whole beside\n"
    "              the panes on any screen of 1280 x 800 or more; needs a display\n"
    "  --png OUT   when the session ends (the bundled one when neither FILE nor PANEL is\n"
    "              given), write a picture of that window, at the size --gui opens it,\n"
    "              into OUT (PNG); needs no display\n"
    "  --monkey STEPS\n"
    "              run STEPS random steps (users and hostile callers) with every check\n"
    "              after each; on a broken check, shrink the steps into a session script\n"
    "              that replays the failure (--seed N: the seed, 1 when not given); on a\n"
    "              terminal, a line on standard error shows the steps done, the steps\n"
    "              per second and the seed; Ctrl+C stops the run after the step under\n"
    "              way and prints how to replay the steps done (status 130)\n"
    "  --via-qt    make every user command's gesture as real events on a window of the\n"
    "              panel (keys, clicks, context menus, dialog buttons; offscreen unless\n"
    "              --gui is given), the caller commands as before; 'check' and the monkey\n"
    "              also check that the window mirrors every widget in its state (built\n"
    "              with Qt)\n"
    "  --help      this text\n"
    "\n"
    "The bundled session stores its settings (a spinner step) in a temporary folder, not\n"
    "in the user's, unless KES_SETTINGS_DIR names a folder.\n"
    "\n"
    "Exit status: 0 done, 1 the monkey broke a check, 2 a command, an argument, the\n"
    "panel file or the values file was wrong, or no window possible, 130 the monkey\n"
    "stopped by Ctrl+C.\n"
    "\n";

// The exit status of a run stopped by Ctrl+C, as a shell reports a command that SIGINT ended.
constexpr int kInterrupted = 128 + SIGINT;

bool HasEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Writes `text` into the file `path` whole (a failed write keeps the old file); false, with
// the reason on standard error, when it cannot.
bool WriteFile(const std::string& path, const std::string& text) {
    const std::string fault = KesWriteFileAtomically(path, text);
    if (!fault.empty()) {
        std::cerr << "kes-panel: cannot write '" << path << "': " << fault << "\n";
    }
    return fault.empty();
}

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

// ---------------------------------------------------------------------------------------------
// The panel: in code or from a file
// ---------------------------------------------------------------------------------------------

// Builds and displays the panel in `frame`: the pocketing panel in code, or the panel of a
// file, over the model as it stands (which kes-panel empties first, so that every build of a
// session starts alike); `strict` builds it as a file alone instead, its bound parameters
// among its own modelParameters. Answers what must live as long as the panel; `fault` tells
// why a file's panel could not be built (then nothing was), `warnings` what the build warned.
std::shared_ptr<void> BuildPanel(const std::optional<KesPanelDescription>& fromFile, bool strict,
                                 KesDlgTestFrame& frame, std::string& fault,
                                 std::vector<std::string>* warnings = nullptr) {
    if (!fromFile) {
        return std::make_shared<KesPocketingPanel>(frame);
    }
    KesMfgModel::Clear();
    KesMfgBaseGII::ClearReportedCodes();
    auto builder = std::make_shared<KesPanelBuilder>();
    fault = strict ? builder->Build(*fromFile, frame) : builder->BuildOverModel(*fromFile, frame);
    if (warnings != nullptr) {
        *warnings = builder->Warnings();
    }
    return builder;
}

// The panel of a file built once, as a check: its fault said (false), or the warnings of the
// build that reading the file did not say already (`said`).
bool BuildsWell(const std::optional<KesPanelDescription>& fromFile, bool strict,
                const std::string& panelFile, const std::vector<std::string>& said) {
    if (!fromFile) {
        return true;
    }
    KesDlgTestFrame scratch("check");
    std::string fault;
    std::vector<std::string> warnings;
    { const std::shared_ptr<void> panel = BuildPanel(fromFile, strict, scratch, fault, &warnings); }
    if (!fault.empty()) {
        std::cerr << "kes-panel: " << panelFile << ": " << fault << "\n";
        return false;
    }
    for (const std::string& warning : warnings) {
        const bool already = std::any_of(said.begin(), said.end(), [&](const std::string& line) {
            return line.size() >= warning.size() &&
                   line.compare(line.size() - warning.size(), warning.size(), warning) == 0;
        });
        if (!already) {
            std::cerr << panelFile << ": " << warning << "\n";
        }
    }
    return true;
}

// A folder of its own under the system's temporary folder, removed with everything in it when
// the object goes; none (an empty path) when not wanted or when it cannot be made.
struct TemporaryFolder {
    explicit TemporaryFolder(bool wanted) {
        std::string folder = (std::filesystem::temp_directory_path() / "kes-XXXXXX").string();
        if (wanted && ::mkdtemp(folder.data()) != nullptr) {
            path = folder;
        }
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        if (!path.empty()) {
            std::filesystem::remove_all(path, ignored);
        }
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    std::filesystem::path path;
};

// ---------------------------------------------------------------------------------------------
// The route through a window
// ---------------------------------------------------------------------------------------------
#ifdef KES_PANEL_WINDOW
// A view of the panel, shown (offscreen unless on a display), whose hands make the driver's
// gestures as Qt events, and whose mirrors the driver's check looks at. The driver must not
// run commands once the route is gone.
class WindowRoute {
public:
    WindowRoute(KesDlgTestFrame& frame, KesPanelDriver& driver)
        : view_(frame), hands_(view_, frame) {
        view_.Widget()->show();
        view_.Widget()->activateWindow();
        QCoreApplication::processEvents();
        driver.SetHands(&hands_);
        driver.SetExtraCheck([this] { return hands_.CheckMirrors(); });
    }
    WindowRoute(const WindowRoute&) = delete;
    WindowRoute& operator=(const WindowRoute&) = delete;

private:
    KesQtPanelView view_;
    KesQtHands hands_;
};
#endif

// ---------------------------------------------------------------------------------------------
// The monkey
// ---------------------------------------------------------------------------------------------

// The monkey on the panel, with a settings folder of its own emptied before each panel is
// built, so that every replay starts alike.
int RunMonkey(const std::optional<KesPanelDescription>& fromFile, bool strict,
              const std::string& panelFile, int steps, uint32_t seed, bool viaQt) {
    std::string folder = (std::filesystem::temp_directory_path() / "kes-monkey-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        std::cerr << "kes-panel: no temporary folder for the settings\n";
        return 2;
    }
    const std::filesystem::path settings = std::filesystem::path(folder) / "settings";
    ::setenv("KES_SETTINGS_DIR", settings.c_str(), 1);
    KesPanelMonkey monkey([&fromFile, strict](KesDlgTestFrame& frame) {
        std::string fault;
        return BuildPanel(fromFile, strict, frame, fault); // built once as a check already
    });
    monkey.SetReset([&] {
        std::error_code ignored;
        std::filesystem::remove_all(settings, ignored);
    });
#ifdef KES_PANEL_WINDOW
    if (viaQt) {
        monkey.SetRoute([](KesDlgTestFrame& frame, KesPanelDriver& driver) {
            return std::make_shared<WindowRoute>(frame, driver);
        });
    }
#endif
    // The progress line goes to the standard error as it was: the monkey quiets std::cerr
    // while it runs, not the buffer under it.
    std::ostream terminal(std::cerr.rdbuf());
    KesRunProgress progress(terminal, isatty(STDERR_FILENO) != 0, "monkey", steps, seed);
    const KesInterruptCatcher interrupt;
    monkey.SetProgress([&progress](int done) { progress.Update(done); });
    monkey.SetStop(&KesInterruptCatcher::Requested);
    KesSeededSource source(seed);
    const KesPanelMonkey::Result result = monkey.Run(source, steps);
    progress.Finish();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    const std::string panelOption = (viaQt ? std::string("--via-qt ") : std::string()) +
                                    (fromFile ? "--panel " + panelFile + " " : std::string());
    const std::string panelName = fromFile ? "panel of " + panelFile : "pocketing panel";
    const std::string origin = "kes-panel " + panelOption + "--monkey " + std::to_string(steps) +
                               " --seed " + std::to_string(seed);
    if (result.interrupted) {
        // The same seed draws the same steps: that many of them are the run so far.
        std::cerr << "monkey: interrupted after " << result.steps << " steps on the " << panelName
                  << ", seed " << seed << ": every check held; replay: kes-panel " << panelOption
                  << "--monkey " << result.steps << " --seed " << seed << "\n";
        return kInterrupted;
    }
    if (!result.failure) {
        std::cout << "monkey: " << result.steps << " steps on the " << panelName << ", seed "
                  << seed << ": every check held\n";
        return 0;
    }
    const KesPanelMonkey::Failure& failure = *result.failure;
    const std::string file = "kes-panel-monkey-" + std::to_string(seed) + ".kes";
    std::cerr << "monkey: seed " << seed << ", step " << failure.step << " (" << failure.line
              << "): check failed: " << failure.fault.Text() << "\n";
    if (!WriteFile(file,
                   KesPanelMonkey::Script(failure, origin, "kes-panel " + panelOption + "FILE"))) {
        return 1;
    }
    std::cerr << "monkey: " << (KesInterruptCatcher::Requested() ? "shrinking interrupted: " : "")
              << "shrunk to " << failure.shrunk.size() << " of " << failure.step
              << " steps, written to " << file << " (replay: kes-panel " << panelOption << file
              << ")\n";
    return 1;
}

// ---------------------------------------------------------------------------------------------
// The window
// ---------------------------------------------------------------------------------------------

#ifdef KES_PANEL_WINDOW
// Shows the panel in a window: writes its picture when `pictureFile` is given, then, for
// `--gui` on a display, runs the window until it is closed. Answers an exit status.
int RunWindow(KesNotificationLogFrame& frame, const KesPanelDriver& driver,
              const KesPanelDescription& description, bool show, const std::string& pictureFile) {
    KesPanelWindow window(frame, driver);
    window.OpenSubPanels(description);
    if (!pictureFile.empty() && !window.SavePicture(QString::fromStdString(pictureFile))) {
        std::cerr << "kes-panel: cannot write '" << pictureFile << "'\n";
        return 2;
    }
    if (!show) {
        return 0;
    }
    window.show(); // at the size of the picture: made to fit the panel
    return QApplication::exec();
}

// The application of the window and of the route through it, made once. Qt's own messages (a
// platform plugin's limits, a display it could not reach) are not kes-panel's to print: a
// picture or the route prints none, a window only those once it is open. Null when `show`
// (--gui) finds no display that can be reached, said on standard error.
std::unique_ptr<QApplication> MakeApplication(bool show) {
    static int argumentCount = 1;
    static char programName[] = "kes-panel";
    static char* arguments[] = {programName, nullptr};
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const bool platformChosen = HasEnvironment("QT_QPA_PLATFORM");
    if (show && !platformChosen) {
        // A display that cannot be reached falls back to no display at all, told below.
        setenv("QT_QPA_PLATFORM",
               HasEnvironment("WAYLAND_DISPLAY") ? "wayland;xcb;offscreen" : "xcb;offscreen", 1);
    }
    auto application = std::make_unique<QApplication>(argumentCount, arguments);
    if (show && !platformChosen && QGuiApplication::platformName() == "offscreen") {
        std::cerr << "kes-panel: --gui cannot open a window: the display cannot be reached\n";
        return nullptr;
    }
    if (show) {
        qInstallMessageHandler(nullptr);
    }
    return application;
}
#endif

} // namespace

// ---------------------------------------------------------------------------------------------
// main
// ---------------------------------------------------------------------------------------------

int main(int argc, char** argv) {
    // A file that outgrows the size limit fails its write (and keeps the old file) rather than
    // ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    std::string svgFile;
    std::string pngFile;
    std::string panelFile;
    std::string writtenPanel;
    std::string writtenSchema;
    std::string valuesFile;
    std::string writtenValues;
    bool strict = false;
    bool gui = false;
    bool viaQt = false;
    const char* monkeySteps = nullptr;
    const char* monkeySeed = nullptr;
    std::string source;
    bool sourceGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::cout << kUsage << KesPanelDriver::HelpText();
            return 0;
        }
        if (argument == "--values" || argument == "--write-values") {
            if (i + 1 >= argc || *argv[i + 1] == '\0') {
                std::cerr << "kes-panel: " << argument << " needs a file name\n" << kUsage;
                return 2;
            }
            (argument == "--values" ? valuesFile : writtenValues) = argv[++i];
        } else if (argument == "--svg" || argument == "--png" || argument == "--panel" ||
                   argument == "--write-panel" || argument == "--write-schema") {
            // An empty name would silently mean "no file".
            if (i + 1 >= argc || *argv[i + 1] == '\0') {
                std::cerr << "kes-panel: " << argument << " needs a file name\n" << kUsage;
                return 2;
            }
            (argument == "--svg"            ? svgFile
             : argument == "--png"          ? pngFile
             : argument == "--panel"        ? panelFile
             : argument == "--write-schema" ? writtenSchema
                                            : writtenPanel) = argv[++i];
        } else if (argument == "--strict") {
            strict = true;
        } else if (argument == "--monkey" || argument == "--seed") {
            if (i + 1 >= argc) {
                std::cerr << "kes-panel: " << argument
                          << (argument == "--seed" ? " needs a seed\n" : " needs a step count\n")
                          << kUsage;
                return 2;
            }
            (argument == "--monkey" ? monkeySteps : monkeySeed) = argv[++i];
        } else if (argument == "--gui") {
            gui = true;
        } else if (argument == "--via-qt") {
            viaQt = true;
        } else if (!sourceGiven && (argument == "-" || argument.rfind("-", 0) != 0)) {
            source = argument;
            sourceGiven = true;
        } else {
            std::cerr << "kes-panel: unexpected argument '" << argument << "'\n" << kUsage;
            return 2;
        }
    }

    if (!writtenSchema.empty()) {
        if (!WriteFile(writtenSchema, KesPanelSchema::Write())) {
            return 2;
        }
        if (panelFile.empty() && writtenPanel.empty() && !sourceGiven && monkeySteps == nullptr) {
            return 0; // the schema alone
        }
    }
    std::optional<KesPanelDescription> fromFile;
    if (!panelFile.empty()) {
        fromFile.emplace();
        std::vector<std::string> warnings;
        const std::string fault = KesPanelFile::Read(panelFile, *fromFile, warnings, strict);
        for (const std::string& warning : warnings) {
            std::cerr << warning << "\n";
        }
        if (!fault.empty()) {
            std::cerr << "kes-panel: " << fault << "\n";
            return 2;
        }
        if (!BuildsWell(fromFile, strict, panelFile, warnings)) {
            return 2;
        }
    }
    if (!writtenPanel.empty() &&
        !WriteFile(writtenPanel,
                   KesPanelFile::Write(fromFile ? *fromFile : KesPocketingPanel::Description()))) {
        return 2;
    }

#ifndef KES_PANEL_WINDOW
    if (viaQt) {
        std::cerr << "kes-panel: this kes-panel was built without Qt: no --via-qt\n";
        return 2;
    }
#else
    std::unique_ptr<QApplication> application;
#endif
    if (monkeySteps != nullptr || monkeySeed != nullptr) {
        unsigned long long steps = 0;
        unsigned long long seed = 1;
        if (monkeySteps == nullptr) {
            std::cerr << "kes-panel: --seed goes with --monkey STEPS\n" << kUsage;
            return 2;
        }
        if (sourceGiven || !svgFile.empty() || gui || !pngFile.empty() || !valuesFile.empty() ||
            !writtenValues.empty()) {
            std::cerr << "kes-panel: --monkey takes no script, no --svg, no --gui, no --png, no "
                         "values files\n"
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
#ifdef KES_PANEL_WINDOW
        if (viaQt) {
            if (!HasEnvironment("QT_QPA_PLATFORM")) {
                setenv("QT_QPA_PLATFORM", "offscreen", 1);
            }
            application = MakeApplication(false);
        }
#endif
        return RunMonkey(fromFile, strict, panelFile, static_cast<int>(steps),
                         static_cast<uint32_t>(seed), viaQt);
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
    if ((!pngFile.empty() || viaQt) && !gui && !HasEnvironment("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
#ifdef KES_PANEL_WINDOW
    if (gui || !pngFile.empty() || viaQt) {
        application = MakeApplication(gui);
        if (application == nullptr) {
            return 2;
        }
    }
#endif

    // The bundled session tours the pocketing panel only. A panel of a file, a panel only
    // written, or a window alone (the user drives it) run no session unless one is given.
    const bool bundledSession = !sourceGiven && !fromFile && writtenPanel.empty() &&
                                writtenValues.empty() && valuesFile.empty() &&
                                !(gui && pngFile.empty());
    // A demonstration keeps what it stores (a spinner step it defines) out of the user's
    // settings: in a temporary folder, unless KES_SETTINGS_DIR names one.
    const TemporaryFolder demoSettings(bundledSession && !HasEnvironment("KES_SETTINGS_DIR"));
    if (!demoSettings.path.empty()) {
        ::setenv("KES_SETTINGS_DIR", demoSettings.path.c_str(), 1);
    }

    // The panel, in code or from a file, is built here; everything after works on the frame.
    KesNotificationLogFrame frame(fromFile ? fromFile->title.c_str() : "Pocketing");
    std::string fault;
    std::shared_ptr<void> panel = BuildPanel(fromFile, strict, frame, fault);
    if (!fault.empty()) {
        std::cerr << "kes-panel: " << panelFile << ": " << fault << "\n";
        return 2;
    }
    frame.Clear(); // building the panel is not part of the session
    frame.ClearLog();
    KesPanelDriver driver(frame, std::cout, std::cerr);
    driver.SetModelPrinter(&KesPocketingPanel::PrintModel);
    driver.SetAfterCommand(&KesPocketingPanel::PrintReportedCodes);
#ifdef KES_PANEL_WINDOW
    std::optional<WindowRoute> route;
    if (viaQt) {
        route.emplace(frame, driver);
    }
#endif
    driver.SetRebuild([&] {
        panel.reset();       // its attributes are deleted already
        std::string ignored; // the panel was built from the same description at the start
        panel = BuildPanel(fromFile, strict, frame, ignored);
    });
    driver.SetStrictValues(strict);
    if (!valuesFile.empty()) {
        // Pushed as a caller would, before the session: not a step to undo.
        const KesValuesFile::Result read = KesValuesFile::Read(valuesFile, driver.Attributes());
        if (!read.IsValuesFile()) {
            std::cerr << "kes-panel: " << read.error << "\n";
            return 2;
        }
        for (const std::string& line : read.report) {
            std::cerr << "kes-panel: " << line << "\n";
        }
        if (strict && !read.report.empty()) {
            return 2;
        }
        frame.Clear();
        frame.ClearLog();
        driver.EndHistory();
    }

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

    if (!writtenValues.empty() &&
        !WriteFile(writtenValues,
                   KesValuesFile::Write(driver.Attributes(), frame.GetName().Str()))) {
        return 2;
    }
    if (!svgFile.empty() && !WriteFile(svgFile, KesPanelPicture::Draw(frame))) {
        return 2;
    }
#ifdef KES_PANEL_WINDOW
    if (gui || !pngFile.empty()) {
        const int windowStatus = RunWindow(
            frame, driver, fromFile ? *fromFile : KesPocketingPanel::Description(), gui, pngFile);
        return status != 0 ? status : windowStatus;
    }
#endif
    return status;
}
