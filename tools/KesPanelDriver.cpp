// KesPanelDriver: command parsing, widget look-up, the user actions and the caller calls behind
// each command, the checks of refusals, the reactions armed with on-notify, and the transcript.
//
// Index:
//   Parsing helpers        words, quoted texts with escapes, caller numbers, written vectors
//   Widget look-up
//   Running a line and a session
//   Commands               the user actions
//   Caller commands        arguments, the public callbacks, the calls, reads with null vectors
//   Reactions and checks   on-notify, Check, the user action wrapper that watches refusals
//   Transcript (notifications, panel dump, help)
#include "tools/KesPanelDriver.h"

#include "choice/KesMfgAttCharList.h"
#include "choice/KesMfgAttIntList.h"
#include "framework/KesMfgAttNotifyModif.h"
#include "framework/KesMfgValueRecords.h"
#include "platform/KesDlgCombo.h"
#include "platform/KesDlgDialog.h"
#include "platform/KesDlgEditor.h"
#include "platform/KesDlgPushButton.h"
#include "platform/KesDlgPushItem.h"
#include "platform/KesDlgRadioButton.h"
#include "platform/KesDlgScrollBar.h"
#include "platform/KesDlgSelectorList.h"
#include "platform/KesDlgSpinner.h"
#include "single/KesMfgAttLink.h"
#include "single/KesMfgAttLogic.h"
#include "tools/KesAtomicFile.h"
#include "tools/KesAttributeCatalogue.h"
#include "tools/KesPanelPicture.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <type_traits>

