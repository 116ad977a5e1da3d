// KesPanelMonkey: random steps written as session commands, run through the session driver, the
// checks after every step, and the shrinking of a failure into a short session script.
//
// Index:
//   Quiet standard streams and the session   a fresh panel with its driver
//   Hostile values                           numbers, texts and vectors, written as arguments
//   Steps                                    user actions, caller commands, reads, reactions
//   Running
//   Shrinking                                delta debugging over the lines
//   The script
#include "tools/KesPanelMonkey.h"

#include "choice/KesMfgAttCharList.h"
#include "platform/KesDlgCombo.h"
#include "platform/KesDlgEditor.h"
#include "platform/KesDlgScrollBar.h"
#include "platform/KesDlgSelectorList.h"
#include "platform/KesDlgSpinner.h"
#include "platform/KesMfgModel.h"
#include "single/KesMfgAttLink.h"
#include "tools/KesPanelDriver.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <iostream>
#include <sstream>

// =============================================================================================
// Quiet standard streams and the session
// =============================================================================================
namespace {

// Discards what the library writes to std::cout and std::cerr while it lives.
class QuietStreams {
public:
    QuietStreams() : out_(std::cout.rdbuf(nullptr)), err_(std::cerr.rdbuf(nullptr)) {}
    ~QuietStreams() {
        std::cout.rdbuf(out_);
        std::cout.clear();
        std::cerr.rdbuf(err_);
        std::cerr.clear();
    }
    QuietStreams(const QuietStreams&) = delete;
    QuietStreams& operator=(const QuietStreams&) = delete;

private:
    std::streambuf* out_;
    std::streambuf* err_;
};

} // namespace

