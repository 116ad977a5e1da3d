// KesPanelHistory: attribute states, how an attribute is brought back to one (calls and
// gestures), the observer that marks what a gesture touched, steps, undo and redo.
#include "tools/KesPanelHistory.h"

#include "choice/KesMfgAttCharList.h"
#include "multi/KesMfgAttMVChar.h"
#include "multi/KesMfgAttMVCharList.h"
#include "multi/KesMfgAttMVDouble.h"
#include "multi/KesMfgAttMVInt.h"
#include "multi/KesMfgAttMVLogic.h"
#include "param/KesMfgAttDoubleParam.h"
#include "platform/KesDlgEditor.h"
#include "platform/KesDlgScrollBar.h"
#include "platform/KesDlgSelectorList.h"
#include "platform/KesDlgSpinner.h"
#include "platform/KesDlgStateButton.h"
#include "single/KesMfgAttChar.h"
#include "single/KesMfgAttDouble.h"
#include "single/KesMfgAttInt.h"
#include "single/KesMfgAttLink.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <sstream>
#include <type_traits>

// ---------------------------------------------------------------------------------------------
// Attribute states
// ---------------------------------------------------------------------------------------------
namespace {

bool SameReals(const KesRawColldouble& a, const KesRawColldouble& b) {
    if (a.Size() != b.Size()) {
        return false;
    }
    for (int i = 1; i <= a.Size(); ++i) {
        const bool bothNan = std::isnan(a[i]) && std::isnan(b[i]);
        if (!bothNan && std::memcmp(&a.Items()[i - 1], &b.Items()[i - 1], sizeof(double)) != 0) {
            return false;
        }
    }
    return true;
}

} // namespace

bool KesAttributeState::operator==(const KesAttributeState& other) const {
    const KesMfgValueRecords& a = records;
    const KesMfgValueRecords& b = other.records;
    return optionState == other.optionState && a.names == b.names && a.typeCodes == b.typeCodes &&
           a.counts == b.counts && a.ints == b.ints && SameReals(a.reals, b.reals) &&
           a.texts == b.texts;
}

KesAttributeState KesAttributeState::Read(KesMfgAttribute& attribute) {
    KesAttributeState state;
    state.records.GetAttValue(attribute);
    state.optionState = attribute.GetOptionState();
    return state;
}