// ---------------------------------------------------------------------------------------------
// Parsing helpers
// ---------------------------------------------------------------------------------------------
namespace {

std::string Trim(const std::string& text) {
    return KesTrimBlanks(text);
}

// The text between double quotes with its escapes replaced: \\, \", \n, \t and \xNN (any
// byte, so that a script can hold texts that are not UTF-8). Another backslash stays as it is.
std::string Unescape(const std::string& quoted) {
    std::string text;
    for (size_t i = 0; i < quoted.size(); ++i) {
        if (quoted[i] != '\\' || i + 1 >= quoted.size()) {
            text += quoted[i];
            continue;
        }
        const char next = quoted[i + 1];
        if (next == '\\' || next == '"') {
            text += next;
            ++i;
        } else if (next == 'n' || next == 't') {
            text += next == 'n' ? '\n' : '\t';
            ++i;
        } else if (next == 'x' && i + 3 < quoted.size() &&
                   std::isxdigit(static_cast<unsigned char>(quoted[i + 2])) &&
                   std::isxdigit(static_cast<unsigned char>(quoted[i + 3]))) {
            text += static_cast<char>(std::stoi(quoted.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            text += quoted[i];
        }
    }
    return text;
}

// Where the double-quoted text opening at `open` closes (an escaped quote does not close it);
// npos when it does not.
size_t ClosingQuote(const std::string& text, size_t open) {
    for (size_t i = open + 1; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
        } else if (text[i] == '"') {
            return i;
        }
    }
    return std::string::npos;
}

// Takes the first word of `rest` (a double-quoted word may hold blanks, and be followed by [i])
// and leaves the rest.
bool TakeWord(std::string& rest, std::string& word) {
    rest = Trim(rest);
    if (rest.empty()) {
        return false;
    }
    if (rest.front() == '"') {
        const size_t close = ClosingQuote(rest, 0);
        if (close == std::string::npos) {
            return false;
        }
        word = Unescape(rest.substr(1, close - 1));
        rest = rest.substr(close + 1);
        // "NAME"[i]: a field of a quoted name.
        if (!rest.empty() && rest.front() == '[') {
            const size_t end = rest.find_first_of(" \t");
            word += rest.substr(0, end);
            rest = end == std::string::npos ? std::string() : rest.substr(end);
        }
        return true;
    }
    const size_t end = rest.find_first_of(" \t");
    word = rest.substr(0, end);
    rest = end == std::string::npos ? std::string() : rest.substr(end);
    return true;
}

// The text argument: the rest of the line; written in double quotes, it may begin or end with
// blanks and hold escapes.
std::string TextArgument(const std::string& rest) {
    const std::string text = Trim(rest);
    if (text.size() >= 2 && text.front() == '"' && ClosingQuote(text, 0) == text.size() - 1) {
        return Unescape(text.substr(1, text.size() - 2));
    }
    return text;
}

// A caller's whole number (any int, INT_MIN and INT_MAX included) or real (nan, inf and -inf
// included), the whole word read.
bool ParseCallerInt(const std::string& text, int& value) {
    if (text.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long long read = std::strtoll(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || read < INT_MIN || read > INT_MAX) {
        return false;
    }
    value = static_cast<int>(read);
    return true;
}

bool ParseCallerReal(const std::string& text, double& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end); // out of range: an infinity or 0, as written
    return *end == '\0';
}

// One item of a written vector: a word, or a text written in double quotes.
struct Item {
    std::string text;
    bool quoted = false;
};

// The most items a written vector may hold (ITEM*N included).
constexpr int kMaxRepeat = 100000;

// Reads a vector from the front of `rest`: null, or [item, item*N, ...]. Answers false with a
// message in `error`; `isNull` tells a null vector from an empty one.
bool TakeVector(std::string& rest, std::vector<Item>& items, bool& isNull, std::string& error) {
    rest = Trim(rest);
    items.clear();
    isNull = rest.rfind("null", 0) == 0 && (rest.size() == 4 || rest[4] == ' ' || rest[4] == '\t');
    if (isNull) {
        rest = rest.substr(4);
        return true;
    }
    if (rest.empty() || rest.front() != '[') {
        error = rest.empty() ? "a vector is missing" : "a vector begins with [ or is null";
        return false;
    }
    size_t at = 1;
    const auto skipBlanks = [&] {
        while (at < rest.size() && (rest[at] == ' ' || rest[at] == '\t')) {
            ++at;
        }
    };
    skipBlanks();
    if (at < rest.size() && rest[at] == ']') {
        rest = rest.substr(at + 1);
        return true;
    }
    while (true) {
        skipBlanks();
        Item item;
        if (at < rest.size() && rest[at] == '"') {
            const size_t close = ClosingQuote(rest, at);
            if (close == std::string::npos) {
                error = "a text in a vector is not closed";
                return false;
            }
            item.text = Unescape(rest.substr(at + 1, close - at - 1));
            item.quoted = true;
            at = close + 1;
        } else {
            const size_t end = rest.find_first_of(",]* \t", at);
            item.text = rest.substr(at, end == std::string::npos ? std::string::npos : end - at);
            at = end == std::string::npos ? rest.size() : end;
            if (item.text.empty()) {
                error = "an item of a vector is missing";
                return false;
            }
        }
        skipBlanks();
        int copies = 1;
        if (at < rest.size() && rest[at] == '*') {
            const size_t end = rest.find_first_of(",] \t", at + 1);
            const std::string count =
                rest.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
            if (!ParseCallerInt(count, copies) || copies < 0 || copies > kMaxRepeat) {
                error =
                    "'*" + count + "' must repeat 0 to " + std::to_string(kMaxRepeat) + " times";
                return false;
            }
            at = end == std::string::npos ? rest.size() : end;
            skipBlanks();
        }
        if (items.size() + static_cast<size_t>(copies) > static_cast<size_t>(kMaxRepeat)) {
            error = "a vector holds at most " + std::to_string(kMaxRepeat) + " items";
            return false;
        }
        items.insert(items.end(), static_cast<size_t>(copies), item);
        if (at < rest.size() && rest[at] == ',') {
            ++at;
            continue;
        }
        if (at < rest.size() && rest[at] == ']') {
            rest = rest.substr(at + 1);
            return true;
        }
        error = "a vector's items are separated by commas and end with ]";
        return false;
    }
}

bool ParseInt(const std::string& text, int& value) {
    return KesUnicodeString(text).ConvertToNum(&value, "%d");
}

bool ParseReal(const std::string& text, double& value) {
    return KesUnicodeString(text).ConvertToNum(&value, "%le");
}

// ---------------------------------------------------------------------------------------------
// Widget look-up
// ---------------------------------------------------------------------------------------------

// The first descendant of `root` of type W with the identifier `name`, not looking inside
// dialog windows unless `root` is one.
template <class W> W* FindWidget(const KesDialog* root, const char* name) {
    for (int i = 0; i < root->GetChildCount(); ++i) {
        KesDialog* child = root->GetChildFromChildNumber(i);
        if (auto* widget = dynamic_cast<W*>(child); widget != nullptr && child->GetName() == name) {
            return widget;
        }
        if (child->GetKind() == KesDlgKind::Dialog) {
            continue;
        }
        if (W* found = FindWidget<W>(child, name)) {
            return found;
        }
    }
    return nullptr;
}

// Field `field` (from 1) of the window of a list: the children of type W of its value frame.
template <class W> W* FindField(const KesMfgAttribute* attribute, int field) {
    const auto* values = FindWidget<KesDlgFrame>(attribute, "FrameValues");
    if (values == nullptr) {
        return nullptr;
    }
    int seen = 0;
    for (int i = 0; i < values->GetChildCount(); ++i) {
        if (auto* widget = dynamic_cast<W*>(values->GetChildFromChildNumber(i))) {
            if (++seen == field) {
                return widget;
            }
        }
    }
    return nullptr;
}

// The field a person types into: field i of a list's window (an editor or a spinner), else
// the value field (an editor, an editable combo or a spinner); null when there is none.
KesDialog* TypingField(const KesMfgAttribute* attribute, int field) {
    if (field > 0) {
        if (auto* editor = FindField<KesDlgEditor>(attribute, field)) {
            return editor;
        }
        return FindField<KesDlgSpinner>(attribute, field);
    }
    if (auto* editor = FindWidget<KesDlgEditor>(attribute, "editoratt")) {
        return editor;
    }
    if (auto* combo = FindWidget<KesDlgCombo>(attribute, "comboatt");
        combo != nullptr && combo->IsEditable()) {
        return combo;
    }
    return FindWidget<KesDlgSpinner>(attribute, "spinneratt");
}

std::string NoTypingField(const std::string& name, int field) {
    return name + " has no field" + (field > 0 ? " " + std::to_string(field) : std::string()) +
           " to type into";
}

// One choice a person sees: a combo's line or a radio button, with the value it stands for.
struct Choice {
    std::string value;                  // what the records hold
    std::string text;                   // the display text the person reads
    int row = -1;                       // the combo's row
    KesDlgRadioButton* radio = nullptr; // or the radio button
};

// The value of a choice list's position `position` (from 1) when row `position` - 1 still shows
// its display text; else the line stands for itself (a parameter's name, a typed value).
template <class List>
std::optional<std::string> ValueOfRow(const KesMfgAttribute* attribute, int position,
                                      const std::string& line) {
    const auto* list = dynamic_cast<const List*>(attribute);
    if (list == nullptr || position > list->GetAllowedValues().Size() ||
        position > list->GetDisplayTexts().Size() ||
        !(list->GetDisplayTexts()[position] == line.c_str())) {
        return std::nullopt;
    }
    if constexpr (std::is_same_v<List, KesMfgAttIntList>) {
        return std::to_string(list->GetAllowedValues()[position]);
    } else {
        return list->GetAllowedValues()[position].Str();
    }
}

std::vector<Choice> ComboChoices(const KesMfgAttribute* attribute, const KesDlgCombo& combo) {
    std::vector<Choice> choices;
    for (int row = 0; row < combo.GetLineCount(); ++row) {
        Choice choice;
        choice.text = combo.GetLine(row).Str();
        choice.row = row;
        std::optional<std::string> value =
            ValueOfRow<KesMfgAttCharList>(attribute, row + 1, choice.text);
        if (!value) {
            value = ValueOfRow<KesMfgAttIntList>(attribute, row + 1, choice.text);
        }
        choice.value = value.value_or(choice.text);
        choices.push_back(choice);
    }
    return choices;
}

// The radio buttons of an attribute: button "rb" + value, titled by its display text.
std::vector<Choice> RadioChoices(KesMfgAttribute* attribute) {
    std::vector<Choice> choices;
    for (int i = 0; i < attribute->GetChildCount(); ++i) {
        auto* radio = dynamic_cast<KesDlgRadioButton*>(attribute->GetChildFromChildNumber(i));
        const std::string name = radio != nullptr ? radio->GetName().Str() : std::string();
        if (name.rfind("rb", 0) == 0) {
            choices.push_back(Choice{name.substr(2), radio->GetTitle().Str(), -1, radio});
        }
    }
    return choices;
}

// The choice a person means by `word`, its value or its display text; -1 when none is. A word
// that is the value of one choice and the display text of another names neither for sure:
// -2, with both named in `ambiguity`.
int PickChoice(const std::vector<Choice>& choices, const std::string& word,
               std::string& ambiguity) {
    int byValue = -1;
    int byText = -1;
    for (size_t i = 0; i < choices.size(); ++i) {
        const bool value = choices[i].value == word;
        const bool text = choices[i].text == word;
        if (value && text) {
            return static_cast<int>(i);
        }
        byValue = byValue < 0 && value ? static_cast<int>(i) : byValue;
        byText = byText < 0 && text ? static_cast<int>(i) : byText;
    }
    if (byValue >= 0 && byText >= 0) {
        ambiguity = "the value of the choice \"" + choices[static_cast<size_t>(byValue)].text +
                    "\" and the display text of the choice '" +
                    choices[static_cast<size_t>(byText)].value + "'";
        return -2;
    }
    return byValue >= 0 ? byValue : byText;
}

// The choices of an attribute: its combo's lines, else its radio buttons.
std::vector<Choice> ChoicesOf(KesMfgAttribute* attribute) {
    if (const auto* combo = FindWidget<KesDlgCombo>(attribute, "comboatt")) {
        return ComboChoices(attribute, *combo);
    }
    return RadioChoices(attribute);
}

} // namespace

std::vector<std::string> KesPanelDriver::ChoiceWords(KesMfgAttribute& attribute) {
    const std::vector<Choice> choices = ChoicesOf(&attribute);
    std::vector<std::string> words;
    for (const Choice& choice : choices) {
        for (const std::string& word : {choice.value, choice.text}) {
            std::string ambiguity;
            if (!Trim(word).empty() && word.front() != '#' &&
                PickChoice(choices, word, ambiguity) >= 0 &&
                std::find(words.begin(), words.end(), word) == words.end()) {
                words.push_back(word);
            }
        }
    }
    return words;
}

// Counts every change of every widget, to show that a refused user action changed nothing.
class KesPanelDriver::ChangeCounter final : public KesDlgObserver {
public:
    ChangeCounter() { KesDialog::AddObserver(this); }
    ~ChangeCounter() override { KesDialog::RemoveObserver(this); }
    ChangeCounter(const ChangeCounter&) = delete;
    ChangeCounter& operator=(const ChangeCounter&) = delete;
    void WidgetChanged(KesDialog&, KesDlgProperty) override { ++changes; }
    long changes = 0;
};

KesPanelDriver::KesPanelDriver(KesDlgTestFrame& frame, std::ostream& out, std::ostream& err)
    : frame_(frame), out_(out), err_(err), changes_(std::make_unique<ChangeCounter>()),
      toolkitHands_(std::make_unique<KesPanelToolkitHands>()), hands_(toolkitHands_.get()),
      self_(std::make_shared<KesPanelDriver*>(this)),
      history_(std::make_unique<KesPanelHistory>(frame)) {
    ResetSnapshots();
}

void KesPanelDriver::SetHands(KesPanelHands* hands) {
    hands_ = hands != nullptr ? hands : toolkitHands_.get();
}

// The frame keeps the callbacks bound for on-notify: they find no driver from now on.
KesPanelDriver::~KesPanelDriver() {
    *self_ = nullptr;
}

std::vector<KesMfgAttribute*> KesPanelDriver::Attributes() const {
    std::vector<KesMfgAttribute*> found;
    // Depth first in creation order; attributes are not searched inside.
    std::function<void(const KesDialog*)> walk = [&](const KesDialog* widget) {
        for (int i = 0; i < widget->GetChildCount(); ++i) {
            KesDialog* child = widget->GetChildFromChildNumber(i);
            if (auto* attribute = dynamic_cast<KesMfgAttribute*>(child)) {
                found.push_back(attribute);
            } else {
                walk(child);
            }
        }
    };
    walk(&frame_);
    return found;
}

KesMfgAttribute* KesPanelDriver::FindAttribute(const std::string& name) const {
    for (KesMfgAttribute* attribute : Attributes()) {
        if (attribute->GetRecordName().Str() == name) {
            return attribute;
        }
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Running a line and a session
// ---------------------------------------------------------------------------------------------
KesPanelDriver::Status KesPanelDriver::Fail(int lineNumber, const std::string& message) {
    err_ << "line " << lineNumber << ": " << message << std::endl;
    return Status::Failed;
}

bool KesPanelDriver::ResolveTarget(const std::string& word, Target& target, int lineNumber) {
    std::string name = word;
    target.field = 0;
    const size_t open = word.find('[');
    if (open != std::string::npos) {
        if (word.back() != ']' || open == 0) {
            Fail(lineNumber, "malformed field in '" + word + "': write NAME[i]");
            return false;
        }
        name = word.substr(0, open);
        if (!ParseInt(word.substr(open + 1, word.size() - open - 2), target.field) ||
            target.field < 1) {
            Fail(lineNumber, "field number in '" + word + "' must be a whole number from 1");
            return false;
        }
    }
    target.attribute = FindAttribute(name);
    if (target.attribute == nullptr) {
        std::vector<std::string> names;
        for (const KesMfgAttribute* attribute : Attributes()) {
            names.push_back(attribute->GetRecordName().Str());
        }
        const std::string close = KesDidYouMean(name, names);
        Fail(lineNumber, close.empty()
                             ? "no attribute named '" + name + "' (the command 'show' lists them)"
                             : "no attribute '" + name + "'" + close);
        return false;
    }
    return true;
}

KesPanelDriver::Status KesPanelDriver::Run(const std::string& rawLine, int lineNumber) {
    if (rawLine.size() > kMaxLineLength) {
        return Fail(lineNumber, "line of " + std::to_string(rawLine.size()) +
                                    " bytes is longer than " + std::to_string(kMaxLineLength));
    }
    if (KesUnicodeString(rawLine).Str() != rawLine) {
        return Fail(lineNumber, "line is not valid UTF-8");
    }
    std::string rest = Trim(rawLine);
    if (rest.empty() || rest.front() == '#') {
        return Status::Done;
    }
    std::string command;
    TakeWord(rest, command);
    out_ << "> " << Trim(rawLine) << "\n";
    struct Nesting {
        int& depth;
        ~Nesting() { --depth; }
    } nesting{++depth_};
    if (command == "undo" || command == "redo" || command == "save-values" ||
        command == "load-values") {
        return Edit(command, TextArgument(rest), lineNumber);
    }

    if (command == "help") {
        out_ << HelpText();
        return Status::Done;
    }
    if (command == "show") {
        ShowPanel();
        return Status::Done;
    }
    if (command == "values") {
        return Collect("", true, lineNumber);
    }
    if (command == "output") {
        return Collect(Trim(rest), false, lineNumber);
    }
    if (command == "model") {
        if (modelPrinter_) {
            modelPrinter_(out_);
        } else {
            out_ << "  (no model)\n";
        }
        return Status::Done;
    }
    if (command == "svg") {
        return Picture(TextArgument(rest), lineNumber);
    }

    if (command == "check") {
        const KesPanelFault fault = Check();
        if (!fault.IsEmpty()) {
            return Fail(lineNumber, "check failed: " + fault.Text());
        }
        out_ << "  every check holds\n";
        return Status::Done;
    }

    // A command run from inside a notification (on-notify) runs within another's gesture.
    const int nested = depth_ - 1;
    // After a command that acted: what arrived, what the host shows, the window in step.
    const auto finish = [&](Status status, KesMfgAttribute* target, bool caller) {
        ReportNotifications();
        EndCommand(target, caller, command); // one step of the history, or its end
        if (reactionFailed_) {
            status = Status::Failed; // the command run from inside a notification failed
            reactionFailed_ = false;
        }
        if (afterCommand_) {
            afterCommand_(out_);
        }
        if (nested == 0) {
            hands_->Settle(); // not from inside a gesture still under way
        }
        return status;
    };
    if (command == "tab" || command == "rebuild") {
        if (!Trim(rest).empty()) {
            return Fail(lineNumber, "'" + command + "' takes no argument");
        }
        lineNumber_ = lineNumber;
        return command == "tab" ? finish(Tab(), nullptr, false)
                                : finish(Rebuild(lineNumber), nullptr, true);
    }

    static const std::vector<std::string> kUserCommands = {
        "type", "spin", "nudge", "select", "click", "option", "add",   "remove", "scroll",
        "drag", "drop", "bind",  "create", "step",  "press",  "focus", "keys"};
    static const std::vector<std::string> kCallerCommands = {
        "set",     "hand",   "modify",  "newlist", "editmode", "sensitivity", "optional",
        "access",  "impact", "impacts", "get",     "put",      "on-notify",   "callback",
        "display", "width",  "helps",   "icons",   "delete"};
    const auto among = [&](const std::vector<std::string>& commands) {
        return std::find(commands.begin(), commands.end(), command) != commands.end();
    };
    const bool caller = among(kCallerCommands);
    const bool known = caller || among(kUserCommands);
    if (!known) {
        return Fail(lineNumber, "unknown command '" + command + "' (try 'help')");
    }
    std::string word;
    if (!TakeWord(rest, word)) {
        return Fail(lineNumber, "'" + command + "' needs an attribute name");
    }
    Target target;
    if (!ResolveTarget(word, target, lineNumber)) {
        return Status::Failed;
    }
    const std::string text = TextArgument(rest);
    const auto needsText = [&](const char* what) {
        return text.empty() ? Fail(lineNumber, "'" + command + "' needs " + what) : Status::Done;
    };
    lineNumber_ = lineNumber;
    if (!caller && command != "keys" && command != "focus" && !LeaveField(target.attribute)) {
        return finish(Status::Done, nullptr, false); // the field's reaction deleted the target
    }
    // The command may delete its own target (delete, or a reaction to the gesture).
    const std::shared_ptr<const bool> targetAlive = target.attribute->GetAliveToken();
    Status status = Status::Done;
    if (command == "delete") {
        status = Trim(rest).empty() ? Delete(target)
                                    : Fail(lineNumber, "'delete' takes an attribute name only");
    } else if (caller) {
        status = Call(command, target, rest, lineNumber);
    } else if (command == "keys") {
        status = Keys(target, text, lineNumber);
    } else if (command == "focus") {
        status = Trim(rest).empty() ? Focus(target, lineNumber)
                                    : Fail(lineNumber, "'focus' takes an attribute name only");
    } else if (command == "type") {
        status = Type(target, text, lineNumber);
    } else if (command == "spin") {
        status =
            needsText("a value") == Status::Done ? Spin(target, text, lineNumber) : Status::Failed;
    } else if (command == "nudge") {
        status = Nudge(target, text, lineNumber);
    } else if (command == "drag") {
        status = Drag(target, text, lineNumber);
    } else if (command == "select") {
        status = needsText("a line, #row or value") == Status::Done
                     ? Select(target, text, lineNumber)
                     : Status::Failed;
    } else if (command == "click") {
        status = Click(target, text, lineNumber);
    } else if (command == "option") {
        status = Option(target, text, lineNumber);
    } else if (command == "add") {
        status = Activate(target, "Add", lineNumber);
    } else if (command == "remove") {
        status = Activate(target, "Remove", lineNumber);
    } else if (command == "scroll") {
        status = Scroll(target, text, lineNumber);
    } else if (command == "drop") {
        status = Drop(target, lineNumber);
    } else if (command == "bind") {
        status = needsText("a parameter name") == Status::Done ? Bind(target, text, lineNumber)
                                                               : Status::Failed;
    } else if (command == "create") {
        status =
            needsText("a parameter name") == Status::Done
                ? Dialog(target, "createpar", "CreateParameter", "ParameterName", text, lineNumber)
                : Status::Failed;
    } else if (command == "step") {
        status = needsText("a step") == Status::Done
                     ? Dialog(target, "defstep", "StepEditorDlg", "StepEditor", text, lineNumber)
                     : Status::Failed;
    } else if (command == "press") {
        status = Press(target, lineNumber);
    }
    return finish(status, *targetAlive ? target.attribute : nullptr, caller);
}

int KesPanelDriver::RunSession(std::istream& in, bool interactive) {
    std::string line;
    int lineNumber = 0;
    while (true) {
        if (interactive) {
            out_ << "kes> " << std::flush;
        }
        if (!std::getline(in, line)) {
            break;
        }
        ++lineNumber;
        if (Trim(line) == "quit" || Trim(line) == "exit") {
            break;
        }
        if (Run(line, lineNumber) == Status::Failed && !interactive) {
            return 2;
        }
    }
    if (interactive) {
        out_ << "\n";
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Commands
// ---------------------------------------------------------------------------------------------
KesPanelDriver::Status KesPanelDriver::Type(const Target& target, const std::string& text,
                                            int lineNumber) {
    const std::string name = target.attribute->GetRecordName().Str();
    KesDialog* field = TypingField(target.attribute, target.field);
    if (field == nullptr) {
        return Fail(lineNumber, NoTypingField(name, target.field));
    }
    Act(field, name, [&] { return hands_->Type(*field, text); });
    return Status::Done;
}

KesPanelDriver::Status KesPanelDriver::Spin(const Target& target, const std::string& text,
                                            int lineNumber) {
    const std::string name = target.attribute->GetRecordName().Str();
    double value = 0.0;
    if (!ParseReal(text, value) && !ParseCallerReal(text, value)) {
        return Fail(lineNumber, "'" + text + "' is not a number");
    }
    KesDlgSpinner* spinner = target.field > 0
                                 ? FindField<KesDlgSpinner>(target.attribute, target.field)
                                 : FindWidget<KesDlgSpinner>(target.attribute, "spinneratt");
    if (spinner == nullptr) {
        return Fail(lineNumber, name + " has no spinner" +
                                    (target.field > 0 ? " field " + std::to_string(target.field)
                                                      : std::string()));
    }
    Act(spinner, name, [&] { return hands_->SetValue(*spinner, value); });
    return Status::Done;
}

// select NAME CHOICE: a combo's line by its display text, its value or #row; selector lines by
// their texts; a radio button by its value or title.
KesPanelDriver::Status KesPanelDriver::Select(const Target& target, const std::string& choice,
                                              int lineNumber) {
    const std::string name = target.attribute->GetRecordName().Str();
    if (auto* combo = FindWidget<KesDlgCombo>(target.attribute, "comboatt")) {
        int row = -1;
        if (choice.front() == '#') {
            if (!ParseInt(choice.substr(1), row) || row < 1 || row > combo->GetLineCount()) {
                return Fail(lineNumber, "'" + choice + "': " + name + " has rows #1 to #" +
                                            std::to_string(combo->GetLineCount()));
            }
            --row;
        } else {
            const std::vector<Choice> choices = ComboChoices(target.attribute, *combo);
            std::string ambiguity;
            const int picked = PickChoice(choices, choice, ambiguity);
            if (picked == -2) {
                return Fail(lineNumber, "'" + choice + "' is ambiguous in " + name + ": " +
                                            ambiguity + " (write #row)");
            }
            if (picked < 0) {
                return Fail(lineNumber, name + " has no line or value '" + choice + "'");
            }
            row = choices[static_cast<size_t>(picked)].row;
        }
        Act(combo, name, [&] { return hands_->SelectRow(*combo, row); });
        return Status::Done;
    }
    if (auto* list = FindWidget<KesDlgSelectorList>(target.attribute, "SelList")) {
        std::vector<int> rows;
        if (choice != "-") {
            std::stringstream items(choice);
            for (std::string item; std::getline(items, item, ',');) {
                item = Trim(item);
                int row = -1;
                for (int i = 0; i < list->GetLineCount() && row < 0; ++i) {
                    row = list->GetLine(i) == item.c_str() ? i : -1;
                }
                if (row < 0) {
                    return Fail(lineNumber, name + " has no line '" + item + "'");
                }
                rows.push_back(row);
            }
        }
        Act(list, name, [&] { return hands_->SelectRows(*list, rows); });
        return Status::Done;
    }
    if (RadioChoices(target.attribute).empty()) {
        return Fail(lineNumber, name + " offers no choice '" + choice + "'");
    }
    return ClickRadio(target, choice, lineNumber);
}

// A radio button by the value it stands for or by its title.
KesPanelDriver::Status KesPanelDriver::ClickRadio(const Target& target, const std::string& word,
                                                  int lineNumber) {
    const std::string name = target.attribute->GetRecordName().Str();
    const std::vector<Choice> choices = RadioChoices(target.attribute);
    std::string ambiguity;
    const int picked = PickChoice(choices, word, ambiguity);
    if (picked == -2) {
        return Fail(lineNumber, "'" + word + "' is ambiguous in " + name + ": " + ambiguity);
    }
    if (picked < 0) {
        return Fail(lineNumber, name + " has no radio button for '" + word + "'");
    }
    KesDlgRadioButton* radio = choices[static_cast<size_t>(picked)].radio;
    Act(radio, name, [&] { return hands_->Click(*radio); });
    return Status::Done;
}

KesPanelDriver::Status KesPanelDriver::Click(const Target& target, const std::string& value,
                                             int lineNumber) {
    const std::string name = target.attribute->GetRecordName().Str();
    if (!value.empty()) {
        return ClickRadio(target, value, lineNumber);
    }
    KesDlgCheckButton* check = target.field > 0
                                   ? FindField<KesDlgCheckButton>(target.attribute, target.field)
                                   : FindWidget<KesDlgCheckButton>(target.attribute, "chkbtnatt");
    if (check == nullptr) {
        return Fail(lineNumber, name + " has no check button" +
                                    (target.field > 0 ? " field " + std::to_string(target.field)
                                                      : " (radio buttons: click NAME VALUE)"));
    }
    Act(check, name, [&] { return hands_->Click(*check); });
    return Status::Done;
}

KesPanelDriver::Status KesPanelDriver::Option(const Target& target, const std::string& state,
                                              int lineNumber) {
    const std::string name = target.attribute->GetRecordName().Str();
    if (state != "on" && state != "off") {
        return Fail(lineNumber, "'option' takes on or off");
    }
    auto* check = FindWidget<KesDlgCheckButton>(target.attribute, "OptionCheck");
    if (check == nullptr) {
        return Fail(lineNumber, name + " is not optional");
    }
    if (check->IsOn() == (state == "on")) {
        out_ << "  (" << name << " is " << state << " already)\n";
        return Status::Done;
    }
    Act(check, name, [&] { return hands_->Click(*check); });
    return Status::Done;
}

KesPanelDriver::Status KesPanelDriver::Activate(const Target& target, const char* item,
                                                int lineNumber) {
    const std::string name = target.attribute->GetRecordName().Str();
    auto* menuItem = FindWidget<KesDlgPushItem>(target.attribute, item);
    if (menuItem == nullptr) {
        return Fail(lineNumber, name + " has no menu item " + item);
    }
    Act(menuItem, std::string(item) + " of " + name, [&] { return hands_->Activate(*menuItem); });
    return Status::Done;
}

KesPanelDriver::Status KesPanelDriver::Scroll(const Target& target, const std::string& position,
                                              int lineNumber) {
    const std::string name = target.attribute->GetRecordName().Str();
    int to = 0;
    if (!ParseInt(position, to)) {
        return Fail(lineNumber, "'scroll' needs a whole position, not '" + position + "'");
    }
    auto* bar = FindWidget<KesDlgScrollBar>(target.attribute, "Scrol");
    if (bar == nullptr) {
        return Fail(lineNumber, name + " has no scroll bar");
    }
    Act(bar, name, [&] { return hands_->Scroll(*bar, to); });
    return Status::Done;
}

KesPanelDriver::Status KesPanelDriver::Drop(const Target& target, int lineNumber) {
    const std::string name = target.attribute->GetRecordName().Str();
    auto* combo = FindWidget<KesDlgCombo>(target.attribute, "comboatt");
    if (combo == nullptr) {
        return Fail(lineNumber, name + " has no combo");
    }
    const std::shared_ptr<const bool> alive = combo->GetAliveToken();
    Act(combo, name, [&] { return hands_->Drop(*combo); });
    if (*alive && combo->GetLineCount() > 0) { // a receiver of the drop may delete the combo
        out_ << "  lines:";
        for (int i = 0; i < combo->GetLineCount(); ++i) {
            out_ << (i == 0 ? " " : ", ") << combo->GetLine(i).Str();
        }
        out_ << "\n";
    }
    return Status::Done;
}

KesPanelDriver::Status KesPanelDriver::Bind(const Target& target, const std::string& parameter,
                                            int lineNumber) {
    const std::string name = target.attribute->GetRecordName().Str();
    auto* combo = FindWidget<KesDlgCombo>(target.attribute, "comboatt");
    if (combo == nullptr || !combo->IsEditable()) {
        return Fail(lineNumber, name + " has no parameter field");
    }
    Act(combo, name, [&] { return hands_->Type(*combo, parameter); });
    return Status::Done;
}

KesPanelDriver::Status KesPanelDriver::Dialog(const Target& target, const char* item,
                                              const char* dialogName, const char* fieldName,
                                              const std::string& text, int lineNumber) {
    const std::string name = target.attribute->GetRecordName().Str();
    auto* menuItem = FindWidget<KesDlgPushItem>(target.attribute, item);
    if (menuItem == nullptr) {
        return Fail(lineNumber, name + " has no menu item " + item);
    }
    // Receivers of each step may delete the attribute, the dialog or both.
    const std::shared_ptr<const bool> alive = target.attribute->GetAliveToken();
    if (!Act(menuItem, std::string(item) + " of " + name,
             [&] { return hands_->Activate(*menuItem); }) ||
        !*alive) {
        return Status::Done;
    }
    KesDlgDialog* dialog = nullptr;
    for (int i = 0; i < target.attribute->GetChildCount() && dialog == nullptr; ++i) {
        auto* child = dynamic_cast<KesDlgDialog*>(target.attribute->GetChildFromChildNumber(i));
        dialog = (child != nullptr && child->GetName() == dialogName) ? child : nullptr;
    }
    auto* field = dialog ? FindWidget<KesDlgEditor>(dialog, fieldName) : nullptr;
    if (field == nullptr) {
        out_ << "  (no " << dialogName << " dialog opened)\n";
        return Status::Done;
    }
    const std::shared_ptr<const bool> dialogAlive = dialog->GetAliveToken();
    Act(field, fieldName, [&] { return hands_->Type(*field, text); });
    if (*dialogAlive) {
        Act(dialog, dialogName, [&] { return hands_->Close(*dialog, true); });
    }
    return Status::Done;
}

KesPanelDriver::Status KesPanelDriver::Press(const Target& target, int lineNumber) {
    const std::string name = target.attribute->GetRecordName().Str();
    auto* button = FindWidget<KesDlgPushButton>(target.attribute, "pb");
    if (button == nullptr) {
        return Fail(lineNumber, name + " has no push button");
    }
    Act(button, name, [&] { return hands_->Press(*button); });
    return Status::Done;
}

KesPanelDriver::Status KesPanelDriver::Nudge(const Target& target, const std::string& text,
                                             int lineNumber) {
    const std::string name = target.attribute->GetRecordName().Str();
    int clicks = 0;
    if (!ParseCallerInt(text, clicks)) {
        return Fail(lineNumber, "'nudge' needs a whole number of clicks, not '" + text + "'");
    }
    KesDlgSpinner* spinner = target.field > 0
                                 ? FindField<KesDlgSpinner>(target.attribute, target.field)
                                 : FindWidget<KesDlgSpinner>(target.attribute, "spinneratt");
    if (spinner == nullptr) {
        return Fail(lineNumber, name + " has no such spinner");
    }
    Act(spinner, name, [&] { return hands_->Step(*spinner, clicks); });
    return Status::Done;
}

KesPanelDriver::Status KesPanelDriver::Drag(const Target& target, const std::string& text,
                                            int lineNumber) {
    const std::string name = target.attribute->GetRecordName().Str();
    int to = 0;
    if (!ParseCallerInt(text, to)) {
        return Fail(lineNumber, "'drag' needs a whole position, not '" + text + "'");
    }
    auto* bar = FindWidget<KesDlgScrollBar>(target.attribute, "Scrol");
    if (bar == nullptr) {
        return Fail(lineNumber, name + " has no scroll bar");
    }
    Act(bar, name, [&] { return hands_->Drag(*bar, to); });
    return Status::Done;
}

// ---- The keyboard focus -------------------------------------------------------------------
namespace {

// Widgets that take the keyboard focus, as a window's tab chain holds them.
bool TakesFocus(const KesDialog& widget) {
    switch (widget.GetKind()) {
    case KesDlgKind::Editor:
    case KesDlgKind::Spinner:
    case KesDlgKind::Combo:
    case KesDlgKind::SelectorList:
    case KesDlgKind::CheckButton:
    case KesDlgKind::RadioButton:
    case KesDlgKind::PushButton:
        return true;
    case KesDlgKind::Frame:
    case KesDlgKind::Label:
    case KesDlgKind::ContextualMenu:
    case KesDlgKind::PushItem:
    case KesDlgKind::Dialog:
    case KesDlgKind::ScrollBar:
    case KesDlgKind::Count:
        return false;
    }
    return false; // no other kind exists
}

// The widgets under `root` that take the focus, in panel order; dialog windows have chains of
// their own.
void FocusChain(const KesDialog* root, std::vector<KesDialog*>& chain) {
    for (int i = 0; i < root->GetChildCount(); ++i) {
        KesDialog* child = root->GetChildFromChildNumber(i);
        if (child->GetKind() == KesDlgKind::Dialog) {
            continue;
        }
        if (TakesFocus(*child)) {
            chain.push_back(child);
        }
        FocusChain(child, chain);
    }
}

// "RECORD widget" for the transcript: the record name of the attribute holding `widget`.
std::string FocusName(const KesDialog* widget) {
    for (const KesDialog* up = widget; up != nullptr; up = up->GetParent()) {
        if (const auto* attribute = dynamic_cast<const KesMfgAttribute*>(up)) {
            return attribute->GetRecordName().Str() + " " + widget->GetName().Str();
        }
    }
    return widget->GetName().Str();
}

} // namespace

// The person leaves the field typed into: its text reaches the toolkit, whose receivers may
// delete anything, `next` (the widget the command goes on with) included. False when it went.
bool KesPanelDriver::LeaveField(const KesDialog* next) {
    const std::shared_ptr<const bool> alive = next->GetAliveToken();
    const std::string name = next->GetName().Str();
    hands_->FinishTyping();
    if (!*alive) {
        out_ << "  (" << name << " went as the person left the field typed into)\n";
    }
    return *alive;
}

KesDialog* KesPanelDriver::Focused() const {
    return focusedAlive_ != nullptr && *focusedAlive_ ? focused_ : nullptr;
}

// keys NAME TEXT: the field takes the focus and TEXT is typed at its end, not confirmed.
KesPanelDriver::Status KesPanelDriver::Keys(const Target& target, const std::string& text,
                                            int lineNumber) {
    const std::string name = target.attribute->GetRecordName().Str();
    KesDialog* field = TypingField(target.attribute, target.field);
    if (field == nullptr) {
        return Fail(lineNumber, NoTypingField(name, target.field));
    }
    if (field != Focused() && !LeaveField(field)) {
        return Status::Done;
    }
    if (Act(field, name, [&] { return hands_->Keys(*field, text); })) {
        focused_ = field;
        focusedAlive_ = field->GetAliveToken();
    }
    return Status::Done;
}

// focus NAME: the keyboard focus into the attribute's first field (NAME[i]: field i).
KesPanelDriver::Status KesPanelDriver::Focus(const Target& target, int lineNumber) {
    const std::string name = target.attribute->GetRecordName().Str();
    std::vector<KesDialog*> chain;
    if (target.field > 0) {
        // Field i of the window: the i-th of its widgets that take the focus.
        if (const auto* values = FindWidget<KesDlgFrame>(target.attribute, "FrameValues")) {
            std::vector<KesDialog*> fields;
            FocusChain(values, fields);
            if (target.field <= static_cast<int>(fields.size())) {
                chain.push_back(fields[static_cast<size_t>(target.field) - 1]);
            }
        }
    } else {
        FocusChain(target.attribute, chain);
    }
    if (chain.empty() || !TakesFocus(*chain.front())) {
        return Fail(lineNumber, name + " has no field that takes the focus");
    }
    KesDialog* widget = chain.front();
    if (widget == Focused() || !LeaveField(widget)) {
        return Status::Done;
    }
    if (Act(widget, name, [&] { return hands_->Focus(*widget); })) {
        focused_ = widget;
        focusedAlive_ = widget->GetAliveToken();
    }
    return Status::Done;
}

// tab: the focus moves on to the next widget of the panel that takes it and input, after the
// last one back to the first.
KesPanelDriver::Status KesPanelDriver::Tab() {
    hands_->FinishTyping();
    std::vector<KesDialog*> chain;
    FocusChain(&frame_, chain);
    const auto at = std::find(chain.begin(), chain.end(), Focused());
    const size_t start = at == chain.end() ? 0 : static_cast<size_t>(at - chain.begin()) + 1;
    for (size_t i = 0; i < chain.size(); ++i) {
        KesDialog* next = chain[(start + i) % chain.size()];
        if (!next->AcceptsUserInput()) {
            continue;
        }
        if (Act(next, FocusName(next), [&] { return hands_->Focus(*next); })) {
            focused_ = next;
            focusedAlive_ = next->GetAliveToken();
            out_ << "  focus: " << FocusName(next) << "\n";
        }
        return Status::Done;
    }
    out_ << "  (no widget takes the focus)\n";
    return Status::Done;
}

// ---- Deleting and rebuilding --------------------------------------------------------------
namespace {

// A steering attribute of class A no longer impacts `dying`: its place in the impact list
// becomes null (skipped), so that the sensitivity table keeps its layout.
template <class A> bool ForgetImpacted(KesMfgAttribute* steering, const KesMfgAttribute* dying) {
    auto* typed = dynamic_cast<A*>(steering);
    if (typed == nullptr) {
        return false;
    }
    const auto& impacts = typed->GetImpacts();
    const KesListPtrKesMfgAttribute& impacted = impacts.GetImpactedAttributes();
    KesListPtrKesMfgAttribute kept;
    bool found = false;
    for (int i = 1; i <= impacted.Size(); ++i) {
        found = found || impacted[i] == dying;
        kept.Append(impacted[i] == dying ? nullptr : impacted[i]);
    }
    if (found) {
        typed->AddImpactedAttributes(kept, impacts.GetReservedVector(), impacts.GetImpactValues(),
                                     impacts.GetSensitivityTable());
    }
    return true;
}

} // namespace

void KesPanelDriver::Forget(KesMfgAttribute* attribute) {
    armed_.erase(attribute);
    bound_.erase(attribute);
    // A command armed on another attribute that names this one would find it no more.
    for (auto armed = armed_.begin(); armed != armed_.end();) {
        std::string rest = armed->second;
        std::string word;
        TakeWord(rest, word);
        const std::string record = attribute->GetRecordName().Str();
        const bool names = (TakeWord(rest, word) &&
                            (record == word.substr(0, word.find('[')) ||
                             attribute->GetName() == word.substr(0, word.find('[')).c_str())) ||
                           rest.find('"' + record + '"') != std::string::npos; // impacts
        armed = names ? armed_.erase(armed) : std::next(armed);
    }
    for (KesMfgAttribute* steering : Attributes()) {
        if (steering != attribute) {
            ForgetImpacted<KesMfgAttCharList>(steering, attribute) ||
                ForgetImpacted<KesMfgAttIntList>(steering, attribute) ||
                ForgetImpacted<KesMfgAttLogic>(steering, attribute);
        }
    }
}

// delete NAME: the caller deletes the attribute while it is shown, as a sound caller does:
// first the steering attributes stop impacting it.
KesPanelDriver::Status KesPanelDriver::Delete(const Target& target) {
    Forget(target.attribute);
    delete target.attribute;
    return Status::Done;
}

// rebuild: every attribute deleted, then the panel built again in the same frame, as a dialog
// does when what it edits changes kind.
KesPanelDriver::Status KesPanelDriver::Rebuild(int lineNumber) {
    if (!rebuild_) {
        return Fail(lineNumber, "this panel cannot be rebuilt");
    }
    std::vector<KesMfgAttribute*> attributes = Attributes();
    for (auto it = attributes.rbegin(); it != attributes.rend(); ++it) {
        Forget(*it);
        delete *it;
    }
    ReportNotifications();
    rebuild_();
    frame_.Clear(); // building the panel is not a gesture
    out_ << "  rebuilt: " << Attributes().size() << " attributes\n";
    return Status::Done;
}

// ---------------------------------------------------------------------------------------------
// Caller commands
// ---------------------------------------------------------------------------------------------
namespace {

// The arguments of a caller command, read in order; the first malformed one leaves its message.
class CallerArguments {
public:
    explicit CallerArguments(std::string rest) : rest_(std::move(rest)) {}
    const std::string& Error() const { return error_; }

    bool Word(const char* what, std::string& word) {
        return TakeWord(rest_, word) || Wrong(std::string(what) + " is missing");
    }
    bool Int(const char* what, int& value) {
        std::string word;
        if (!TakeWord(rest_, word)) {
            return Wrong(std::string(what) + " is missing");
        }
        return ParseCallerInt(word, value) ||
               Wrong(std::string(what) + " '" + word + "' is not a whole number of the int range");
    }
    bool Unsigned(const char* what, unsigned long& value) {
        std::string word;
        if (!TakeWord(rest_, word)) {
            return Wrong(std::string(what) + " is missing");
        }
        errno = 0;
        char* end = nullptr;
        value = std::strtoul(word.c_str(), &end, 10);
        return (!word.empty() && word.front() != '-' && *end == '\0' && errno != ERANGE) ||
               Wrong(std::string(what) + " '" + word + "' is not a whole number from 0");
    }
    // A vector of items; `nullable` false for the lists a call takes by value.
    bool Items(const char* what, std::vector<Item>& items, bool& isNull, bool nullable) {
        std::string error;
        if (!TakeVector(rest_, items, isNull, error)) {
            return Wrong(std::string(what) + ": " + error);
        }
        return nullable || !isNull || Wrong(std::string(what) + " cannot be null");
    }
    template <class Collection, class Convert>
    bool Vector(const char* what, std::unique_ptr<Collection>& vector, Convert convert) {
        std::vector<Item> items;
        bool isNull = false;
        if (!Items(what, items, isNull, true)) {
            return false;
        }
        vector = isNull ? nullptr : std::make_unique<Collection>();
        for (const Item& item : items) {
            if (!convert(item, *vector)) {
                return Wrong(std::string(what) + ": '" + item.text + "' is not " +
                             Expected(vector.get()));
            }
        }
        return true;
    }
    bool Ints(const char* what, std::unique_ptr<KesRawCollint>& vector) {
        return Vector(what, vector, [](const Item& item, KesRawCollint& into) {
            int value = 0;
            return !item.quoted && ParseCallerInt(item.text, value) && (into.Append(value), true);
        });
    }
    bool Reals(const char* what, std::unique_ptr<KesRawColldouble>& vector) {
        return Vector(what, vector, [](const Item& item, KesRawColldouble& into) {
            double value = 0.0;
            return !item.quoted && ParseCallerReal(item.text, value) && (into.Append(value), true);
        });
    }
    bool Texts(const char* what, std::unique_ptr<KesListValKesUnicodeString>& vector) {
        return Vector(what, vector, [](const Item& item, KesListValKesUnicodeString& into) {
            into.Append(KesUnicodeString(item.text));
            return true;
        });
    }
    bool End() { return Trim(rest_).empty() || Wrong("unexpected '" + Trim(rest_) + "'"); }

private:
    static const char* Expected(const KesRawCollint*) { return "a whole number of the int range"; }
    static const char* Expected(const KesRawColldouble*) { return "a number"; }
    static const char* Expected(const KesListValKesUnicodeString*) { return "a text"; }
    bool Wrong(const std::string& message) {
        if (error_.empty()) {
            error_ = message;
        }
        return false;
    }

    std::string rest_;
    std::string error_;
};

} // namespace

// ---- The public callbacks, which a caller may call with null arguments ----------------------
namespace {

// Those of every attribute, then those of its class.
std::vector<KesCatalogueCallback> CallbacksFor(const KesMfgAttribute& attribute) {
    std::vector<KesCatalogueCallback> callbacks = KesAttributeCatalogue::BaseCallbacks();
    if (const KesCatalogueRow* row = KesAttributeCatalogue::Of(attribute)) {
        callbacks.insert(callbacks.end(), row->callbacks.begin(), row->callbacks.end());
    }
    return callbacks;
}

} // namespace

std::vector<std::string> KesPanelDriver::CallbacksOf(KesMfgAttribute& attribute) {
    std::vector<std::string> names;
    for (const KesCatalogueCallback& callback : CallbacksFor(attribute)) {
        names.push_back(callback.name);
    }
    return names;
}

KesPanelDriver::Status KesPanelDriver::Call(const std::string& command, const Target& target,
                                            const std::string& arguments, int lineNumber) {
    if (command == "on-notify") {
        return Arm(target, arguments, lineNumber);
    }
    if (command == "get" || command == "put") {
        return Read(target, command == "put", arguments, lineNumber);
    }
    KesMfgAttribute* attribute = target.attribute;
    const std::string name = attribute->GetRecordName().Str();
    CallerArguments read(arguments);
    const auto wrong = [&] { return Fail(lineNumber, "'" + command + "': " + read.Error()); };
    if (command == "set") {
        std::unique_ptr<KesRawCollint> ints;
        std::unique_ptr<KesRawColldouble> reals;
        std::unique_ptr<KesListValKesUnicodeString> texts;
        int notify = 0;
        if (!read.Ints("INTS", ints) || !read.Reals("REALS", reals) ||
            !read.Texts("TEXTS", texts) || !read.Int("NOTIFY", notify) || !read.End()) {
            return wrong();
        }
        attribute->SetAttValue(ints.get(), reals.get(), texts.get(), notify);
    } else if (command == "hand") {
        auto* link = dynamic_cast<KesMfgAttLink*>(attribute);
        std::unique_ptr<KesListValKesUnicodeString> names;
        std::unique_ptr<KesRawCollint> counts;
        std::unique_ptr<KesRawCollint> typeCodes;
        std::unique_ptr<KesRawCollint> ints;
        std::unique_ptr<KesRawColldouble> reals;
        std::unique_ptr<KesListValKesUnicodeString> texts;
        if (link == nullptr) {
            return Fail(lineNumber, name + " is not a link");
        }
        if (!read.Texts("NAMES", names) || !read.Ints("COUNTS", counts) ||
            !read.Ints("TYPES", typeCodes) || !read.Ints("INTS", ints) ||
            !read.Reals("REALS", reals) || !read.Texts("TEXTS", texts) || !read.End()) {
            return wrong();
        }
        link->SetAttValue(names.get(), counts.get(), typeCodes.get(), ints.get(), reals.get(),
                          texts.get(), 0);
        // The link keeps what it was handed and relays it whole: null as empty.
        KesMfgValueRecords relayed;
        relayed.GetAttValue(*link);
        const auto same = [](const auto& given, const auto& kept) {
            return given ? *given == kept : kept.Size() == 0;
        };
        if (!same(names, relayed.names) || !same(counts, relayed.counts) ||
            !same(typeCodes, relayed.typeCodes) || !same(ints, relayed.ints) ||
            (reals ? reals->Size() : 0) != relayed.reals.Size() || !same(texts, relayed.texts)) {
            KeepFault("the link does not relay what it was handed", name);
        }
    } else if (command == "modify" || command == "newlist") {
        auto* list = dynamic_cast<KesMfgAttCharList*>(attribute);
        std::unique_ptr<KesListValKesUnicodeString> values;
        int selection = 0;
        if (command == "newlist" && list == nullptr) {
            return Fail(lineNumber, name + " is not a text choice list");
        }
        if (!read.Texts("VALUES", values) || !read.Int("SELECTION", selection) || !read.End()) {
            return wrong();
        }
        const KesListValKesUnicodeString given = values ? *values : KesListValKesUnicodeString();
        if (command == "newlist") {
            list->NewValueList(KesRawCollint(), given, selection);
        } else {
            attribute->ModifyValueList(KesRawCollint(), given, selection);
        }
    } else if (command == "editmode" || command == "access") {
        int value = 0;
        if (!read.Int(command == "access" ? "ACCESS" : "MODE", value) || !read.End()) {
            return wrong();
        }
        command == "access" ? attribute->SetContextAccess(value) : attribute->SetEditMode(value);
    } else if (command == "sensitivity") {
        unsigned long value = 0;
        if (!read.Unsigned("VALUE", value) || !read.End()) {
            return wrong();
        }
        attribute->SetSensitivity(value);
    } else if (command == "optional") {
        int state = 0;
        int notify = 0;
        if (!read.Int("STATE", state) || !read.Int("NOTIFY", notify) || !read.End()) {
            return wrong();
        }
        attribute->SetOptionalCheck(state, notify);
    } else if (command == "callback") {
        std::string method;
        if (!read.Word("METHOD", method) || !read.End()) {
            return wrong();
        }
        const std::vector<KesCatalogueCallback> callbacks = CallbacksFor(*attribute);
        const auto callback =
            std::find_if(callbacks.begin(), callbacks.end(),
                         [&](const KesCatalogueCallback& c) { return method == c.name; });
        if (callback == callbacks.end()) {
            return Fail(lineNumber, name + " has no callback '" + method + "'");
        }
        callback->call(*attribute);
    } else if (command == "display") {
        if (!read.End()) {
            return wrong();
        }
        attribute->Display();
    } else if (command == "width") {
        int width = 0;
        if (!read.Int("WIDTH", width) || !read.End()) {
            return wrong();
        }
        attribute->SetVisibleTextWidth(width);
    } else if (command == "helps" || command == "icons") {
        std::unique_ptr<KesListValKesUnicodeString> first;
        std::unique_ptr<KesListValKesUnicodeString> second;
        std::string icon;
        if (!read.Texts(command == "helps" ? "HELP" : "ICONS", first) ||
            !read.Texts(command == "helps" ? "SHORTHELP" : "SECONDICONS", second) ||
            (command == "icons" && !read.Word("ICON", icon)) || !read.End()) {
            return wrong();
        }
        if (command == "helps") {
            attribute->SetHelp(first ? *first : KesListValKesUnicodeString(),
                               second ? *second : KesListValKesUnicodeString());
        } else {
            attribute->SetIconNames(first.get(), second.get());
            attribute->SetIconName(KesString(icon));
        }
    } else if (command == "impact") {
        if (!read.End()) {
            return wrong();
        }
        attribute->ImpactAttributes();
    } else if (command == "impacts") {
        std::vector<Item> names;
        std::vector<Item> values;
        std::unique_ptr<KesRawCollint> flags;
        bool isNull = false;
        if (!read.Items("ATTRIBUTES", names, isNull, false) ||
            !read.Items("VALUES", values, isNull, false) || !read.Ints("FLAGS", flags) ||
            !read.End() || flags == nullptr) {
            return flags == nullptr && read.Error().empty()
                       ? Fail(lineNumber, "'impacts': FLAGS cannot be null")
                       : wrong();
        }
        KesListPtrKesMfgAttribute impacted;
        for (const Item& item : names) {
            KesMfgAttribute* found =
                item.quoted || item.text != "null" ? FindAttribute(item.text) : nullptr;
            if (found == nullptr && (item.quoted || item.text != "null")) {
                return Fail(lineNumber, "'impacts': no attribute named '" + item.text + "'");
            }
            impacted.Append(found);
        }
        // Values written in quotes are texts, others whole numbers.
        const bool texts = !values.empty() && values.front().quoted;
        KesRawCollint intValues;
        KesListValKesUnicodeString textValues;
        for (const Item& item : values) {
            int value = 0;
            if (item.quoted != texts || (!texts && !ParseCallerInt(item.text, value))) {
                return Fail(lineNumber, "'impacts': VALUES are all whole numbers or all texts");
            }
            texts ? textValues.Append(KesUnicodeString(item.text)) : intValues.Append(value);
        }
        if (texts) {
            attribute->AddImpactedAttributes(impacted, KesRawCollint(), textValues, *flags);
        } else {
            attribute->AddImpactedAttributes(impacted, KesRawCollint(), intValues, *flags);
        }
    }
    return Status::Done;
}

// get NAME [MASK] and put NAME GROUP [MASK]: GetAttValue or Output with the vectors that MASK
// gives (+) or leaves null (-), in the order names, type codes, counts, ints, reals, texts.
KesPanelDriver::Status KesPanelDriver::Read(const Target& target, bool output,
                                            const std::string& arguments, int lineNumber) {
    KesMfgAttribute* attribute = target.attribute;
    std::string rest = arguments;
    int group = 0;
    std::string word;
    if (output) {
        if (!TakeWord(rest, word) || !ParseCallerInt(word, group)) {
            return Fail(lineNumber, "'put' needs a group number of the int range");
        }
    }
    std::string mask = "++++++";
    if (TakeWord(rest, word)) {
        mask = word;
    }
    if (mask.size() != 6 || mask.find_first_not_of("+-") != std::string::npos ||
        !Trim(rest).empty()) {
        return Fail(lineNumber, "the vectors are given as six + or - (names, type codes, "
                                "counts, ints, reals, texts), not '" +
                                    Trim(mask + rest) + "'");
    }
    KesMfgValueRecords partial;
    const auto given = [&](int i, auto* vector) { return mask[i] == '+' ? vector : nullptr; };
    KesMfgValueRecords whole;
    if (output) {
        attribute->Output(group, given(0, &partial.names), given(1, &partial.typeCodes),
                          given(2, &partial.counts), given(3, &partial.ints),
                          given(4, &partial.reals), given(5, &partial.texts));
        whole.Output(*attribute, group);
    } else {
        int written = 0;
        attribute->GetAttValue(&written, given(0, &partial.names), given(1, &partial.typeCodes),
                               given(2, &partial.counts), given(3, &partial.ints),
                               given(4, &partial.reals), given(5, &partial.texts));
        whole.GetAttValue(*attribute);
    }
    // All or nothing: the vectors given hold nothing, or what a call with every vector appends.
    const bool same =
        partial.IsEmpty() || ((mask[0] == '-' || partial.names == whole.names) &&
                              (mask[1] == '-' || partial.typeCodes == whole.typeCodes) &&
                              (mask[2] == '-' || partial.counts == whole.counts) &&
                              (mask[3] == '-' || partial.ints == whole.ints) &&
                              (mask[4] == '-' || partial.reals.Size() == whole.reals.Size()) &&
                              (mask[5] == '-' || partial.texts == whole.texts));
    if (!same) {
        KeepFault("a call with null vectors appended part of a record",
                  attribute->GetRecordName().Str());
    }
    const std::string table = mask == "++++++" ? partial.FormatTable() : whole.FormatTable();
    out_ << (partial.IsEmpty() ? "  (no record)\n" : table);
    return Status::Done;
}

// ---------------------------------------------------------------------------------------------
// Reactions and checks
// ---------------------------------------------------------------------------------------------

// on-notify NAME COMMAND: the next time NAME notifies a modification to the frame, the frame
// runs COMMAND from inside the notification, as the owner of a dialog may; then forgets it.
KesPanelDriver::Status KesPanelDriver::Arm(const Target& target, const std::string& command,
                                           int lineNumber) {
    if (Trim(command).empty()) {
        return Fail(lineNumber, "'on-notify' needs a command");
    }
    KesMfgAttribute* attribute = target.attribute;
    armed_[attribute] = Trim(command);
    if (!bound_[attribute]) {
        bound_[attribute] = true;
        static KesMfgAttNotifyModif modified(-1); // the kind the binding answers
        frame_.AddCallback(attribute, &modified,
                           [self = self_, attribute](KesCommand*, KesNotification*, void**) {
                               if (*self != nullptr) {
                                   (*self)->React(attribute);
                               }
                           });
    }
    return Status::Done;
}

void KesPanelDriver::React(KesMfgAttribute* sender) {
    const auto armed = armed_.find(sender);
    if (armed == armed_.end()) {
        return;
    }
    const std::string command = armed->second;
    armed_.erase(armed);
    ReportNotifications(); // the notification that wakes the command comes first
    out_ << "  on-notify from " << sender->GetRecordName().Str() << ":\n";
    if (Run(command, lineNumber_) == Status::Failed) {
        reactionFailed_ = true;
    }
}

KesPanelFault KesPanelDriver::Check() {
    KesPanelFault fault = keptFault_;
    keptFault_ = KesPanelFault();
    if (fault.IsEmpty()) {
        fault = KesPanelChecks::Check(Attributes());
    }
    if (fault.IsEmpty() && extraCheck_) {
        fault = extraCheck_();
    }
    return fault;
}

void KesPanelDriver::KeepFault(const std::string& invariant, const std::string& detail) {
    if (keptFault_.IsEmpty()) {
        keptFault_ = KesPanelFault{std::string(), invariant, detail};
    }
}

bool KesPanelDriver::Act(KesDialog* widget, const std::string& what,
                         const std::function<bool()>& action) {
    const bool accepts = widget->AcceptsUserInput();
    const long changesBefore = changes_->changes;
    const size_t receivedBefore = frame_.GetReceived().size();
    const bool taken = action();
    if (taken && !accepts) {
        KeepFault("a hidden or insensitive widget took a user action", what);
    }
    if (!taken) {
        out_ << "  refused: " << what << " is hidden or insensitive\n";
        if (changes_->changes != changesBefore) {
            KeepFault("a refused user action changed a widget", what);
        } else if (frame_.GetReceived().size() != receivedBefore) {
            KeepFault("a refused user action notified the parent frame", what);
        }
    }
    return taken;
}

KesPanelDriver::Status KesPanelDriver::Collect(const std::string& groupText, bool all,
                                               int lineNumber) {
    int group = 0;
    if (!all && !ParseInt(groupText, group)) {
        return Fail(lineNumber, "'output' needs a group number, not '" + groupText + "'");
    }
    KesMfgValueRecords records;
    for (KesMfgAttribute* attribute : Attributes()) {
        if (all) {
            records.GetAttValue(*attribute);
        } else {
            records.Output(*attribute, group);
        }
    }
    const std::string table = records.FormatTable();
    out_ << (table.empty() ? "  (no record)\n" : table);
    ReportNotifications();
    return Status::Done;
}

KesPanelDriver::Status KesPanelDriver::Picture(const std::string& file, int lineNumber) {
    if (file.empty()) {
        return Fail(lineNumber, "'svg' needs a file name");
    }
    const std::string fault = KesWriteFileAtomically(file, KesPanelPicture::Draw(frame_));
    if (!fault.empty()) {
        return Fail(lineNumber, "cannot write '" + file + "': " + fault);
    }
    out_ << "  wrote " << file << "\n";
    return Status::Done;
}

// ---------------------------------------------------------------------------------------------
// Transcript
// ---------------------------------------------------------------------------------------------
void KesPanelDriver::ReportNotifications() {
    const std::vector<KesMfgAttribute*> attributes = Attributes();
    for (const KesDlgTestFrame::Received& received : frame_.GetReceived()) {
        // The sender may be gone (a dialog deletes itself): name it by what was recorded, and
        // give an attribute still in the panel its record name.
        std::string name = received.senderName;
        for (const KesMfgAttribute* attribute : attributes) {
            if (attribute == received.sender) {
                name = attribute->GetRecordName().Str();
            }
        }
        out_ << "  <- " << received.className << " from " << name << "\n";
    }
    frame_.Clear();
}

void KesPanelDriver::ShowPanel() {
    for (KesMfgAttribute* attribute : Attributes()) {
        out_ << attribute->GetRecordName().Str() << " \"" << attribute->GetLabel().Str()
             << "\" group " << attribute->GetGroup();
        if (attribute->IsToBeDefined() != 0) {
            out_ << " (to be defined)";
        }
        if (attribute->GetEditMode() == 0) {
            out_ << " (read-only)";
        }
        if (KesPanelPicture::IsGreyed(*attribute)) {
            out_ << " (insensitive)"; // an impact, the caller: its widgets are all greyed
        }
        out_ << "\n" << KesPanelPicture::Describe(*attribute, "  ");
    }
}

std::string KesPanelDriver::HelpText() {
    return "Commands (NAME: an attribute's name; NAME[i]: field i of a list's window, from 1):\n"
           "  type NAME TEXT        type TEXT into the value field (or NAME[i]): an editor, an\n"
           "                        editable combo or a spinner (which takes the keys of a\n"
           "                        number only, and reads what it holds as one)\n"
           "  spin NAME VALUE       set the spinner (or NAME[i]) to VALUE\n"
           "  nudge NAME CLICKS     click the spinner's (or NAME[i]'s) arrows CLICKS times\n"
           "  select NAME CHOICE    pick a combo line or a radio button by its display text or\n"
           "                        its value (a word that is the one of a choice and the\n"
           "                        other of another is refused), a line by #row (from 1), or\n"
           "                        selector lines \"a, b\" (- for none)\n"
           "  click NAME [WORD]     switch the check button (or NAME[i]), or the radio button\n"
           "                        WORD names by value or title\n"
           "  option NAME on|off    check or uncheck an optional attribute\n"
           "  add NAME, remove NAME the context menu items of a list\n"
           "  scroll NAME POS       move a list's scroll bar (drag NAME POS: drag its box)\n"
           "  drop NAME             open a combo's list and show its lines\n"
           "  bind NAME PARAM       type PARAM into the parameter field\n"
           "  create NAME PARAM     create a parameter through the creation dialog\n"
           "  step NAME VALUE       define the spinner step through the step dialog\n"
           "  press NAME            press a link's push button\n"
           "  focus NAME            move the keyboard focus into the first field (or NAME[i])\n"
           "  keys NAME TEXT        type TEXT at the end of the field, not confirmed: it reaches\n"
           "                        the attribute when the person leaves the field (any other\n"
           "                        gesture, focus, tab); dropped if the field goes first\n"
           "  tab                   move the focus on to the next field that takes input\n"
           "Caller commands (VECTOR: [a, b, ...] or null; ITEM*N: N copies; reals may be nan,\n"
           "inf, -inf; texts in double quotes take \\\" \\\\ \\n \\t and \\xNN for any byte):\n"
           "  set NAME INTS REALS TEXTS NOTIFY      SetAttValue, e.g. set Depth null [nan] null 1\n"
           "  hand NAME NAMES COUNTS TYPES INTS REALS TEXTS   the link's SetAttValue\n"
           "  modify NAME VALUES SELECTION          ModifyValueList\n"
           "  newlist NAME VALUES SELECTION         NewValueList of a text choice list\n"
           "  editmode NAME MODE, access NAME ACCESS, sensitivity NAME VALUE\n"
           "  optional NAME STATE NOTIFY            SetOptionalCheck\n"
           "  impact NAME                           ImpactAttributes\n"
           "  impacts NAME ATTRIBUTES VALUES FLAGS  AddImpactedAttributes (attributes by quoted\n"
           "                                        name or null; values numbers or texts)\n"
           "  get NAME [MASK], put NAME GROUP [MASK] GetAttValue, Output; MASK: six + or - for\n"
           "                                        names, types, counts, ints, reals, texts\n"
           "  on-notify NAME COMMAND  run COMMAND once, from inside NAME's next notification\n"
           "  callback NAME METHOD  a public callback (AttributeModified, AddValue, ...) with\n"
           "                        null arguments\n"
           "  display NAME, width NAME WIDTH        Display (again), SetVisibleTextWidth\n"
           "  delete NAME           delete the attribute while it is shown\n"
           "  rebuild               delete every attribute and build the panel again\n"
           "  helps NAME HELP SHORTHELP, icons NAME ICONS SECONDICONS ICON   SetHelp; "
           "SetIconNames\n"
           "                                        and SetIconName\n"
           "Records and checks:\n"
           "  output GROUP          the records Output appends for GROUP\n"
           "  values                the records GetAttValue appends for every attribute\n"
           "  check                 fails when a check of the panel is broken\n"
           "  show                  every attribute with its widgets; what the window greys\n"
           "                        is marked (insensitive)\n"
           "  model                 the model's parameters\n"
           "  svg FILE              draw the panel as an SVG picture\n"
           "History and values files (every user command is a step; a caller command that\n"
           "changes values ends the history):\n"
           "  undo, redo            take the last step back, apply it again\n"
           "  save-values FILE      write the attributes' values into a values file\n"
           "  load-values FILE      push a values file's values in, as a caller, and report\n"
           "                        what was not taken as written\n"
           "  help, quit            this text; end the session\n"
           "Texts may be written in double quotes to keep blanks; '#' starts a comment.\n";
}
