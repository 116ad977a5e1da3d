// KesMfgBaseGII: the message line and the record of reported codes.
#include "platform/KesMfgBaseGII.h"

#include "platform/KesMfgModel.h"

#include <deque>
#include <iostream>

namespace {

std::deque<int>& Recorded() {
    static auto* codes = new std::deque<int>;
    return *codes;
}

} // namespace

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

void KesMfgBaseGII::SetGIIError(int code, int /*reserved*/) {
    std::cerr << "Manufacturing model, code " << code << ": " << GetCodeText(code) << std::endl;
    std::deque<int>& codes = Recorded();
    codes.push_back(code);
    while (codes.size() > static_cast<size_t>(kMaxRecordedCodes)) {
        codes.pop_front();
    }
}

std::vector<int> KesMfgBaseGII::GetReportedCodes() {
    const std::deque<int>& codes = Recorded();
    return std::vector<int>(codes.begin(), codes.end());
}

void KesMfgBaseGII::ClearReportedCodes() {
    Recorded().clear();
}
