// KesPanelFile: panel files, a panel described in JSON (docs/panel-files.md), read into a
// KesPanelDescription and written from one.
//
// Reading is strict: text that is not JSON, not valid UTF-8, or over 16 MiB; a key given twice
// in one object; an unknown key (a typo is never ignored: the closest known key is named); a
// missing required key; a value of the wrong type; an integer outside the int range; a real
// that is not finite; an unknown class; and every error of KesPanelDescription::Review are
// refused. The message names the file, the line and column, the attribute and the key:
//   "drill.json:3:14: not JSON: ..."
//   "drill.json:9:5: attribute 2 'Peck_Depth', key 'minimun': unknown key (did you mean
//    'minimum'?)"
// A file that was refused gives no description at all. The review's warnings (what the library
// mends but the author probably did not mean) come back one a line, in the same form:
//   "drill.json:9:5: warning: attribute 2 'Peck_Depth', key 'minimum': ..."
#pragma once

#include "tools/KesPanelDescription.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class KesPanelFile {
public:
    // The largest panel file read, in bytes.
    static constexpr std::uintmax_t kMaxFileSize = 16u * 1024u * 1024u;

    // Reads and checks the file at `path`. Returns "" and fills `description` on success; the
    // message otherwise (`description` is then left as it was).
    static std::string Read(const std::string& path, KesPanelDescription& description);
    // The same, with the warnings in `warnings`; `strict` refuses a file with a warning.
    static std::string Read(const std::string& path, KesPanelDescription& description,
                            std::vector<std::string>& warnings, bool strict);
    // The same for text already in memory; `fileName` only names it in messages.
    static std::string Parse(std::string_view text, const std::string& fileName,
                             KesPanelDescription& description);
    static std::string Parse(std::string_view text, const std::string& fileName,
                             KesPanelDescription& description, std::vector<std::string>& warnings,
                             bool strict);

    // The description as a panel file ("$schema" first when the description names one): keys
    // in the order of the catalogue's row, arguments left
    // out stay left out, lists of numbers or texts on one line, two-space indentation, a final
    // newline. Reading it back gives the same description.
    static std::string Write(const KesPanelDescription& description);
};
