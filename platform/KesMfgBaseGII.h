// KesMfgBaseGII: the error-reporting service through which the dialogs show a code to the user.
//
// Who answers. SetGIIError hands the code to the installed message service
// (KesMfgBaseGIIService); until a host installs its own, the built-in one answers (BuiltIn).
// Install returns the service it replaces; Install(nullptr) puts the built-in one back. The
// installed service is not owned: it must outlive its installation. When the installed service
// throws, the exception is caught and the code goes to the built-in service instead, so it is
// still shown and recorded.
//
// The built-in service. SetGIIError(code, 0) writes one line on standard error, "Manufacturing
// model, code C: " and what the code means, and records the code. The codes of the dialogs
// themselves:
//   20001  a parameter of that name exists already (the model refused a creation with 9620);
//   20002  the parameter was created and bound;
// and every code of the manufacturing model (KesMfgModel: 9620 to 9623) with the model's own
// text. An unknown code is reported as such, with its number.
//
// The codes of the dialogs and of the model have the same texts whoever shows them
// (GetCodeText). The built-in service records each code it shows: the recorded codes stay in the
// order they were reported until a host or a test reads them
// (GetReportedCodes) and clears them (ClearReportedCodes). Only the latest kMaxRecordedCodes are
// kept, so a host that never clears them does not grow without bound.
//
// Runs on the dialog framework's single event thread; it has no lock.
#pragma once

#include "platform/KesMfgBaseGIIService.h"

#include <string>
#include <vector>

class KesMfgBaseGII {
public:
    static constexpr int kParameterNameTaken = 20001;
    static constexpr int kParameterCreated = 20002;
    static constexpr int kMaxRecordedCodes = 256;

    KesMfgBaseGII() = delete;

    // Makes `service` show every code; null puts the built-in one back. Answers the service
    // that showed them until now (the built-in one included).
    static KesMfgBaseGIIService* Install(KesMfgBaseGIIService* service);
    // The service that answers now: the installed one, or the built-in one.
    static KesMfgBaseGIIService* Installed();
    // The built-in service (standard error and the recorded codes), whatever is installed.
    static KesMfgBaseGIIService* BuiltIn();

    // Reports `code` to the user through the installed service. `reserved` is always 0; any
    // other value is handed on and ignored by the built-in service.
    static void SetGIIError(int code, int reserved);

    // The text shown for `code` (without the "Manufacturing model, code C: " part), for every
    // service: the dialogs' codes, the model's (KesMfgModel::GetErrorText), else "unknown code".
    static std::string GetCodeText(int code);

    // The codes the built-in service reported since the last clear, oldest first (a host's
    // service records nothing here unless it forwards to the built-in one).
    static std::vector<int> GetReportedCodes();
    static void ClearReportedCodes();
};
