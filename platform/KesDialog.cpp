#include "platform/KesDialog.h"

#include "platform/KesDlgResource.h"

#include <algorithm>

namespace {

std::vector<KesDlgObserver*>& Observers() {
    static auto* observers = new std::vector<KesDlgObserver*>;
    return *observers;
}

} // namespace

KesDialog::KesDialog(KesDialog* parent, const KesString& name, unsigned long style, KesDlgKind kind)
    : parent_(parent), name_(name), style_(style), kind_(kind) {
    if (parent_ != nullptr) {
        parent_->children_.push_back(this);
    }
    // The texts of the resource file named by the nearest ancestor that names one; set before
    // anyone is told of the widget, and so without a change to announce.
    for (const KesDialog* up = parent_; up != nullptr; up = up->parent_) {
        const KesString file = up->GetResourceFilename(0);
        if (file.IsEmpty()) {
            continue;
        }
        if (const KesDlgResourceTexts* texts = KesDlgResource::Find(file, name_)) {
            title_ = texts->title;
            help_ = texts->help;
            shortHelp_ = texts->shortHelp;
        }
        break;
    }
    Changed(KesDlgProperty::Created);
}

KesDialog::~KesDialog() {
    MarkBeingDestroyed(); // an observer told of the destruction can no longer act through it
    Changed(KesDlgProperty::Destroyed);
    destroying_ = true;
    // Last child first, so that no child shifts the numbering of those still to be deleted.
    while (!children_.empty()) {
        KesDialog* child = children_.back();
        children_.pop_back();
        delete child;
    }
    if (parent_ != nullptr && !parent_->destroying_) {
        auto& siblings = parent_->children_;
        // A child usually leaves last-in first-out; search from the end.
        const auto found = std::find(siblings.rbegin(), siblings.rend(), this);
        if (found != siblings.rend()) {
            siblings.erase(std::next(found).base());
        }
    }
}

KesDialog* KesDialog::GetChildFromChildNumber(int number) const {
    if (number < 0 || number >= GetChildCount()) {
        return nullptr;
    }
    return children_[static_cast<size_t>(number)];
}

KesDialog* KesDialog::FindDescendant(const KesString& name) const {
    for (KesDialog* child : children_) {
        if (child->name_ == name) {
            return child;
        }
        if (KesDialog* found = child->FindDescendant(name)) {
            return found;
        }
    }
    return nullptr;
}

void KesDialog::SetTitle(const KesUnicodeString& title) {
    title_ = title;
    Changed(KesDlgProperty::Title);
}

void KesDialog::SetHelp(const KesUnicodeString& help) {
    help_ = help;
    Changed(KesDlgProperty::Help);
}

void KesDialog::SetShortHelp(const KesUnicodeString& help) {
    shortHelp_ = help;
    Changed(KesDlgProperty::ShortHelp);
}

void KesDialog::SetIconName(const KesString& name, const KesString& secondName) {
    iconName_ = name;
    secondIconName_ = secondName;
    Changed(KesDlgProperty::Icon);
}

void KesDialog::SetCaption(const KesUnicodeString& caption) {
    caption_ = caption;
    Changed(KesDlgProperty::Caption);
}

void KesDialog::SetSensitivity(unsigned long sensitivity) {
    if (sensitivity != kes::kSensitive && sensitivity != kes::kInsensitive) {
        return;
    }
    if (sensitivity_ != sensitivity) {
        sensitivity_ = sensitivity;
        Changed(KesDlgProperty::Sensitivity);
    }
}

void KesDialog::SetVisibility(int visibility) {
    if (visibility != kes::kShown && visibility != kes::kHidden) {
        return;
    }
    if (visibility_ != visibility) {
        visibility_ = visibility;
        Changed(KesDlgProperty::Visibility);
    }
}

KesString KesDialog::GetResourceFilename(int /*level*/) const {
    return KesString();
}

bool KesDialog::AcceptsUserInput() const {
    bool inOwnWindow = true; // up to the dialog window that holds the widget
    for (const KesDialog* widget = this; widget != nullptr; widget = widget->parent_) {
        if (widget->IsBeingDestroyed()) {
            return false; // a dialog whose owner is going goes too
        }
        if (inOwnWindow &&
            (widget->visibility_ != kes::kShown || widget->sensitivity_ != kes::kSensitive)) {
            return false;
        }
        if (widget->kind_ == KesDlgKind::Dialog) {
            inOwnWindow = false; // a window of its own: its owner's look does not matter
        }
    }
    return true;
}

void KesDialog::AddObserver(KesDlgObserver* observer) {
    if (observer != nullptr) {
        Observers().push_back(observer);
    }
}

void KesDialog::RemoveObserver(KesDlgObserver* observer) {
    std::erase(Observers(), observer);
}

void KesDialog::Changed(KesDlgProperty property) {
    const std::vector<KesDlgObserver*>& observers = Observers();
    if (observers.empty()) {
        return;
    }
    // Copy: an observer may add or remove observers. One removed meanwhile (a window deleted
    // by another's doing) may be gone: it is not told.
    const std::vector<KesDlgObserver*> current = observers;
    for (KesDlgObserver* observer : current) {
        if (current.size() == 1 ||
            std::find(observers.begin(), observers.end(), observer) != observers.end()) {
            observer->WidgetChanged(*this, property);
        }
    }
}

void KesDialog::Raise(const KesNotification& kind) {
    SendNotification(this, new KesDlgNotification(kind.IsA()));
}

KesDlgNotification::KesDlgNotification(const char* className) : meta_(QueryMetaObject(className)) {
    if (meta_ == nullptr) {
        meta_ = KesRegisterClass(className, KesNotification::MetaObject());
    }
}
