// KesValuesFile: values files, the values of a panel's attributes in JSON (docs/values-files.md,
// docs/values.schema.json), written from any panel and read into any panel.
//
// Writing reads each attribute through GetAttValue: its type and values (a bound real as its
// parameter's name, a link as the records it relays), and the option state of an optional
// attribute. An attribute whose value is still to be given has no entry.
//
// Reading pushes each entry into the attribute of that name as a program would: SetOptionalCheck
// and SetAttValue with notification, in the order of the file, so the frame hears each and the
// impacts follow. Then each attribute is read back, and what was not taken as written is
// reported, one line per attribute and key:
//   "FILE: attribute 'NAME', key 'name': no such attribute in the panel"
//   "FILE: attribute 'NAME', key 'type': the attribute takes real values, not integer"
//   "FILE: attribute 'NAME', key 'values': the attribute takes 1 value, not 2"
//   "FILE: attribute 'NAME', key 'values': normalised to [50] (clamped, or not among the
//    choices)"
// A file that is not a values file (not JSON, over 16 MiB, not valid UTF-8, an unknown key, a
// key of the wrong kind, no "format": "kes-values", a version other than 1) changes nothing:
// its message names the file and, where there is one, the place.
#pragma once

#include "framework/KesMfgAttribute.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class KesValuesFile {
public:
    // The largest values file read, in bytes.
    static constexpr std::uintmax_t kMaxFileSize = 16u * 1024u * 1024u;

    struct Result {
        std::string error;               // not a values file: why (then nothing was read)
        std::vector<std::string> report; // what was not taken as written, in file order
        bool IsValuesFile() const { return error.empty(); }
    };

    // The values of `attributes` as a values file: two-space indentation, a final newline;
    // `panel` (the panel's title) is written for the reader, not checked.
    static std::string Write(const std::vector<KesMfgAttribute*>& attributes,
                             const std::string& panel);
    // Reads the file at `path` into `attributes`.
    static Result Read(const std::string& path, const std::vector<KesMfgAttribute*>& attributes);
    // The same for text in memory; `fileName` only names it in messages.
    static Result Parse(std::string_view text, const std::string& fileName,
                        const std::vector<KesMfgAttribute*>& attributes);
};
