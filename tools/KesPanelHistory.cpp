// KesPanelHistory: attribute states, the observer that marks what a gesture touched, steps,
// undo and redo.
#include "tools/KesPanelHistory.h"

#include "single/KesMfgAttLink.h"

#include <cmath>
#include <cstring>
#include <functional>

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
    if (attribute.GetOptionMode() == 1 && attribute.GetOptionState() != optionState) {
        attribute.SetOptionalCheck(optionState, notify);
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
                entry.state = KesAttributeState::Read(*attribute);
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
        KesAttributeState now = KesAttributeState::Read(*entry.attribute);
        if (now != entry.state) {
            changes.push_back(Change{index, std::move(entry.state), now});
            entry.state = std::move(now);
        }
    }
    marked_.clear();
    return changes;
}

bool KesPanelHistory::CommitGesture() {
    if (structureChanged_) {
        Clear();
        return false;
    }
    std::vector<Change> changes = Collect();
    if (changes.empty()) {
        return false;
    }
    undo_.push_back(Step{std::move(changes)});
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
    const KesMfgAttribute* attribute =
        entries_[static_cast<size_t>(step.changes.front().attribute)].attribute;
    const std::string label = attribute->GetLabel().Str();
    return label.empty() ? attribute->GetRecordName().Str() : label;
}

std::string KesPanelHistory::UndoLabel() const {
    return undo_.empty() ? std::string() : LabelOf(undo_.back());
}

std::string KesPanelHistory::RedoLabel() const {
    return redo_.empty() ? std::string() : LabelOf(redo_.back());
}

// Applies the last step of `from` (its states before when `back`, after otherwise) and moves it
// to `to`. The attributes are read again afterwards, so that what the application set off (an
// impact, a notification's reaction) is the new last state and no step.
void KesPanelHistory::Move(std::vector<Step>& from, std::vector<Step>& to, bool back) {
    Step step = std::move(from.back());
    from.pop_back();
    Collect(); // anything not yet committed is taken as it stands
    if (back) {
        for (auto change = step.changes.rbegin(); change != step.changes.rend(); ++change) {
            change->before.Apply(*entries_[static_cast<size_t>(change->attribute)].attribute);
            if (structureChanged_) {
                break; // a reaction changed the panel itself: the entries are not to be used
            }
        }
    } else {
        for (const Change& change : step.changes) {
            change.after.Apply(*entries_[static_cast<size_t>(change.attribute)].attribute);
            if (structureChanged_) {
                break;
            }
        }
    }
    if (structureChanged_) {
        Clear();
        return;
    }
    Collect();
    to.push_back(std::move(step));
    ++version_;
}

bool KesPanelHistory::Undo() {
    if (undo_.empty()) {
        return false;
    }
    Move(undo_, redo_, true);
    return true;
}

bool KesPanelHistory::Redo() {
    if (redo_.empty()) {
        return false;
    }
    Move(redo_, undo_, false);
    return true;
}
