// KesPanelDriver: command parsing, widget look-up, the user actions behind each command, and
// the transcript.
//
// Index:
//   Parsing helpers
//   Widget look-up
//   Running a line and a session
//   Commands
//   Transcript (notifications, refusals, panel dump)
#include "tools/KesPanelDriver.h"

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
#include "tools/KesPanelPicture.h"

#include <fstream>
#include <iostream>
#include <sstream>

// ---------------------------------------------------------------------------------------------
// Parsing helpers
// ---------------------------------------------------------------------------------------------
namespace {

std::string Trim(const std::string& text) {
    const size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) {
        return std::string();
    }
    const size_t end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

// Takes the first word of `rest` (a double-quoted word may hold blanks) and leaves the rest.
bool TakeWord(std::string& rest, std::string& word) {
    rest = Trim(rest);
    if (rest.empty()) {
        return false;
    }
    if (rest.front() == '"') {
        const size_t close = rest.find('"', 1);
        if (close == std::string::npos) {
            return false;
        }
        word = rest.substr(1, close - 1);
        rest = rest.substr(close + 1);
        return true;
    }
    const size_t end = rest.find_first_of(" \t");
    word = rest.substr(0, end);
    rest = end == std::string::npos ? std::string() : rest.substr(end);
    return true;
}

// The text argument: the rest of the line, without surrounding double quotes when it has them
// (so that a text may begin or end with blanks).
std::string TextArgument(const std::string& rest) {
    const std::string text = Trim(rest);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        return text.substr(1, text.size() - 2);
    }
    return text;
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

} // namespace

KesPanelDriver::KesPanelDriver(KesDlgTestFrame& frame, std::ostream& out, std::ostream& err)
    : frame_(frame), out_(out), err_(err) {}

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
        if (attribute->GetRecordName() == name.c_str() || attribute->GetName() == name.c_str()) {
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
        Fail(lineNumber, "no attribute named '" + name + "' (the command 'show' lists them)");
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

    static const char* const kAttributeCommands[] = {
        "type",   "spin", "select", "click",  "option", "add",  "remove",
        "scroll", "drop", "bind",   "create", "step",   "press"};
    bool known = false;
    for (const char* name : kAttributeCommands) {
        known = known || command == name;
    }
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
    Status status = Status::Done;
    if (command == "type") {
        status = Type(target, text, lineNumber);
    } else if (command == "spin") {
        status =
            needsText("a value") == Status::Done ? Spin(target, text, lineNumber) : Status::Failed;
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
    ReportNotifications();
    if (afterCommand_) {
        afterCommand_(out_);
    }
    return status;
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
    if (target.field > 0) {
        auto* field = FindField<KesDlgEditor>(target.attribute, target.field);
        if (field == nullptr) {
            return Fail(lineNumber, name + " has no editor field " + std::to_string(target.field));
        }
        ReportRefusal(field->UserType(text), name);
        return Status::Done;
    }
    if (auto* editor = FindWidget<KesDlgEditor>(target.attribute, "editoratt")) {
        ReportRefusal(editor->UserType(text), name);
        return Status::Done;
    }
    auto* combo = FindWidget<KesDlgCombo>(target.attribute, "comboatt");
    if (combo != nullptr && combo->IsEditable()) {
        ReportRefusal(combo->UserType(text), name);
        return Status::Done;
    }
    return Fail(lineNumber, name + " has no field to type into");
}

KesPanelDriver::Status KesPanelDriver::Spin(const Target& target, const std::string& text,
                                            int lineNumber) {
    const std::string name = target.attribute->GetRecordName().Str();
    double value = 0.0;
    if (!ParseReal(text, value)) {
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
    ReportRefusal(spinner->UserSetValue(value), name);
    return Status::Done;
}

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
            for (int i = 0; i < combo->GetLineCount() && row < 0; ++i) {
                row = combo->GetLine(i) == choice.c_str() ? i : -1;
            }
            if (row < 0) {
                return Fail(lineNumber, name + " has no line '" + choice + "'");
            }
        }
        ReportRefusal(combo->UserSelect(row), name);
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
        ReportRefusal(list->UserSelect(rows.data(), static_cast<int>(rows.size())), name);
        return Status::Done;
    }
    // Radio buttons: by the value they stand for, or by their title.
    for (int i = 0; i < target.attribute->GetChildCount(); ++i) {
        auto* radio =
            dynamic_cast<KesDlgRadioButton*>(target.attribute->GetChildFromChildNumber(i));
        if (radio != nullptr &&
            (radio->GetName() == ("rb" + choice).c_str() || radio->GetTitle() == choice.c_str())) {
            ReportRefusal(radio->UserClick(), name);
            return Status::Done;
        }
    }
    return Fail(lineNumber, name + " offers no choice '" + choice + "'");
}