// A fresh panel and its driver, whose transcript is discarded and whose errors are kept.
class KesPanelMonkey::Session {
public:
    Session(const Builder& build, const std::function<void()>& reset, const Route& route) {
        if (reset) {
            reset();
        }
        kept_ = build(frame_);
        frame_.Clear(); // building the panel is not a step
        driver_->SetRebuild([this, build] {
            kept_.reset(); // its attributes are deleted already
            kept_ = build(frame_);
        });
        if (route) {
            route_ = route(frame_, *driver_);
        }
        // The model's parameters, which a person binds and a caller names; read here, on every
        // fresh panel alike, so that a replay starts as the run did.
        const std::unique_ptr<KesListValKesUnicodeString> names(KesMfgModel::GetParameters());
        for (const KesUnicodeString& name : names->Items()) {
            parameters_.push_back(name.Str());
        }
    }
    ~Session() {
        driver_.reset();
        route_.reset();
        kept_.reset();
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    KesPanelDriver& Driver() { return *driver_; }
    const std::vector<std::string>& Parameters() const { return parameters_; }
    // Runs one line; false when the driver did not take it.
    bool Run(const std::string& line, int lineNumber) {
        errors_.str(std::string());
        return driver_->Run(line, lineNumber) == KesPanelDriver::Status::Done;
    }

private:
    KesDlgTestFrame frame_{"MonkeyPanel"};
    std::shared_ptr<void> kept_;
    std::vector<std::string> parameters_;
    std::ostream transcript_{nullptr}; // no buffer: everything written is dropped
    std::ostringstream errors_;
    std::unique_ptr<KesPanelDriver> driver_ =
        std::make_unique<KesPanelDriver>(frame_, transcript_, errors_);
    std::shared_ptr<void> route_;
};

// =============================================================================================
// Hostile values
// =============================================================================================
namespace {

std::string WriteReal(double value) {
    if (std::isnan(value)) {
        return "nan";
    }
    if (std::isinf(value)) {
        return value > 0 ? "inf" : "-inf";
    }
    std::ostringstream out;
    out.precision(17);
    out << value;
    return out.str();
}

// A text in double quotes, every byte that is not printable ASCII (and quotes, backslashes)
// written \xNN, so that a line stays valid UTF-8 whatever the text.
std::string WriteText(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string written = "\"";
    for (unsigned char c : text) {
        if (c < 0x20 || c >= 0x7F || c == '"' || c == '\\') {
            written += "\\x";
            written += kHex[c >> 4];
            written += kHex[c & 15];
        } else {
            written += static_cast<char>(c);
        }
    }
    return written + "\"";
}

double RandomReal(KesStepSource& source) {
    static const std::vector<double> kSpecial = {
        0.0,          -0.0,          1.0,     -1.0,     0.5,      2.5,       5.0,    50.0,
        95.0,         100.0,         360.0,   1200.0,   5000.0,   9000.0,    1e-300, 5e-324,
        1e300,        -1e300,        DBL_MAX, -DBL_MAX, INFINITY, -INFINITY, NAN,    1e9,
        2147483648.0, -2147483649.0, 0.1,     3.7,      -2.5,     99.99999,  1e-7,   123456.789};
    switch (source.Below(3)) {
    case 0:
        return source.Pick(kSpecial);
    case 1:
        return static_cast<double>(source.Between(-100, 200));
    default:
        return static_cast<double>(source.Between(-100000, 1000000)) / 1000.0;
    }
}

int RandomInt(KesStepSource& source) {
    static const std::vector<int> kSpecial = {
        0, 1, -1, 2, 3, 5, 7, 20, 99, 100, INT_MAX, INT_MIN, INT_MAX - 1, INT_MIN + 1, 1000000};
    switch (source.Below(3)) {
    case 0:
        return source.Pick(kSpecial);
    case 1:
        return source.Between(-20, 40);
    default:
        return static_cast<int>(source.Below(0xFFFFFFFFu) - 0x7FFFFFFFu);
    }
}

// Texts a person may type or a caller may pass: empty, blanks, values a panel may know,
// numbers, texts far longer than any field, bytes that are not UTF-8, characters of several
// bytes. `known` adds the texts of the panel at hand (its choices).
std::string RandomText(KesStepSource& source, const std::vector<std::string>& known) {
    static const std::vector<std::string> kCommon = {
        "ZIGZAG", "SPIRAL", "CONTOUR", "G81", "G83", "FEED_ROUGH", "none",
        "P1",     "1",      "-1",      "2",   "7",   "0"};
    static const std::vector<std::string> kNumbers = {"12",
                                                      "-3.5",
                                                      "1e999",
                                                      "-1e999",
                                                      "1e-999",
                                                      "nan",
                                                      "inf",
                                                      "-inf",
                                                      "2147483648",
                                                      "-2147483649",
                                                      "0x10",
                                                      " 42 ",
                                                      "4 2",
                                                      "3.7",
                                                      "1,5",
                                                      "+7",
                                                      "99999999999999999999",
                                                      "1e308",
                                                      "-0",
                                                      ".",
                                                      "-",
                                                      "1e",
                                                      "00012"};
    static const std::vector<std::string> kPieces = {"a", " ",  "_", "=",    "%",    "\n",   "\t",
                                                     "é", "漢", "😀", "\xC3", "\xFF", "\x80", "Z"};
    const auto pickKnown = [&]() -> std::string {
        return !known.empty() && source.Chance(60) ? source.Pick(known) : source.Pick(kCommon);
    };
    switch (source.Below(9)) {
    case 0:
        return std::string();
    case 1:
        return std::string(static_cast<size_t>(source.Between(1, 5)), ' ');
    case 2:
        return pickKnown();
    case 3:
        return source.Pick(kNumbers);
    case 4: { // longer than every field
        std::string text;
        const int length = source.Between(60, 300);
        const std::string& piece = source.Pick(kPieces);
        for (int i = 0; i < length; ++i) {
            text += source.Chance(80) ? piece : source.Pick(kPieces);
        }
        return text;
    }
    case 5: { // arbitrary bytes, NUL included
        std::string text;
        const int length = source.Between(0, 24);
        for (int i = 0; i < length; ++i) {
            text.push_back(static_cast<char>(source.Below(256)));
        }
        return text;
    }
    case 6: { // a mix of pieces
        std::string text;
        const int length = source.Between(1, 12);
        for (int i = 0; i < length; ++i) {
            text += source.Pick(kPieces);
        }
        return text;
    }
    case 7:
        return "  " + pickKnown() + "  ";
    default:
        return pickKnown() + source.Pick(kPieces);
    }
}

// A vector as the driver reads it: null, or items, mostly one, sometimes none, a few or many.
// Runs of equal items are written ITEM*N.
template <class Make> std::string RandomVector(KesStepSource& source, Make make) {
    if (source.Chance(12)) {
        return "null";
    }
    int size = 1;
    switch (source.Below(6)) {
    case 0:
        size = 0;
        break;
    case 1:
        size = source.Between(2, 4);
        break;
    case 2:
        size = source.Between(5, 60);
        break;
    default:
        break;
    }
    std::vector<std::string> items;
    for (int i = 0; i < size; ++i) {
        items.push_back(make());
    }
    std::string written = "[";
    for (size_t i = 0; i < items.size();) {
        size_t run = 1;
        while (i + run < items.size() && items[i + run] == items[i]) {
            ++run;
        }
        written += (i == 0 ? "" : ", ") + items[i] + (run > 1 ? "*" + std::to_string(run) : "");
        i += run;
    }
    return written + "]";
}

// =============================================================================================
// Steps
// =============================================================================================

// Draws one step, as a command line, from the state of the panel.
class StepMaker {
public:
    StepMaker(KesStepSource& source, KesPanelDriver& driver, std::vector<std::string> parameters)
        : source_(source), driver_(driver), parameters_(std::move(parameters)) {}

