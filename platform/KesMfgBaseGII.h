// KesMfgBaseGII: the error-reporting service through which the dialogs show a code to the user.
//
// SetGIIError(code, 0) writes one line on standard error, "Manufacturing model, code C: " and
// what the code means, and records the code. The codes of the dialogs themselves:
//   20001  a parameter of that name exists already (the model refused a creation with 9620);
//   20002  the parameter was created and bound;
// and every code of the manufacturing model (KesMfgModel: 9620 to 9623) with the model's own
// text. An unknown code is reported as such, with its number.
//
// The recorded codes stay in the order they were reported until a host or a test reads them
// (GetReportedCodes) and clears them (ClearReportedCodes). Only the latest kMaxRecordedCodes are
// kept, so a host that never clears them does not grow without bound.
//
// Runs on the dialog framework's single event thread; it has no lock.
#pragma once

#include <string>
#include <vector>

class KesMfgBaseGII {
public:
    static constexpr int kParameterNameTaken = 20001;
    static constexpr int kParameterCreated = 20002;
    static constexpr int kMaxRecordedCodes = 256;

    KesMfgBaseGII() = delete;

    // Reports `code` to the user and records it. `reserved` is always 0; any other value is
    // accepted and ignored.
    static void SetGIIError(int code, int reserved);

    // The text shown for `code` (without the "Manufacturing model, code C: " part).
    static std::string GetCodeText(int code);

    // The codes reported since the last clear, oldest first.
    static std::vector<int> GetReportedCodes();
    static void ClearReportedCodes();
};
