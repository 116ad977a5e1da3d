// KesMfgBaseGIIService: what answers the calls of the error-reporting service (KesMfgBaseGII).
//
// The attributes call KesMfgBaseGII::SetGIIError(code, 0) to show a code to the user; the static
// hands the call to the service installed with KesMfgBaseGII::Install, and to the built-in one
// (KesMfgBaseGII::BuiltIn: a line on standard error, and the code recorded) when no host
// installed one. A host shows the code its own way (a message pane, its status bar), and finds
// the text of a code with KesMfgBaseGII::GetCodeText.
//
// A service that throws does not lose the code: the static catches the exception and hands the
// code to the built-in service instead (see KesMfgBaseGII.h).
//
// Called on the dialog framework's single event thread only.
#pragma once

class KesMfgBaseGIIService {
public:
    virtual ~KesMfgBaseGIIService() = default;

    // Shows `code` to the user. `reserved` is always 0.
    virtual void SetGIIError(int code, int reserved) = 0;

protected:
    KesMfgBaseGIIService() = default;
    KesMfgBaseGIIService(const KesMfgBaseGIIService&) = default;
    KesMfgBaseGIIService& operator=(const KesMfgBaseGIIService&) = default;
};