    std::string Next() {
        attributes_ = driver_.Attributes(); // the caller deletes and rebuilds them
        if (attributes_.empty()) {
            return source_.Chance(50) ? "rebuild" : "values";
        }
        if (source_.Chance(5)) {
            return source_.Chance(60) ? "undo"
                                      : "redo"; // checked by the driver against what it saw
        }
        const uint32_t what = source_.Below(100);
        KesMfgAttribute* attribute = source_.Pick(attributes_);
        Known(attribute);
        if (what < 3) {
            return "tab";
        }
        if (what < 55) {
            return UserAction(attribute);
        }
        if (what == 55 || what == 56) {
            // The caller deletes an attribute, or every one and builds the panel again, while
            // the panel is shown (rarely: what it deletes is gone for the rest of the run).
            return source_.Chance(50) ? "rebuild" : "delete " + Name(attribute);
        }
        if (what < 88) {
            return CallerCommand(attribute);
        }
        if (what < 95) {
            return ReadCommand(attribute);
        }
        // Armed now, run from inside the next notification of the attribute: a call on the
        // sender itself, or on another attribute; sometimes the caller deletes one of them or
        // builds the panel again, as a dialog does when the sender changes what it edits.
        KesMfgAttribute* other = source_.Chance(50) ? attribute : source_.Pick(attributes_);
        Known(other);
        if (source_.Chance(8)) {
            return "on-notify " + Name(attribute) + " " +
                   (source_.Chance(50) ? std::string("rebuild") : "delete " + Name(other));
        }
        return "on-notify " + Name(attribute) + " " + CallerCommand(other);
    }

private:
    // How the commands name an attribute: by record name, written in double quotes with escapes
    // when it holds what a plain command word cannot.
    static std::string Name(const KesMfgAttribute* attribute) {
        const std::string name = attribute->GetRecordName().Str();
        const bool plain = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-';
        });
        return plain ? name : WriteText(name);
    }