void KesAttributeState::Apply(KesMfgAttribute& attribute, int notify) const {
    // A notification's reaction may delete the attribute: nothing more is done to it then.
    const std::shared_ptr<const bool> alive = attribute.GetAliveToken();
    if (attribute.GetOptionMode() == 1 && attribute.GetOptionState() != optionState) {
        attribute.SetOptionalCheck(optionState, notify);
    }
    if (!*alive) {
        return;
    }
    KesMfgValueRecords given = records;
    if (auto* link = dynamic_cast<KesMfgAttLink*>(&attribute)) {
        if (!given.IsEmpty()) {
            link->SetAttValue(&given.names, &given.counts, &given.typeCodes, &given.ints,
                              &given.reals, &given.texts, notify);
        }
        return;
    }
    if (given.names.Size() != 1 || optionState == 0) {
        return; // to be given still, or unchecked: no value to give
    }
    const int count = given.counts[1];
    if (count == -1) {
        attribute.SetAttValue(nullptr, nullptr, &given.texts, notify);
        return;
    }
    // A bound real is unbound first (an empty parameter name), then given its value.
    KesMfgValueRecords now;
    now.GetAttValue(attribute);
    if (now.counts.Size() == 1 && now.counts[1] == -1) {
        KesListValKesUnicodeString unbind{KesUnicodeString("")};
        attribute.SetAttValue(nullptr, nullptr, &unbind, notify);
        if (!*alive) {
            return;
        }
    }
    switch (given.typeCodes[1]) {
    case KesMfgAttribute::kBooleanType:
    case KesMfgAttribute::kIntegerType:
        attribute.SetAttValue(&given.ints, nullptr, nullptr, notify);
        break;
    case KesMfgAttribute::kRealType:
        attribute.SetAttValue(nullptr, &given.reals, nullptr, notify);
        break;
    default:
        attribute.SetAttValue(nullptr, nullptr, &given.texts, notify);
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// What the history keeps of an attribute, and how it brings one back
// ---------------------------------------------------------------------------------------------
namespace {

// The fields a person types into that are the attribute's own (not a list's window): its
// value editor and its combo that takes typing (an editable text choice, a parameter combo).
struct OwnFields {
    KesDlgEditor* editor = nullptr;
    KesDlgCombo* combo = nullptr;
    KesDlgCombo* readOnly = nullptr; // a read-only combo, whose selected row the person picks
    KesDlgSpinner* spinner = nullptr;
};

// A real bit for bit, as text (a shown value that no caller's value converts to exactly).
std::string Bits(double value) {
    char bytes[sizeof(double)];
    std::memcpy(bytes, &value, sizeof(double));
    return std::string(bytes, sizeof(double));
}

OwnFields OwnFieldsOf(KesMfgAttribute& attribute) {
    OwnFields own;
    for (int i = 0; i < attribute.GetChildCount(); ++i) {
        KesDialog* child = attribute.GetChildFromChildNumber(i);
        if (child->GetKind() == KesDlgKind::Editor && own.editor == nullptr) {
            own.editor = static_cast<KesDlgEditor*>(child);
        } else if (child->GetKind() == KesDlgKind::Combo && own.combo == nullptr &&
                   static_cast<KesDlgCombo*>(child)->IsEditable()) {
            own.combo = static_cast<KesDlgCombo*>(child);
        } else if (child->GetKind() == KesDlgKind::Spinner && own.spinner == nullptr) {
            own.spinner = static_cast<KesDlgSpinner*>(child);
        } else if (child->GetKind() == KesDlgKind::Combo && own.readOnly == nullptr) {
            own.readOnly = static_cast<KesDlgCombo*>(child);
        }
    }
    return own;
}

template <class Values> std::string ValuesText(const Values& values) {
    std::ostringstream text;
    for (int i = 1; i <= values.Size(); ++i) {
        if constexpr (std::is_same_v<Values, KesListValKesUnicodeString>) {
            text << values[i].Str() << '\x1f';
        } else {
            text << values[i] << ' ';
        }
    }
    return text.str();
}

// A list's values as the attribute holds them, whatever its option state.
std::string ListValues(const KesMfgAttribute& attribute) {
    if (const auto* list = dynamic_cast<const KesMfgAttMVInt*>(&attribute)) {
        return ValuesText(list->GetValueList().GetCurrentValues());
    }
    if (const auto* list = dynamic_cast<const KesMfgAttMVDouble*>(&attribute)) {
        return ValuesText(list->GetValueList().GetCurrentValues());
    }
    if (const auto* list = dynamic_cast<const KesMfgAttMVChar*>(&attribute)) {
        return ValuesText(list->GetValueList().GetCurrentValues());
    }
    if (const auto* list = dynamic_cast<const KesMfgAttMVLogic*>(&attribute)) {
        return ValuesText(list->GetValueList().GetCurrentValues());
    }
    if (const auto* list = dynamic_cast<const KesMfgAttMVCharList*>(&attribute)) {
        return ValuesText(list->GetCurrentValues());
    }
    return std::string();
}

// What Seen says of the widgets under an attribute, without the attribute's own line (its
// sensitivity is an impact's, which comes back).
std::string ChildrenSeen(const std::string& seen) {
    const size_t end = seen.find('\n');
    return end == std::string::npos ? std::string() : seen.substr(end + 1);
}

std::string NameOf(const KesMfgAttribute& attribute) {
    const std::string label = attribute.GetLabel().Str();
    return label.empty() ? attribute.GetRecordName().Str() : label;
}

// A parameter combo's field that a person types to unbind: "none" or nothing, blanks around.
bool IsNone(const KesUnicodeString& field) {
    const KesUnicodeString stripped = field.Strip(3, KesUnicodeChar(' '));
    return stripped.IsEmpty() || stripped == KesUnicodeString("none");
}

// ASCII letters a to z made A to Z, as the parameter combo takes a typed name.
KesUnicodeString Upper(const KesUnicodeString& text) {
    std::string upper = text.Str();
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return KesUnicodeString(upper);
}

// A parameterised real brought back as the person brings it: a binding by typing the
// parameter's name into the parameter combo (its value shows, as when it was bound); a plain
// value typed into the editor as it stood (which unbinds), or, in a spinner, "none" typed to
// unbind and the value given with notification (the spinner's notification unbinds too).
void RestoreParameterised(KesMfgAttDoubleParam& param, const KesPanelHistory::Look& target) {
    const KesMfgValueRecords& records = target.state.records;
    KesDlgCombo* combo = param.GetParameterCombo();
    KesDlgEditor* editor = param.GetEditorWidget();
    if (combo == nullptr) {
        return;
    }
    if (records.counts[1] == -1) {
        combo->UserType(target.fields.back());
        return;
    }
    const std::shared_ptr<const bool> alive = param.GetAliveToken();
    if (editor != nullptr && target.fields.size() == 2) {
        // The text typed as it stood unbinds, with the notification; where typing does not
        // give the value back (a caller's value the field does not take as typed), the
        // caller's value is given after it.
        editor->UserType(target.fields.front());
        if (!*alive) {
            return;
        }
        KesMfgValueRecords now;
        now.GetAttValue(param);
        if (!(KesAttributeState{now, target.state.optionState} == target.state)) {
            KesRawColldouble reals = records.reals;
            param.SetAttValue(nullptr, &reals, nullptr, 0);
        }
        return;
    }
    if (!(param.GetBindingText() == KesUnicodeString("none"))) {
        combo->UserType(KesUnicodeString("none"));
    }
    if (!*alive) {
        return; // a reaction to the notification deleted it
    }
    KesMfgValueRecords now;
    now.GetAttValue(param);
    if (!(KesAttributeState{now, target.state.optionState} == target.state)) {
        KesRawColldouble reals = records.reals;
        param.SetAttValue(nullptr, &reals, nullptr, 1);
    }
}

// A widget and everything under it as a person sees it: kind, name, title, what it shows,
// sensitivity and visibility. Left out, as what no value of the panel holds and undo leaves
// where it is (tools/KesPanelHistory.h): the lines of a combo that takes typing and which of
// them is highlighted, a spinner's step, an open dialog (a window of its own, which undo leaves
// as it is), and where a list's window is scrolled to (with the
// values its fields show from there: the records hold the list, and the panel checks that
// the fields show it at the scroll position).
void SeeInto(std::ostringstream& out, const KesDialog& widget, bool inWindow, int depth) {
    if (widget.GetKind() == KesDlgKind::Dialog) {
        return; // a dialog is a window of its own, open or closed by its own buttons
    }
    out << std::string(static_cast<size_t>(depth) * 2, ' ') << static_cast<int>(widget.GetKind())
        << ' ' << widget.GetName().Str() << " \"" << widget.GetTitle().Str() << '"';
    switch (widget.GetKind()) {
    case KesDlgKind::Editor:
        if (!inWindow) {
            out << " text=\"" << static_cast<const KesDlgEditor&>(widget).GetText().Str() << '"';
        }
        break;
    case KesDlgKind::Spinner:
        if (!inWindow) {
            out << " value=" << static_cast<const KesDlgSpinner&>(widget).GetText().Str();
        }
        break;
    case KesDlgKind::Combo: {
        const auto& combo = static_cast<const KesDlgCombo&>(widget);
        out << " field=\"" << combo.GetField().Str() << '"';
        if (!combo.IsEditable()) {
            out << " row=" << combo.GetSelect() << " lines=";
            for (int i = 0; i < combo.GetLineCount(); ++i) {
                out << combo.GetLine(i).Str() << '|';
            }
        }
        break;
    }
    case KesDlgKind::CheckButton:
    case KesDlgKind::RadioButton:
        if (!inWindow) {
            out << (static_cast<const KesDlgStateButton&>(widget).IsOn() ? " on" : " off");
        }
        break;
    case KesDlgKind::ScrollBar: {
        const auto& bar = static_cast<const KesDlgScrollBar&>(widget);
        out << " range=" << bar.GetScrollMinimum() << ".." << bar.GetScrollMaximum()
            << " box=" << bar.GetScrollBoxSize();
        break;
    }
    case KesDlgKind::SelectorList: {
        const auto& list = static_cast<const KesDlgSelectorList&>(widget);
        out << " selected=";
        for (int row : list.GetSelectedRows()) {
            out << list.GetLine(row).Str() << '|';
        }
        break;
    }
    case KesDlgKind::Frame:
    case KesDlgKind::Label:
    case KesDlgKind::PushButton:
    case KesDlgKind::ContextualMenu:
    case KesDlgKind::PushItem:
    case KesDlgKind::Dialog:
    case KesDlgKind::Count:
        break;
    }
    out << (widget.IsSetSensitivity() ? "" : " (insensitive)")
        << (widget.GetVisibility() == kes::kShown ? "" : " (hidden)") << '\n';
    const bool window = inWindow || (widget.GetKind() == KesDlgKind::Frame &&
                                     widget.GetName() == KesString("FrameValues"));
    for (int i = 0; i < widget.GetChildCount(); ++i) {
        SeeInto(out, *widget.GetChildFromChildNumber(i), window, depth + 1);
    }
}

} // namespace

std::string KesPanelHistory::Seen(const KesDialog& widget) {
    std::ostringstream out;
    SeeInto(out, widget, false, 0);
    return out.str();
}

KesPanelHistory::Look KesPanelHistory::Look::Read(KesMfgAttribute& attribute) {
    Look look;
    look.state = KesAttributeState::Read(attribute);
    look.sensitive = attribute.IsSetSensitivity();
    look.editMode = attribute.GetEditMode();
    if (look.state.optionState == 0) {
        look.list = ListValues(attribute); // the records hold them while checked
    }
    if (const auto* param = dynamic_cast<const KesMfgAttDoubleParam*>(&attribute)) {
        look.rebindable = param->ShowsParameterValue();
        // The limits are in the shown unit; a caller's value and the text typed again both
        // end clamped to them, so a value outside them does not come back.
        if (param->GetEditorWidget() != nullptr && param->HasLimits()) {
            const double shown = param->GetShownValue();
            look.withinLimits = shown >= param->GetMinimum() && shown <= param->GetMaximum();
        }
    }
    KesMfgValueRecords output;
    look.output = output.Output(attribute, attribute.GetGroup()).FormatTable();
    look.widgets = Seen(attribute);
    const OwnFields own = OwnFieldsOf(attribute);
    if (own.editor != nullptr) {
        look.fields.push_back(own.editor->GetText());
    }
    if (own.combo != nullptr) {
        look.fields.push_back(own.combo->GetField());
    }
    if (own.readOnly != nullptr) {
        look.row = own.readOnly->GetSelect();
    }
    if (own.spinner != nullptr) {
        look.spin = Bits(own.spinner->GetValue());
    }
    return look;
}

// Brings `attribute` to `target` with the notifications a person's gesture gives: the option
// as a caller sets it with notification; the value as a caller gives it with notification
// (a parameterised real as the person binds and unbinds it); a field that does not show its
// text as it stood then (a text typed with blanks, a typed text that is no allowed value, a
// line's text typed) by typing that text into it again, as the person did. Its own sensitivity
// (an impact's) comes back after every attribute of the step (Move).
void KesPanelHistory::Restore(KesMfgAttribute& attribute, const Look& target) {
    // Each notification may run a reaction that deletes the attribute: `alive` says so.
    const std::shared_ptr<const bool> alive = attribute.GetAliveToken();
    const KesAttributeState& state = target.state;
    if (attribute.GetOptionMode() == 1 && attribute.GetOptionState() != state.optionState) {
        attribute.SetOptionalCheck(state.optionState, 1);
    }
    if (!*alive) {
        return;
    }
    const bool single = dynamic_cast<KesMfgAttLink*>(&attribute) == nullptr &&
                        state.records.names.Size() == 1 && state.optionState != 0;
    auto* param = dynamic_cast<KesMfgAttDoubleParam*>(&attribute);
    const bool bound = single && state.records.counts[1] == -1;
    if (*alive && !(KesAttributeState::Read(attribute) == state)) {
        if (single && param != nullptr) {
            RestoreParameterised(*param, target);
        } else if (auto* choices = dynamic_cast<KesMfgAttCharList*>(&attribute);
                   single && choices != nullptr &&
                   choices->GetAllowedValues().Locate(state.records.texts[1]) == 0) {
            // A typed text: no call selects it, the typing below brings it back.
        } else if (single && dynamic_cast<KesMfgAttChar*>(&attribute) != nullptr &&
                   target.fields.size() == 1) {
            // A text: typed below as the field showed it (a caller's shows its padding).
        } else {
            state.Apply(attribute, 1);
        }
    }
    if (!*alive) {
        return;
    }
    const OwnFields own = OwnFieldsOf(attribute);
    if (single && own.readOnly != nullptr && target.row >= 0 &&
        own.readOnly->GetSelect() != target.row) {
        // One of several lines showing the same value: the person picks the one it was.
        own.readOnly->UserSelect(target.row);
    }
    if (single && own.spinner != nullptr && !bound && !target.spin.empty() &&
        Bits(own.spinner->GetValue()) != target.spin) {
        // A shown value no caller's value converts to exactly: the person spins to it.
        double value = 0.0;
        std::memcpy(&value, target.spin.data(), sizeof(double));
        own.spinner->UserSetValue(value);
    }
    if (!*alive || !single ||
        target.fields.size() !=
            static_cast<size_t>((own.editor != nullptr) + (own.combo != nullptr))) {
        // no field to type into, or another number of them
    } else {
        if (own.editor != nullptr && !bound && !(own.editor->GetText() == target.fields.front())) {
            own.editor->UserType(target.fields.front());
        }
        // A combo's field as it stood, typed: a text or a line's text, a parameter's name
        // (also one named "NONE", which reads as unbound) or "none".
        if (*alive && own.combo != nullptr && !(own.combo->GetField() == target.fields.back())) {
            own.combo->UserType(target.fields.back());
        }
    }
}

// What neither a call nor a gesture brings back (KesPanelHistory.h); "" when `look` can be.
std::string KesPanelHistory::Unrestorable(const Change& change, const Look& look,
                                          const char* when) const {
    KesMfgAttribute& attribute = *entries_[static_cast<size_t>(change.attribute)].attribute;
    // A binding's name shown with blanks around it: only a caller's binding pads it, and a
    // caller's binding of the same name changes no record, so neither brings the field back.
    const bool paddedBinding =
        look.state.records.counts.Size() == 1 && look.state.records.counts[1] == -1 &&
        OwnFieldsOf(attribute).combo != nullptr && !look.fields.empty() &&
        look.fields.back().Str() !=
            KesUnicodeString(look.fields.back()).Strip(3, KesUnicodeChar(' ')).Str();
    if (change.before.state == change.after.state) {
        // The same records shown otherwise: a bound real that showed another value than its
        // parameter's cannot show it again, nor a name padded as a caller binds it, nor what an
        // attribute with no value yet shows (no call gives it); anything else a call or a
        // gesture brings back.
        if (!look.rebindable) {
            return NameOf(attribute) + " showed another value than its parameter's " + when +
                   ", which binding it again replaces by the parameter's";
        }
        if (paddedBinding && change.before.fields != change.after.fields) {
            return NameOf(attribute) + " showed its parameter's name with blanks around it " +
                   when + ", which a caller's binding pads and typing strips";
        }
        if (look.state.records.IsEmpty() && dynamic_cast<KesMfgAttLink*>(&attribute) == nullptr &&
            ChildrenSeen(change.before.widgets) != ChildrenSeen(change.after.widgets)) {
            return NameOf(attribute) + " had no value " + when +
                   ", and what it showed no call or gesture gives back";
        }
        return std::string();
    }
    const KesMfgValueRecords& records = look.state.records;
    const std::string name = NameOf(attribute);
    if (dynamic_cast<KesMfgAttLink*>(&attribute) != nullptr) {
        return look.output.empty() ? name + " relayed no values " + when +
                                         ", and no call or gesture takes them away"
                                   : std::string();
    }
    if (records.IsEmpty()) {
        return name + " had no value " + when + ", and no call or gesture takes a value away";
    }
    if (look.state.optionState == 0 && !look.list.empty() && look.list != ListValues(attribute)) {
        return name + " held other values " + when +
               " while unchecked, which no call gives an unchecked attribute";
    }
    if (records.counts.Size() != 1 || look.state.optionState == 0) {
        return std::string();
    }
    const int count = records.counts[1];
    if (const auto* param = dynamic_cast<KesMfgAttDoubleParam*>(&attribute);
        param != nullptr && !look.fields.empty() && !IsNone(look.fields.back())) {
        const KesUnicodeString bound = Upper(look.fields.back().Strip(3, KesUnicodeChar(' ')));
        if (!look.rebindable) {
            return name + " showed another value than its parameter " + bound.Str() + "'s " + when +
                   ", which binding it again replaces by the parameter's";
        }
        if (!param->FindCompatible(bound)) {
            return name + " was bound to " + bound.Str() + " " + when +
                   ", which is no parameter of the model it takes: binding it again by its "
                   "name would create one";
        }
    }
    if (const OwnFields own = OwnFieldsOf(attribute);
        count == -1 && own.combo != nullptr && !look.fields.empty() &&
        look.fields.back().Str() !=
            KesUnicodeString(look.fields.back()).Strip(3, KesUnicodeChar(' ')).Str()) {
        return name + " showed its parameter's name with blanks around it " + when +
               ", which a caller's binding pads and typing strips";
    }
    if (count == 0) {
        return name + " was an empty list " + when + ", which no call gives";
    }
    if (const auto* integer = dynamic_cast<KesMfgAttInt*>(&attribute);
        integer != nullptr && integer->HasLimits() && count == 1 && records.ints.Size() == 1 &&
        (records.ints[1] < integer->GetMinimum() || records.ints[1] > integer->GetMaximum())) {
        return name + " read " + std::to_string(records.ints[1]) + " " + when +
               ", outside its limits, which calls and gestures keep to";
    }
    if (const auto* real = dynamic_cast<KesMfgAttDouble*>(&attribute);
        real != nullptr && real->HasLimits() && count == 1 && records.reals.Size() == 1 &&
        !(records.reals[1] >= real->GetMinimum() && records.reals[1] <= real->GetMaximum())) {
        return name + " read a value outside its limits " + when +
               ", which calls and gestures keep to";
    }
    if (dynamic_cast<KesMfgAttDoubleParam*>(&attribute) != nullptr && count == 1 &&
        !look.withinLimits) {
        return name + " read a value outside its limits " + when +
               ", which calls and gestures keep to";
    }
    return std::string();
}

// ---------------------------------------------------------------------------------------------
// The observer: marks the attribute that owns each changed widget
// ---------------------------------------------------------------------------------------------
class KesPanelHistory::Watcher final : public KesDlgObserver {
public:
    explicit Watcher(KesPanelHistory& history) : history_(history) { KesDialog::AddObserver(this); }
    ~Watcher() override { KesDialog::RemoveObserver(this); }
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;
    void WidgetChanged(KesDialog& widget, KesDlgProperty property) override {
        if (property == KesDlgProperty::Destroyed &&
            history_.index_.count(static_cast<const void*>(&widget)) != 0) {
            history_.structureChanged_ = true;
            return;
        }
        history_.MarkOwner(&widget, property == KesDlgProperty::Created);
    }

private:
    KesPanelHistory& history_;
};

KesPanelHistory::KesPanelHistory(KesDialog& panel)
    : panel_(panel), watcher_(std::make_unique<Watcher>(*this)) {
    Rescan();
}

KesPanelHistory::~KesPanelHistory() = default;

void KesPanelHistory::Rescan() {
    entries_.clear();
    index_.clear();
    marked_.clear();
    links_.clear();
    std::function<void(const KesDialog*)> walk = [&](const KesDialog* widget) {
        for (int i = 0; i < widget->GetChildCount(); ++i) {
            KesDialog* child = widget->GetChildFromChildNumber(i);
            if (auto* attribute = dynamic_cast<KesMfgAttribute*>(child)) {
                index_[static_cast<const void*>(static_cast<KesDialog*>(attribute))] =
                    static_cast<int>(entries_.size());
                Entry entry;
                entry.attribute = attribute;
                entry.look = Look::Read(*attribute);
                if (dynamic_cast<KesMfgAttLink*>(attribute) != nullptr) {
                    links_.push_back(static_cast<int>(entries_.size()));
                }
                entries_.push_back(std::move(entry));
            } else {
                walk(child);
            }
        }
    };
    walk(&panel_);
    structureChanged_ = false;
}

void KesPanelHistory::MarkOwner(const KesDialog* widget, bool created) {
    for (const KesDialog* at = widget; at != nullptr; at = at->GetParent()) {
        if (at == &panel_) {
            // A widget of the panel outside every known attribute: a new attribute.
            structureChanged_ = structureChanged_ || created;
            return;
        }
        const auto found = index_.find(static_cast<const void*>(at));
        if (found != index_.end()) {
            Entry& entry = entries_[static_cast<size_t>(found->second)];
            if (!entry.dirty) {
                entry.dirty = true;
                marked_.push_back(found->second);
            }
            return;
        }
    }
}

void KesPanelHistory::Touch(const void* widget) {
    const auto found = index_.find(widget);
    if (found != index_.end() && !entries_[static_cast<size_t>(found->second)].dirty) {
        entries_[static_cast<size_t>(found->second)].dirty = true;
        marked_.push_back(found->second);
    }
}

// ---------------------------------------------------------------------------------------------
// Steps
// ---------------------------------------------------------------------------------------------
std::vector<KesPanelHistory::Change> KesPanelHistory::Collect() {
    for (int link : links_) {
        Touch(static_cast<const void*>(
            static_cast<KesDialog*>(entries_[static_cast<size_t>(link)].attribute)));
    }
    std::vector<Change> changes;
    for (int index : marked_) {
        Entry& entry = entries_[static_cast<size_t>(index)];
        entry.dirty = false;
        Look now = Look::Read(*entry.attribute);
        if (!(now == entry.look)) {
            changes.push_back(Change{index, std::move(entry.look), now});
            entry.look = std::move(now);
        }
    }
    marked_.clear();
    return changes;
}

// A step whose states before cannot be brought back ends the history there: it stays to be
// named, refused, and nothing before it is kept.
bool KesPanelHistory::CommitGesture() {
    if (structureChanged_) {
        Clear();
        return false;
    }
    std::vector<Change> changes = Collect();
    if (changes.empty()) {
        return false;
    }
    Step step{std::move(changes), std::string(), std::string()};
    for (const Change& change : step.changes) {
        if (const std::string why = Unrestorable(change, change.before, "before it");
            !why.empty()) {
            step.undoRefusal = "cannot undo " + LabelOf(step) + ": " + why;
            break;
        }
    }
    for (const Change& change : step.changes) {
        if (const std::string why = Unrestorable(change, change.after, "after it"); !why.empty()) {
            step.redoRefusal = "cannot redo " + LabelOf(step) + ": " + why;
            break;
        }
    }
    if (!step.undoRefusal.empty()) {
        undo_.clear();
    }
    undo_.push_back(std::move(step));
    redo_.clear();
    ++version_;
    return true;
}

bool KesPanelHistory::CommitCall() {
    if (structureChanged_) {
        Clear();
        return true;
    }
    if (Collect().empty()) {
        return false;
    }
    undo_.clear();
    redo_.clear();
    ++version_;
    return true;
}

void KesPanelHistory::Clear() {
    undo_.clear();
    redo_.clear();
    Rescan();
    ++version_;
}

std::string KesPanelHistory::LabelOf(const Step& step) const {
    return NameOf(*entries_[static_cast<size_t>(step.changes.front().attribute)].attribute);
}

std::string KesPanelHistory::UndoLabel() const {
    return undo_.empty() ? std::string() : LabelOf(undo_.back());
}

std::string KesPanelHistory::RedoLabel() const {
    return redo_.empty() ? std::string() : LabelOf(redo_.back());
}

std::string KesPanelHistory::UndoRefusal() const {
    return undo_.empty() ? std::string() : undo_.back().undoRefusal;
}

std::string KesPanelHistory::RedoRefusal() const {
    return redo_.empty() ? std::string() : redo_.back().redoRefusal;
}

// Brings the attributes of the last step of `from` to its states before when `back`, after
// otherwise, and moves it to `to`. The attributes are read again afterwards, so that what the
// application set off (an impact, a notification's reaction) is the new last state and no
// step; an attribute of the step that is not as it should be ends the history.
void KesPanelHistory::Move(std::vector<Step>& from, std::vector<Step>& to, bool back) {
    Step step = std::move(from.back());
    from.pop_back();
    shortfall_.clear();
    Collect(); // anything not yet committed is taken as it stands
    const size_t count = step.changes.size();
    // An attribute that was sensitive is so first: a gesture replayed on it must not be
    // refused because an impact of the step had turned it off.
    for (const Change& change : step.changes) {
        KesMfgAttribute& attribute = *entries_[static_cast<size_t>(change.attribute)].attribute;
        if ((back ? change.before : change.after).sensitive && !attribute.IsSetSensitivity()) {
            attribute.SetSensitivity(kes::kSensitive);
        }
    }
    for (size_t i = 0; i < count && !structureChanged_; ++i) {
        const Change& change = step.changes[back ? count - 1 - i : i];
        Restore(*entries_[static_cast<size_t>(change.attribute)].attribute,
                back ? change.before : change.after);
    }
    // The sensitivities last, when every value is back and its impacts applied: those of the
    // step as they were, and those the application changed outside the step as they stood (a
    // caller may have set one against its steering attribute).
    const std::vector<int> touched = marked_;
    for (int index : touched) {
        const Entry& entry = entries_[static_cast<size_t>(index)];
        const auto change =
            std::find_if(step.changes.begin(), step.changes.end(),
                         [&](const Change& each) { return each.attribute == index; });
        if (change == step.changes.end() && !structureChanged_ &&
            entry.attribute->IsSetSensitivity() != entry.look.sensitive) {
            entry.attribute->SetSensitivity(entry.look.sensitive ? kes::kSensitive
                                                                 : kes::kInsensitive);
        }
    }
    for (const Change& change : step.changes) {
        KesMfgAttribute& attribute = *entries_[static_cast<size_t>(change.attribute)].attribute;
        const bool sensitive = (back ? change.before : change.after).sensitive;
        if (!structureChanged_ && attribute.IsSetSensitivity() != sensitive) {
            attribute.SetSensitivity(sensitive ? kes::kSensitive : kes::kInsensitive);
        }
    }
    if (structureChanged_) {
        // A reaction changed the panel itself: the entries are not to be used.
        shortfall_ = "the panel changed while the step was applied";
        Clear();
        return;
    }
    for (const Change& change : step.changes) {
        KesMfgAttribute& attribute = *entries_[static_cast<size_t>(change.attribute)].attribute;
        const Look now = Look::Read(attribute);
        const Look& wanted = back ? change.before : change.after;
        if (!(now == wanted)) {
            shortfall_ = NameOf(attribute) + " is not as it was (" +
                         (!(now.state == wanted.state)    ? "its records or option state"
                          : now.output != wanted.output   ? "its Output"
                          : now.widgets != wanted.widgets ? "its widgets"
                          : now.fields != wanted.fields   ? "its fields' texts"
                                                          : "its sensitivity or edit mode") +
                         ")";
            break;
        }
    }
    Collect();
    if (!shortfall_.empty()) {
        Clear();
        return;
    }
    to.push_back(std::move(step));
    ++version_;
}

bool KesPanelHistory::Undo() {
    if (!CanUndo()) {
        return false;
    }
    Move(undo_, redo_, true);
    return shortfall_.empty();
}

bool KesPanelHistory::Redo() {
    if (!CanRedo()) {
        return false;
    }
    Move(redo_, undo_, false);
    return shortfall_.empty();
}
