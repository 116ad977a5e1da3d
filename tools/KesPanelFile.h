// KesPanelFile: panel files, a panel described in JSON (docs/panel-files.md), read into a
// KesPanelDescription and written from one.
//
// Reading is strict: text that is not JSON, not valid UTF-8, or over 16 MiB; an unknown key (a
// typo is never ignored); a missing required key; a value of the wrong type; an integer outside
// the int range; a real that is not finite; an unknown class; and every fault of
// KesPanelDescription::Check are refused. The message names the file, the line and column
// (for text that is not JSON, the only faults the parser places), the attribute and the key:
//   "drill.json:3:14: not JSON: ..."
//   "drill.json: attribute 2 'Peck_Depth', key 'minimum': expected a real number"
// A file that was refused gives no description at all.
#pragma once

#include "tools/KesPanelDescription.h"

#include <cstdint>
#include <string>
#include <string_view>

class KesPanelFile {
public:
    // The largest panel file read, in bytes.
    static constexpr std::uintmax_t kMaxFileSize = 16u * 1024u * 1024u;

    // Reads and checks the file at `path`. Returns "" and fills `description` on success; the
    // message otherwise (`description` is then left as it was).
    static std::string Read(const std::string& path, KesPanelDescription& description);
    // The same for text already in memory; `fileName` only names it in messages.
    static std::string Parse(std::string_view text, const std::string& fileName,
                             KesPanelDescription& description);

    // The description as a panel file: keys in the order of the class table, arguments left
    // out stay left out, lists of numbers or texts on one line, two-space indentation, a final
    // newline. Reading it back gives the same description.
    static std::string Write(const KesPanelDescription& description);
};