    // The texts the attribute knows, which a hostile text often repeats: its choices, the lines
    // of its combos, the model's parameters when it binds one.
    void Known(const KesMfgAttribute* attribute) {
        known_.clear();
        if (const auto* list = dynamic_cast<const KesMfgAttCharList*>(attribute)) {
            for (const KesUnicodeString& value : list->GetAllowedValues().Items()) {
                known_.push_back(value.Str());
            }
        }
        std::vector<KesDialog*> widgets;
        Widgets(attribute, widgets);
        for (const KesDialog* widget : widgets) {
            if (const auto* combo = dynamic_cast<const KesDlgCombo*>(widget)) {
                for (int row = 0; row < combo->GetLineCount(); ++row) {
                    known_.push_back(combo->GetLine(row).Str());
                }
                if (combo->IsEditable()) {
                    known_.insert(known_.end(), parameters_.begin(), parameters_.end());
                }
            }
        }
    }
    std::string Text() { return RandomText(source_, known_); }
    std::string NonEmptyText() {
        const std::string text = Text();
        return text.empty() ? "x" : text;
    }

    // ---- User actions --------------------------------------------------------------------
    static void Widgets(const KesDialog* root, std::vector<KesDialog*>& widgets) {
        for (int i = 0; i < root->GetChildCount(); ++i) {
            KesDialog* child = root->GetChildFromChildNumber(i);
            if (child->GetKind() == KesDlgKind::Dialog) {
                continue; // the commands reach dialogs through the menu items that open them
            }
            widgets.push_back(child);
            Widgets(child, widgets);
        }
    }

    // NAME[i] for a field of a list's window, NAME otherwise.
    template <class W>
    static std::string Field(const KesMfgAttribute* attribute, KesDialog* widget) {
        const KesDialog* parent = widget->GetParent();
        if (parent == nullptr || !(parent->GetName() == "FrameValues")) {
            return Name(attribute);
        }
        int index = 0;
        for (int i = 0; i < parent->GetChildCount(); ++i) {
            KesDialog* child = parent->GetChildFromChildNumber(i);
            index += dynamic_cast<W*>(child) != nullptr ? 1 : 0;
            if (child == widget) {
                break;
            }
        }
        return Name(attribute) + "[" + std::to_string(index) + "]";
    }

    std::string UserAction(KesMfgAttribute* attribute) {
        std::vector<KesDialog*> widgets;
        Widgets(attribute, widgets);
        // Most actions go to widgets that take input, the others to any widget (hidden and
        // insensitive ones included), which must refuse them.
        if (source_.Chance(65)) {
            std::vector<KesDialog*> taking;
            std::copy_if(widgets.begin(), widgets.end(), std::back_inserter(taking),
                         [](const KesDialog* widget) { return widget->AcceptsUserInput(); });
            if (!taking.empty()) {
                widgets.swap(taking);
            }
        }
        // A widget no command reaches gives way to another draw.
        for (int attempt = 0; attempt < 4 && !widgets.empty(); ++attempt) {
            std::string line = ActOn(attribute, source_.Pick(widgets));
            if (!line.empty()) {
                return line;
            }
        }
        return "get " + Name(attribute);
    }