KesPanelDriver::Status KesPanelDriver::Click(const Target& target, const std::string& value,
                                             int lineNumber) {
    const std::string name = target.attribute->GetRecordName().Str();
    if (!value.empty()) {
        auto* radio = FindWidget<KesDlgRadioButton>(target.attribute, ("rb" + value).c_str());
        if (radio == nullptr) {
            return Fail(lineNumber, name + " has no radio button for '" + value + "'");
        }
        ReportRefusal(radio->UserClick(), name);
        return Status::Done;
    }
    KesDlgCheckButton* check = target.field > 0
                                   ? FindField<KesDlgCheckButton>(target.attribute, target.field)
                                   : FindWidget<KesDlgCheckButton>(target.attribute, "chkbtnatt");
    if (check == nullptr) {
        return Fail(lineNumber, name + " has no check button" +
                                    (target.field > 0 ? " field " + std::to_string(target.field)
                                                      : " (radio buttons: click NAME VALUE)"));
    }
    ReportRefusal(check->UserClick(), name);
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
    ReportRefusal(check->UserClick(), name);
    return Status::Done;
}

KesPanelDriver::Status KesPanelDriver::Activate(const Target& target, const char* item,
                                                int lineNumber) {
    const std::string name = target.attribute->GetRecordName().Str();
    auto* menuItem = FindWidget<KesDlgPushItem>(target.attribute, item);
    if (menuItem == nullptr) {
        return Fail(lineNumber, name + " has no menu item " + item);
    }
    ReportRefusal(menuItem->UserActivate(), std::string(item) + " of " + name);
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
    ReportRefusal(bar->UserScroll(to), name);
    return Status::Done;
}

KesPanelDriver::Status KesPanelDriver::Drop(const Target& target, int lineNumber) {
    const std::string name = target.attribute->GetRecordName().Str();
    auto* combo = FindWidget<KesDlgCombo>(target.attribute, "comboatt");
    if (combo == nullptr) {
        return Fail(lineNumber, name + " has no combo");
    }
    ReportRefusal(combo->UserDrop(), name);
    if (combo->GetLineCount() > 0) {
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
    ReportRefusal(combo->UserType(parameter), name);
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
    if (!menuItem->UserActivate()) {
        ReportRefusal(false, std::string(item) + " of " + name);
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
    ReportRefusal(field->UserType(text), fieldName);
    ReportRefusal(dialog->UserOK(), dialogName);
    return Status::Done;
}

KesPanelDriver::Status KesPanelDriver::Press(const Target& target, int lineNumber) {
    const std::string name = target.attribute->GetRecordName().Str();
    auto* button = FindWidget<KesDlgPushButton>(target.attribute, "pb");
    if (button == nullptr) {
        return Fail(lineNumber, name + " has no push button");
    }
    ReportRefusal(button->UserPress(), name);
    return Status::Done;
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
    std::ofstream picture(file);
    if (!picture) {
        return Fail(lineNumber, "cannot write '" + file + "'");
    }
    picture << KesPanelPicture::Draw(frame_);
    if (!picture.flush()) {
        return Fail(lineNumber, "cannot write '" + file + "'");
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

void KesPanelDriver::ReportRefusal(bool accepted, const std::string& what) {
    if (!accepted) {
        out_ << "  refused: " << what << " is hidden or insensitive\n";
    }
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
        out_ << "\n" << KesPanelPicture::Describe(*attribute, "  ");
    }
}

std::string KesPanelDriver::HelpText() {
    return "Commands (NAME: an attribute's name; NAME[i]: field i of a list's window, from 1):\n"
           "  type NAME TEXT        type TEXT into the value field (or NAME[i])\n"
           "  spin NAME VALUE       set the spinner (or NAME[i]) to VALUE\n"
           "  select NAME CHOICE    pick a combo line by text or #row (from 1), a radio button\n"
           "                        by value or title, or selector lines \"a, b\" (- for none)\n"
           "  click NAME [VALUE]    switch the check button (or NAME[i]), or the radio VALUE\n"
           "  option NAME on|off    check or uncheck an optional attribute\n"
           "  add NAME, remove NAME the context menu items of a list\n"
           "  scroll NAME POS       move a list's scroll bar\n"
           "  drop NAME             open a combo's list and show its lines\n"
           "  bind NAME PARAM       type PARAM into the parameter field\n"
           "  create NAME PARAM     create a parameter through the creation dialog\n"
           "  step NAME VALUE       define the spinner step through the step dialog\n"
           "  press NAME            press a link's push button\n"
           "  output GROUP          the records Output appends for GROUP\n"
           "  values                the records GetAttValue appends for every attribute\n"
           "  show                  every attribute with its widgets\n"
           "  model                 the model's parameters\n"
           "  svg FILE              draw the panel as an SVG picture\n"
           "  help, quit            this text; end the session\n"
           "Texts may be written in double quotes to keep blanks; '#' starts a comment.\n";
}
