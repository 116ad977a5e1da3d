// KesMfgSetting: reals kept by name from one session of the host to the next (the spinner step
// of the parameterised real attribute, for instance).
//
// Who answers. ReadSetting and WriteSetting hand each call to the installed settings service
// (KesMfgSettingService); until a host installs its own, the built-in setting files described
// below answer (BuiltIn). Install returns the service it replaces; Install(nullptr) puts the
// built-in files back. The installed service is not owned: it must outlive its installation.
// For every service the statics refuse a null value and an empty key without asking it, a read
// changes the caller's value only when the service answers true, and a service that throws is
// taken as a failure (false; the caller's value untouched).
//
// The built-in setting files. Where. A setting file is one text file named after the file name
// given to the calls
// ("MFGPROG") in the settings folder: the folder named by the environment variable
// KES_SETTINGS_DIR when it is set and not empty; otherwise "kes" in the user's configuration
// folder, $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config. WriteSetting creates
// the folder (mode 0700) when it is missing; ReadSetting never creates anything. The
// environment is read at every call.
//
// Format. One setting a line, "key=value", ending with a line end; lines starting with '#' are
// comments. The key is escaped: every byte other than A-Z a-z 0-9 '.' '_' '-' is written as
// '%' and two upper-case hex digits, so blanks, '=', '%', line ends and non-ASCII characters of
// any key are stored safely and two different keys never share a line. The value is the
// shortest decimal text that reads back as exactly the same double. Lines that do not read as
// a setting are left alone (kept as they are by a write); a last line without its line end is
// taken as a torn write and ignored (and dropped by the next write). When a key occurs on
// several lines the last one counts.
//
// Safety. A write takes an exclusive lock (flock) on the companion file ".<file>.lock", reads
// the file afresh, changes or appends its line, writes the whole new content to a temporary
// file ".<file>.tmp.XXXXXX" in the same folder, flushes it to disk (fsync), renames it over the
// setting file and flushes the folder. A crash therefore leaves either the old or the new file,
// never a torn one, and two processes writing different keys at the same time both keep their
// key. Temporary files left by a crash are never read, and the next write removes them (while
// it holds the lock no other write can be using one). Reads take no lock: the rename makes
// each file they open complete.
//
// Failures never throw and never crash: the calls answer false and leave everything as it was.
// ReadSetting leaves the caller's value untouched when the folder or file is missing or
// unreadable, when the key has no line, or when its line is damaged (a value that is not a
// finite number, a bad escape). WriteSetting refuses an empty key, a null value, a value that
// is not a finite number, and a file name that is empty, starts with '.', or holds '/'. A file
// larger than kMaxFileSize is treated as unreadable (and not rewritten).
#pragma once

#include "platform/KesMfgSettingService.h"

#include <string>

class KesMfgSetting {
public:
    static constexpr long kMaxFileSize = 16L * 1024 * 1024;

    KesMfgSetting() = delete;

    // Makes `service` answer ReadSetting and WriteSetting; null puts the built-in setting files
    // back. Answers the service that answered until now (the built-in one included).
    static KesMfgSettingService* Install(KesMfgSettingService* service);
    // The service that answers now: the installed one, or the built-in setting files.
    static KesMfgSettingService* Installed();
    // The built-in setting files, whatever is installed; a host service may forward to them.
    static KesMfgSettingService* BuiltIn();

    // Puts the stored real of `key` into *value and answers true; answers false and leaves
    // *value untouched when there is none (or it cannot be read). A null value is refused.
    static bool ReadSetting(const KesUnicodeString& key, double* value, const KesString& fileName);
    // Stores *value under `key`, replacing an earlier value; answers whether it was stored.
    static bool WriteSetting(const KesUnicodeString& key, const double* value,
                             const KesString& fileName);

    // The built-in files' settings folder as it would be used now; empty when neither
    // KES_SETTINGS_DIR, an absolute XDG_CONFIG_HOME nor HOME is set.
    static std::string GetSettingsFolder();
    // The full path of a setting file; empty when there is no folder or the name is refused.
    static std::string GetSettingPath(const KesString& fileName);
};