    std::string ActOn(KesMfgAttribute* attribute, KesDialog* widget) {
        const std::string name = widget->GetName().Str();
        switch (widget->GetKind()) {
        case KesDlgKind::Editor:
            if (name != "editoratt" && !(widget->GetParent()->GetName() == "FrameValues")) {
                return std::string();
            }
            // Typed and confirmed; or typed only, confirmed by the next gesture or dropped;
            // or only focused.
            switch (source_.Below(5)) {
            case 0:
                return "keys " + Field<KesDlgEditor>(attribute, widget) + " " + WriteText(Text());
            case 1:
                return "focus " + Field<KesDlgEditor>(attribute, widget);
            default:
                return "type " + Field<KesDlgEditor>(attribute, widget) + " " + WriteText(Text());
            }
        case KesDlgKind::Spinner: {
            const std::string target = Field<KesDlgSpinner>(attribute, widget);
            if (source_.Chance(25)) {
                // Typed into the field as a person types: a number as written, or any text
                // (the field takes only the keys a number is written with); confirmed, or
                // typed at the end and confirmed by the next gesture.
                const std::string typed =
                    source_.Chance(60) ? WriteReal(RandomReal(source_)) : Text();
                return (source_.Chance(70) ? "type " : "keys ") + target + " " + WriteText(typed);
            }
            if (source_.Chance(50)) {
                return "spin " + target + " " + WriteReal(RandomReal(source_));
            }
            const int clicks = source_.Chance(90) ? source_.Between(-10, 10) : RandomInt(source_);
            return "nudge " + target + " " + std::to_string(clicks);
        }
        case KesDlgKind::Combo: {
            auto* combo = static_cast<KesDlgCombo*>(widget);
            const uint32_t how = source_.Below(3);
            if (how == 0 && combo->GetLineCount() > 0) {
                // By #row, or by a line's display text or the value it stands for.
                const std::vector<std::string> words = KesPanelDriver::ChoiceWords(*attribute);
                if (!words.empty() && source_.Chance(65)) {
                    return "select " + Name(attribute) + " " + WriteText(source_.Pick(words));
                }
                return "select " + Name(attribute) + " #" +
                       std::to_string(source_.Between(1, combo->GetLineCount()));
            }
            if (how == 1 && combo->IsEditable()) {
                return (source_.Chance(25) ? "keys " : "bind ") + Name(attribute) + " " +
                       WriteText(NonEmptyText());
            }
            return "drop " + Name(attribute);
        }
        case KesDlgKind::SelectorList: {
            auto* list = static_cast<KesDlgSelectorList*>(widget);
            std::vector<std::string> lines;
            for (int row = 0; row < list->GetLineCount(); ++row) {
                const std::string line = list->GetLine(row).Str();
                // Lines a command can name: no comma, no blanks around.
                if (!line.empty() && line.find(',') == std::string::npos && line.front() != ' ' &&
                    line.back() != ' ' && source_.Chance(40)) {
                    lines.push_back(line);
                }
            }
            std::string chosen;
            for (const std::string& line : lines) {
                chosen += (chosen.empty() ? "" : ", ") + line;
            }
            return "select " + Name(attribute) + " " + (chosen.empty() ? "-" : WriteText(chosen));
        }
        case KesDlgKind::CheckButton:
            if (name == "OptionCheck") {
                return "option " + Name(attribute) + " " +
                       (static_cast<KesDlgCheckButton*>(widget)->IsOn() ? "off" : "on");
            }
            return name == "chkbtnatt" || widget->GetParent()->GetName() == "FrameValues"
                       ? "click " + Field<KesDlgCheckButton>(attribute, widget)
                       : std::string();
        case KesDlgKind::RadioButton: {
            if (name.rfind("rb", 0) != 0 || name.size() <= 2) {
                return std::string();
            }
            // By the value it stands for or by its title, with click or select.
            const std::vector<std::string> words = KesPanelDriver::ChoiceWords(*attribute);
            std::vector<std::string> own;
            for (const std::string& word : {name.substr(2), widget->GetTitle().Str()}) {
                if (std::find(words.begin(), words.end(), word) != words.end()) {
                    own.push_back(word);
                }
            }
            if (own.empty()) {
                return std::string();
            }
            return (source_.Chance(70) ? "click " : "select ") + Name(attribute) + " " +
                   WriteText(source_.Pick(own));
        }
        case KesDlgKind::PushItem:
            if (name == "Add" || name == "Remove") {
                return (name == "Add" ? "add " : "remove ") + Name(attribute);
            }
            if (name == "createpar") {
                return "create " + Name(attribute) + " " + WriteText(NonEmptyText());
            }
            if (name == "defstep") {
                return "step " + Name(attribute) + " " +
                       (source_.Chance(50) ? WriteReal(RandomReal(source_))
                                           : WriteText(NonEmptyText()));
            }
            return std::string();
        case KesDlgKind::ScrollBar: {
            auto* bar = static_cast<KesDlgScrollBar*>(widget);
            if (!(name == "Scrol")) {
                return std::string();
            }
            const int position = source_.Chance(90)
                                     ? source_.Between(-1, bar->GetScrollMaximum() + 1)
                                     : RandomInt(source_);
            return (source_.Chance(70) ? "scroll " : "drag ") + Name(attribute) + " " +
                   std::to_string(position);
        }
        case KesDlgKind::PushButton:
            return name == "pb" ? "press " + Name(attribute) : std::string();
        case KesDlgKind::Frame:
        case KesDlgKind::Label:
        case KesDlgKind::ContextualMenu:
        case KesDlgKind::Dialog:
        case KesDlgKind::Count:
            return std::string();
        }
        return std::string(); // no other kind exists
    }

