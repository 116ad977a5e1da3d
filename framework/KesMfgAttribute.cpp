// KesMfgAttribute: construction, options, edit mode, context access and trace.
#include "framework/KesMfgAttribute.h"

#include "framework/KesMfgAttNotifyModif.h"
#include "platform/KesDebug.h"

#include <iostream>

int KesMfgAttribute::_debug = -1;

namespace {

KesString FrameIdentifier(const KesUnicodeString& name) {
    return name.Strip(4, KesUnicodeChar('_')).Strip(4, KesUnicodeChar(' ')).ToKesString();
}

} // namespace

KesMfgAttribute::KesMfgAttribute(KesUnicodeString name, KesUnicodeString label, KesDlgFrame* parent,
                                 int group)
    : KesDlgFrame(parent, FrameIdentifier(name), kes::kFrameStyle), name_(std::move(name)),
      label_(std::move(label)), group_(group), parentFrame_(parent) {
    SetDefaultOrientation(kes::kRow);
}

KesMfgAttribute::~KesMfgAttribute() {
    MarkBeingDestroyed();
}

// ---------------------------------------------------------------------------------------------
// Trace
// ---------------------------------------------------------------------------------------------
bool KesMfgAttribute::TraceOn() {
    if (_debug < 0) {
        _debug = GetDebug("Access");
    }
    return _debug != 0;
}

void KesMfgAttribute::Trace(const char* operation) {
    if (TraceOn()) {
        std::cout << "YYYYYYYYYYYYYYYYYYYY " << operation << std::endl;
    }
}

// ---------------------------------------------------------------------------------------------
// Display contract helpers
// ---------------------------------------------------------------------------------------------
void KesMfgAttribute::CreateLabelWidget() {
    labelWidget_ = new KesDlgLabel(this, "labelatt", kes::kPlainStyle);
    labelWidget_->SetTitle(label_);
}

void KesMfgAttribute::FinishDisplay() {
    if (optionMode_ == 1) {
        OptionCheckModified(nullptr, nullptr, nullptr);
    }
}

void KesMfgAttribute::SendModification() {
    SendNotification(parentFrame_, new KesMfgAttNotifyModif(-1));
}

