// KesMfgSettingService: what answers the calls of the settings service (KesMfgSetting).
//
// The attributes call KesMfgSetting::ReadSetting and WriteSetting (the spinner step of the
// parameterised real); the statics hand each call to the service installed with
// KesMfgSetting::Install, and to the built-in setting files (KesMfgSetting::BuiltIn) when no
// host installed one. A host keeps the settings in its own store by implementing these two
// operations, with KesMfgSetting's contract:
//   - ReadSetting puts the stored real of `key` in the setting file `fileName` into *value and
//     answers true; it answers false and leaves *value untouched when there is none;
//   - WriteSetting stores *value under `key`, so that the next ReadSetting answers it, and
//     answers whether it was stored.
// The statics refuse a null value and an empty key before the service is asked.
//
// A service that throws is a failure like any other: the static answers false and a read leaves
// the caller's value as it was (see KesMfgSetting.h).
//
// Called on the dialog framework's single event thread only.
#pragma once

#include "platform/KesString.h"
#include "platform/KesUnicodeString.h"

class KesMfgSettingService {
public:
    virtual ~KesMfgSettingService() = default;

    virtual bool ReadSetting(const KesUnicodeString& key, double* value,
                             const KesString& fileName) = 0;
    virtual bool WriteSetting(const KesUnicodeString& key, const double* value,
                              const KesString& fileName) = 0;

protected:
    KesMfgSettingService() = default;
    KesMfgSettingService(const KesMfgSettingService&) = default;
    KesMfgSettingService& operator=(const KesMfgSettingService&) = default;
};