    // ---- Caller commands -----------------------------------------------------------------
    std::string Ints() {
        return RandomVector(source_, [&] { return std::to_string(RandomInt(source_)); });
    }
    std::string Reals() {
        return RandomVector(source_, [&] { return WriteReal(RandomReal(source_)); });
    }
    std::string Texts() {
        return RandomVector(source_, [&] { return WriteText(Text()); });
    }

    std::string CallerCommand(KesMfgAttribute* attribute) {
        const std::string name = Name(attribute);
        const bool link = dynamic_cast<KesMfgAttLink*>(attribute) != nullptr;
        switch (source_.Below(17)) {
        case 0:
        case 1:
        case 2:
        case 3:
            if (link && source_.Chance(60)) {
                return Hand(name);
            }
            return "set " + name + " " + Ints() + " " + Reals() + " " + Texts() + " " +
                   std::to_string(source_.Pick(std::vector<int>{0, 0, 1, 1, 2, -1}));
        case 4:
            // Read-only mode is for good, so it comes rarely.
            return "editmode " + name + " " +
                   std::to_string(source_.Chance(4) ? 0 : source_.Pick(std::vector<int>{1, 2, -1}));
        case 5:
            return "sensitivity " + name + " " +
                   std::to_string(source_.Pick(std::vector<int>{8, 8, 16, 16, 0, 12345}));
        case 6:
            return "access " + name + " " +
                   std::to_string(source_.Pick(std::vector<int>{0, 1, 1, 2, -1}));
        case 7:
            return "optional " + name + " " + std::to_string(source_.Between(-1, 2)) + " " +
                   std::to_string(source_.Between(-1, 2));
        case 8:
        case 9: {
            const std::string values = RandomVector(source_, [&] {
                return WriteText(source_.Chance(75) && !known_.empty() ? source_.Pick(known_)
                                 : source_.Chance(60) ? source_.Pick(std::vector<std::string>{
                                                            "1", "-1", "2", " G85 "})
                                                      : Text());
            });
            const int selection =
                source_.Pick(std::vector<int>{-1, -1, 1, 2, 3, 0, 7, INT_MAX, INT_MIN});
            const bool choices = dynamic_cast<KesMfgAttCharList*>(attribute) != nullptr;
            return std::string(choices && source_.Chance(50) ? "newlist " : "modify ") + name +
                   " " + values + " " + std::to_string(selection);
        }
        case 10:
            return "impact " + name;
        case 11:
            return Impacts(name);
        case 13:
        case 14: {
            // The public callbacks, with null arguments, whatever the state of the widgets.
            const std::vector<std::string> callbacks = KesPanelDriver::CallbacksOf(*attribute);
            return callbacks.empty() ? "impact " + name
                                     : "callback " + name + " " + source_.Pick(callbacks);
        }
        case 15:
            // Display again is ignored; the width waits for a Display that never comes.
            return source_.Chance(50) ? "display " + name
                                      : "width " + name + " " + std::to_string(RandomInt(source_));
        case 16:
            return source_.Chance(50)
                       ? "helps " + name + " " + Texts() + " " + Texts()
                       : "icons " + name + " " + Texts() + " " + Texts() + " " + WriteText(Text());
        default:
            return link ? Hand(name) : "impact " + name;
        }
    }