void KesMfgAttribute::GiveSingleHelp(KesDialog* target, const KesListValKesUnicodeString& help,
                                     const KesListValKesUnicodeString& shortHelp) {
    if (target == nullptr) {
        return;
    }
    KesDialog* optionCheck = optionMode_ == 1 ? optionCheck_ : nullptr;
    if (help.Size() == 1) {
        target->SetHelp(help[1]);
        if (optionCheck != nullptr) {
            optionCheck->SetHelp(help[1]);
        }
    }
    if (shortHelp.Size() == 1) {
        target->SetShortHelp(shortHelp[1]);
        if (optionCheck != nullptr) {
            optionCheck->SetShortHelp(shortHelp[1]);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Base operations
// ---------------------------------------------------------------------------------------------
void KesMfgAttribute::ModifyValueList(KesRawCollint, KesListValKesUnicodeString, int) {
    Trace("ModifyValueList");
}

KesUnicodeString KesMfgAttribute::GetAttributeName() {
    Trace("GetAttributeName");
    return name_;
}

void KesMfgAttribute::SetAttToBeDefined() {
    Trace("SetAttToBeDefined");
    toBeDefined_ = 1;
    forcedOutput_ = 1;
    optionState_ = 1;
}

int KesMfgAttribute::SensitivityLoopEnd() const {
    return GetChildCount() - (trailingScrollBar_ == 1 ? 1 : 0);
}

void KesMfgAttribute::SetEditMode(int mode) {
    Trace("SetEditMode");
    editMode_ = mode;
    if (mode != 0) {
        return;
    }
    const int end = SensitivityLoopEnd();
    for (int i = 0; i < end; ++i) {
        GetChildFromChildNumber(i)->SetSensitivity(kes::kInsensitive);
    }
    if (labelWidget_ != nullptr) {
        labelWidget_->SetSensitivity(kes::kSensitive);
    }
}

void KesMfgAttribute::SetSensitivity(unsigned long sensitivity) {
    Trace("SetSensitivity");
    if (editMode_ != 1) {
        return;
    }
    if (TraceOn()) {
        std::cout << " JE SUIS BIEN PASSE par la " << name_.Str() << " sensitivity " << sensitivity
                  << std::endl;
    }
    KesDlgFrame::SetSensitivity(sensitivity);
}

void KesMfgAttribute::SetOptionMode(int mode, int initialState) {
    Trace("SetOptionMode");
    if (initialState < 0 || initialState > 1) {
        initialState = 1;
    }
    optionMode_ = mode;
    if (optionMode_ == 1) {
        optionState_ = initialState;
    }
    initialOptionState_ = initialState;
}

void KesMfgAttribute::DisplayOptionalCheck() {
    Trace("DisplayOptionalCheck");
    if (optionCheck_ != nullptr) {
        return; // built once
    }
    optionCheck_ = new KesDlgCheckButton(this, "OptionCheck", kes::kPlainStyle);
    optionCheck_->SetTitle(KesUnicodeString());
    optionCheck_->SetState(optionState_ == 1 ? kes::kOn : kes::kOff, kes::kNoNotify);
    AddAnalyseNotificationCB(optionCheck_, optionCheck_->GetChkBModifyNotification(),
                             &KesMfgAttribute::OptionCheckModified, nullptr);
}

void KesMfgAttribute::SetOptionalCheck(int state, int notify) {
    if (optionMode_ == 0 || optionCheck_ == nullptr) {
        return;
    }
    const unsigned long wanted = state == 1 ? kes::kOn : kes::kOff;
    if (optionCheck_->GetState() == wanted) {
        return;
    }
    optionCheck_->SetState(wanted, notify);
    if (notify != 1) { // the toolkit notifies only for 1: any other flag follows silently
        OptionCheckModified(nullptr, nullptr, nullptr);
    }
}

void KesMfgAttribute::OptionCheckModified(KesCommand*, KesNotification*, void**) {
    Trace("OptionCheckModified");
    if (optionCheck_ == nullptr) {
        return;
    }
    const int end = SensitivityLoopEnd();
    if (optionCheck_->GetState() == kes::kOn) {
        if (TraceOn()) {
            std::cout << "OptionCheckModified check" << std::endl;
        }
        for (int i = 1; i < end; ++i) {
            GetChildFromChildNumber(i)->SetSensitivity(kes::kSensitive);
        }
        optionState_ = 1;
    } else {
        if (TraceOn()) {
            std::cout << "OptionCheckModified uncheck" << std::endl;
        }
        for (int i = 1; i < end; ++i) {
            GetChildFromChildNumber(i)->SetSensitivity(kes::kInsensitive);
        }
        if (labelWidget_ != nullptr) {
            labelWidget_->SetSensitivity(kes::kSensitive);
        }
        optionState_ = 0;
    }
    if (editMode_ == 0) {
        SetEditMode(0);
    }
}

void KesMfgAttribute::SetContextAccess(int access) {
    Trace("SetContextAccess");
    contextAccess_ = access;
    if (editMode_ != 1) {
        return;
    }
    if (access == 1) {
        SetSensitivity(kes::kSensitive);
        if (optionMode_ == 1) {
            OptionCheckModified(nullptr, nullptr, nullptr);
        }
    } else if (access == 0) {
        SetSensitivity(kes::kInsensitive);
    }
}

int KesMfgAttribute::GetContextAccess() {
    Trace("GetContextAccess");
    return contextAccess_;
}

void KesMfgAttribute::SetIconNames(KesListValKesUnicodeString*, KesListValKesUnicodeString*) {
    Trace("SetIconNames");
}

void KesMfgAttribute::SetHelp(KesListValKesUnicodeString, KesListValKesUnicodeString) {
    Trace("SetHelp");
}

void KesMfgAttribute::SetVisibleTextWidth(int width) {
    Trace("SetVisibleTextWidth");
    visibleTextWidth_ = width;
}

void KesMfgAttribute::SetIconName(KesString) {
    Trace("SetIconName");
}

void KesMfgAttribute::AddImpactedAttributes(KesListPtrKesMfgAttribute, KesRawCollint, KesRawCollint,
                                            KesRawCollint) {}

void KesMfgAttribute::AddImpactedAttributes(KesListPtrKesMfgAttribute, KesRawCollint,
                                            KesListValKesUnicodeString, KesRawCollint) {}

void KesMfgAttribute::ImpactAttributes() {}
