// KesMfgBaseGII: the built-in message service (a line on standard error and the record of
// reported codes), and the static that hands every code to the installed service.
#include "platform/KesMfgBaseGII.h"

#include "platform/KesMfgModel.h"

#include <deque>
#include <iostream>

namespace {

class BuiltInMessages final : public KesMfgBaseGIIService {
public:
    void SetGIIError(int code, int /*reserved*/) override {
        std::cerr << "Manufacturing model, code " << code << ": "
                  << KesMfgBaseGII::GetCodeText(code) << std::endl;
        codes_.push_back(code);
        while (codes_.size() > static_cast<size_t>(KesMfgBaseGII::kMaxRecordedCodes)) {
            codes_.pop_front();
        }
    }
    std::deque<int>& Recorded() { return codes_; }

private:
    std::deque<int> codes_;
};

// Never freed, so hosts may still report from static destructors.
BuiltInMessages& TheBuiltInMessages() {
    static auto* messages = new BuiltInMessages;
    return *messages;
}

KesMfgBaseGIIService*& TheInstalled() {
    static KesMfgBaseGIIService* installed = nullptr; // null: the built-in one answers
    return installed;
}

} // namespace

KesMfgBaseGIIService* KesMfgBaseGII::Install(KesMfgBaseGIIService* service) {
    KesMfgBaseGIIService* replaced = Installed();
    TheInstalled() = service == &TheBuiltInMessages() ? nullptr : service;
    return replaced;
}

KesMfgBaseGIIService* KesMfgBaseGII::Installed() {
    KesMfgBaseGIIService* installed = TheInstalled();
    return installed != nullptr ? installed : &TheBuiltInMessages();
}

KesMfgBaseGIIService* KesMfgBaseGII::BuiltIn() {
    return &TheBuiltInMessages();
}

std::string KesMfgBaseGII::GetCodeText(int code) {
    switch (code) {
    case kParameterNameTaken:
        return "a parameter of that name exists already; choose another name";
    case kParameterCreated:
        return "the parameter was created with the value shown and the value is bound to it";
    default:
        break;
    }
    if (const char* modelText = KesMfgModel::GetErrorText(code)) {
        return modelText;
    }
    return "unknown code";
}

void KesMfgBaseGII::SetGIIError(int code, int reserved) {
    KesMfgBaseGIIService* installed = TheInstalled();
    if (installed != nullptr) {
        try {
            installed->SetGIIError(code, reserved);
            return;
        } catch (...) {
            // The host could not show it: the code still reaches the user, on standard error.
        }
    }
    TheBuiltInMessages().SetGIIError(code, reserved);
}

std::vector<int> KesMfgBaseGII::GetReportedCodes() {
    const std::deque<int>& codes = TheBuiltInMessages().Recorded();
    return std::vector<int>(codes.begin(), codes.end());
}

void KesMfgBaseGII::ClearReportedCodes() {
    TheBuiltInMessages().Recorded().clear();
}