    // New impact tables of any shape, also with null entries and tables shorter than M x N.
    std::string Impacts(const std::string& name) {
        std::string attributes = "[";
        const int count = source_.Between(0, 4);
        for (int i = 0; i < count; ++i) {
            attributes +=
                (i == 0 ? "" : ", ") +
                (source_.Chance(10) ? std::string("null")
                                    : WriteText(source_.Pick(attributes_)->GetRecordName().Str()));
        }
        const bool texts = source_.Chance(50);
        std::string values = "[";
        const int valueCount = source_.Between(0, 4);
        for (int i = 0; i < valueCount; ++i) {
            values +=
                (i == 0 ? "" : ", ") +
                (texts ? WriteText(source_.Chance(80) && !known_.empty() ? source_.Pick(known_)
                                                                         : Text())
                       : std::to_string(source_.Chance(80) ? source_.Between(-1, 4)
                                                           : RandomInt(source_)));
        }
        std::string flags = "[";
        const int flagCount = source_.Between(0, 12);
        for (int i = 0; i < flagCount; ++i) {
            flags +=
                (i == 0 ? "" : ", ") +
                std::to_string(source_.Chance(90) ? source_.Between(0, 1) : RandomInt(source_));
        }
        return "impacts " + name + " " + attributes + "] " + values + "] " + flags + "]";
    }

    // Well-formed records most of the time; sometimes vectors of any length.
    std::string Hand(const std::string& name) {
        if (source_.Chance(60)) {
            const int count = source_.Between(0, 3);
            std::string names = "[", counts = "[", types = "[";
            for (int i = 0; i < count; ++i) {
                names += (i == 0 ? "" : ", ") + WriteText(Text());
                counts += (i == 0 ? "0" : ", 0");
                types += (i == 0 ? "" : ", ") + std::to_string(source_.Between(0, 3));
            }
            return "hand " + name + " " + names + "] " + counts + "] " + types + "] " + Ints() +
                   " " + Reals() + " " + Texts();
        }
        return "hand " + name + " " + Texts() + " " + Ints() + " " + Ints() + " " + Ints() + " " +
               Reals() + " " + Texts();
    }

    // ---- Reads with null vectors ---------------------------------------------------------
    std::string ReadCommand(KesMfgAttribute* attribute) {
        std::string mask;
        for (int i = 0; i < 6; ++i) {
            mask += source_.Chance(85) ? '+' : '-';
        }
        if (source_.Chance(50)) {
            return "get " + Name(attribute) + " " + mask;
        }
        const int group = source_.Chance(80) ? attribute->GetGroup() : RandomInt(source_);
        return "put " + Name(attribute) + " " + std::to_string(group) + " " + mask;
    }

    KesStepSource& source_;
    KesPanelDriver& driver_;
    std::vector<KesMfgAttribute*> attributes_;
    std::vector<std::string> parameters_;
    std::vector<std::string> known_;
};

} // namespace

// =============================================================================================
// Running
// =============================================================================================
KesPanelMonkey::KesPanelMonkey(Builder build) : build_(std::move(build)) {}

KesPanelMonkey::Result KesPanelMonkey::Run(KesStepSource& source, int steps, bool shrink) {
    Result result;
    std::vector<std::string> lines;
    {
        QuietStreams quiet;
        Session session(build_, reset_, route_);
        KesPanelFault fault = session.Driver().Check();
        if (!fault.IsEmpty()) {
            result.failure = Failure{0, "(building the panel)", fault, {}};
            return result;
        }
        StepMaker maker(source, session.Driver(), session.Parameters());
        for (int step = 1; step <= steps && !source.Exhausted(); ++step) {
            if (progress_) {
                progress_(step - 1);
            }
            if (stop_ && stop_()) {
                result.steps = step - 1; // a skipped draw counts: the replay draws it too
                result.interrupted = true;
                break;
            }
            std::string line = maker.Next();
            // A line the driver does not take (too long) gives way to another draw.
            for (int attempt = 0; attempt < 4 && line.size() > KesPanelDriver::kMaxLineLength;
                 ++attempt) {
                line = maker.Next();
            }
            if (line.size() > KesPanelDriver::kMaxLineLength) {
                continue;
            }
            result.steps = step;
            if (!session.Run(line, static_cast<int>(lines.size()) + 1)) {
                ++result.failedLines;
                continue;
            }
            lines.push_back(line);
            fault = session.Driver().Check();
            if (!fault.IsEmpty()) {
                result.failure = Failure{step, line, fault, {}};
                break;
            }
        }
        if (progress_) {
            progress_(result.steps);
        }
    }
    if (result.failure && shrink) {
        result.failure->shrunk = Shrink(lines, result.failure->fault.invariant);
    } else if (result.failure) {
        result.failure->shrunk = lines;
    }
    return result;
}

