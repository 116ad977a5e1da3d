#include "single/KesMfgAttLink.h"

#include "framework/KesMfgAttNotifyModif.h"
#include "framework/KesMfgAttNotifyPB.h"
#include "platform/KesDebug.h"

#include <iostream>

namespace {

// The class's own trace switch, asked at every use.
bool LinkTraceOn() {
    return GetDebug("KesMfgAttLink") == 1;
}

template <class Vector> void AppendAll(Vector& to, const Vector* from) {
    if (from != nullptr) {
        to.Append(*from);
    }
}

} // namespace

KesMfgAttLink::KesMfgAttLink(KesUnicodeString name, KesUnicodeString label, KesDlgFrame* parent,
                             KesString iconName, int group)
    : KesMfgAttribute(std::move(name), std::move(label), parent, group),
      iconName_(std::move(iconName)) {}

KesMfgAttLink::~KesMfgAttLink() {
    MarkBeingDestroyed(); // no gesture or notification reaches a link half torn down
    DeleteLinkVectors();
}

void KesMfgAttLink::DeleteLinkVectors() {
    names_.reset();
    typeCodes_.reset();
    counts_.reset();
    ints_.reset();
    reals_.reset();
    texts_.reset();
}

// ---------------------------------------------------------------------------------------------
// Display, help and icon
// ---------------------------------------------------------------------------------------------
void KesMfgAttLink::Display() {
    if (!MarkDisplayed()) {
        return;
    }
    if (LinkTraceOn()) {
        std::cout << "iconname:" << iconName_.Str() << ":end" << std::endl;
    }
    pushButton_ = new KesDlgPushButton(this, "pb", kes::kPlainStyle);
    pushButton_->SetCaption(GetLabel()); // the button has no title: a window shows the label
    if (!iconName_.IsEmpty()) {
        pushButton_->SetIconName(iconName_);
    }
    AddAnalyseNotificationCB(pushButton_, pushButton_->GetPushBActivateNotification(),
                             &KesMfgAttLink::AttributeActivated, nullptr);
    linkLabel_ = new KesDlgLabel(this, "label", kes::kPlainStyle);
}

void KesMfgAttLink::SetHelp(KesListValKesUnicodeString help, KesListValKesUnicodeString shortHelp) {
    if (pushButton_ == nullptr) {
        return;
    }
    if (help.Size() > 0) {
        pushButton_->SetHelp(help[1]);
    }
    if (shortHelp.Size() > 0) {
        pushButton_->SetShortHelp(shortHelp[1]);
    }
}

void KesMfgAttLink::SetIconName(KesString name) {
    if (linkLabel_ == nullptr) {
        return;
    }
    if (name.IsEmpty()) {
        linkLabel_->SetTitle(KesUnicodeString());
    } else {
        linkLabel_->SetIconName(name);
    }
}

// ---------------------------------------------------------------------------------------------
// Values
// ---------------------------------------------------------------------------------------------
void KesMfgAttLink::SetAttValue(KesRawCollint*, KesRawColldouble*, KesListValKesUnicodeString*,
                                int) {}

void KesMfgAttLink::SetAttValue(KesListValKesUnicodeString* names, KesRawCollint* counts,
                                KesRawCollint* typeCodes, KesRawCollint* ints,
                                KesRawColldouble* reals, KesListValKesUnicodeString* texts, int) {
    DeleteLinkVectors();
    names_ = std::make_unique<KesListValKesUnicodeString>();
    counts_ = std::make_unique<KesRawCollint>();
    typeCodes_ = std::make_unique<KesRawCollint>();
    ints_ = std::make_unique<KesRawCollint>();
    reals_ = std::make_unique<KesRawColldouble>();
    texts_ = std::make_unique<KesListValKesUnicodeString>();
    AppendAll(*names_, names);
    AppendAll(*counts_, counts);
    AppendAll(*typeCodes_, typeCodes);
    AppendAll(*ints_, ints);
    AppendAll(*reals_, reals);
    AppendAll(*texts_, texts);
}

void KesMfgAttLink::Relay(KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                          KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                          KesListValKesUnicodeString* texts) const {
    // All or nothing, so that the caller's vectors never get half a set of records.
    const bool missing = names == nullptr || typeCodes == nullptr || counts == nullptr ||
                         (ints == nullptr && ints_->Size() > 0) ||
                         (reals == nullptr && reals_->Size() > 0) ||
                         (texts == nullptr && texts_->Size() > 0);
    if (missing) {
        return;
    }
    names->Append(*names_);
    typeCodes->Append(*typeCodes_);
    counts->Append(*counts_);
    // A null value vector is allowed only where there is nothing to relay.
    if (ints != nullptr) {
        ints->Append(*ints_);
    }
    if (reals != nullptr) {
        reals->Append(*reals_);
    }
    if (texts != nullptr) {
        texts->Append(*texts_);
    }
}

void KesMfgAttLink::Output(int group, KesListValKesUnicodeString* names, KesRawCollint* typeCodes,
                           KesRawCollint* counts, KesRawCollint* ints, KesRawColldouble* reals,
                           KesListValKesUnicodeString* texts) {
    if (group != group_ || !HasLinkValues()) {
        return;
    }
    Relay(names, typeCodes, counts, ints, reals, texts);
}

void KesMfgAttLink::GetAttValue(int* group, KesListValKesUnicodeString* names,
                                KesRawCollint* typeCodes, KesRawCollint* counts,
                                KesRawCollint* ints, KesRawColldouble* reals,
                                KesListValKesUnicodeString* texts) {
    if (group != nullptr) {
        *group = group_;
    }
    if (HasLinkValues()) {
        Relay(names, typeCodes, counts, ints, reals, texts);
        return;
    }
    if (names == nullptr || typeCodes == nullptr || counts == nullptr) {
        return;
    }
    names->Append(name_);
    typeCodes->Append(kIntegerType);
    counts->Append(0);
}

// ---------------------------------------------------------------------------------------------
// Callbacks
// ---------------------------------------------------------------------------------------------
void KesMfgAttLink::Announce(KesNotification* notification, const char* what) {
    // Copied first: the parent's callbacks may delete this attribute.
    const KesUnicodeString name = name_;
    const KesUnicodeString label = label_;
    SendNotification(parentFrame_, notification);
    if (LinkTraceOn()) {
        std::cout << "==================== KesMfgAttLink ====================" << std::endl;
        std::cout << "= " << what << std::endl;
        std::cout << "= name  : " << name.Str() << std::endl;
        std::cout << "= label : " << label.Str() << std::endl;
        std::cout << "=======================================================" << std::endl;
    }
}

void KesMfgAttLink::AttributeActivated(KesCommand*, KesNotification*, void**) {
    Announce(new KesMfgAttNotifyPB(-1), "push button pressed");
}

void KesMfgAttLink::AttributeModified(KesCommand*, KesNotification*, void**) {
    Announce(new KesMfgAttNotifyModif(-1), "values modified");
}