KesPanelFault KesPanelMonkey::Replay(const std::vector<std::string>& lines, bool* clean) {
    QuietStreams quiet;
    Session session(build_, reset_, route_);
    ++replays_;
    bool all = true;
    for (size_t i = 0; i < lines.size() && all; ++i) {
        all = session.Run(lines[i], static_cast<int>(i) + 1);
    }
    if (clean != nullptr) {
        *clean = all;
    }
    return session.Driver().Check();
}

// =============================================================================================
// Shrinking
// =============================================================================================
bool KesPanelMonkey::Breaks(const std::vector<std::string>& lines, const std::string& invariant) {
    if (stop_ && stop_()) {
        replays_ = shrinkBudget_; // nothing more is tried: the shortest found so far stands
        return false;
    }
    bool clean = false;
    const KesPanelFault fault = Replay(lines, &clean);
    return clean && fault.invariant == invariant;
}

// Delta debugging (ddmin): split into n parts; keep a part, or the rest without a part, that
// still breaks the invariant; else split finer. A long run is first cut to the shortest tail
// that breaks it alone, so that each replay stays short.
std::vector<std::string> KesPanelMonkey::Shrink(std::vector<std::string> lines,
                                                const std::string& invariant) {
    replays_ = 0;
    for (size_t tail = 16; tail < lines.size() && replays_ < shrinkBudget_; tail *= 4) {
        std::vector<std::string> last(lines.end() - static_cast<std::ptrdiff_t>(tail), lines.end());
        if (Breaks(last, invariant)) {
            lines.swap(last);
            break;
        }
    }
    size_t parts = 2;
    while (lines.size() >= 2 && replays_ < shrinkBudget_) {
        const size_t chunk = (lines.size() + parts - 1) / parts;
        bool reduced = false;
        for (size_t start = 0; start < lines.size() && !reduced && replays_ < shrinkBudget_;
             start += chunk) {
            const auto begin = lines.begin() + static_cast<std::ptrdiff_t>(start);
            const auto end =
                lines.begin() + static_cast<std::ptrdiff_t>(std::min(start + chunk, lines.size()));
            std::vector<std::string> part(begin, end);
            std::vector<std::string> rest(lines.begin(), begin);
            rest.insert(rest.end(), end, lines.end());
            if (Breaks(part, invariant)) {
                lines.swap(part);
                parts = 2;
                reduced = true;
            } else if (parts > 2 && Breaks(rest, invariant)) {
                lines.swap(rest);
                parts = std::max<size_t>(parts - 1, 2);
                reduced = true;
            }
        }
        if (!reduced) {
            if (parts >= lines.size()) {
                break;
            }
            parts = std::min(parts * 2, lines.size());
        }
    }
    return lines;
}

// =============================================================================================
// The script
// =============================================================================================
std::string KesPanelMonkey::Script(const Failure& failure, const std::string& origin,
                                   const std::string& replay) {
    const size_t count = failure.shrunk.size();
    std::string script = "# " + origin + ": step " + std::to_string(failure.step) +
                         " broke a check\n#   " + failure.fault.Text() + "\n# " +
                         (count == 1 ? std::string("the step below breaks it")
                                     : "the " + std::to_string(count) + " steps below break it") +
                         "; replay with an empty settings folder:\n" +
                         "#   KES_SETTINGS_DIR=$(mktemp -d) " + replay + "\n";
    for (const std::string& line : failure.shrunk) {
        script += line + "\n";
    }
    return script + "check\n";
}
