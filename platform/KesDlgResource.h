// KesDlgResource: the texts of widgets, read from resource files.
//
// A widget takes its title, help and short help, when it is created, from the resource file
// named by the nearest of its ancestors that names one (KesDialog::GetResourceFilename(0)),
// under its identifier. A resource named NAME is read once per name (until Reload), from the
// first of:
//   - NAME.kesres in the folder named by the environment variable KES_RESOURCE_DIR, when set;
//   - NAME.kesres in share/kes beside the program's own folder (bin/../share/kes of an
//     installed package; the package names that folder KesAttributes_RESOURCE_DIR);
//   - the texts built into the library (BuiltInText: the resource files of the library's
//     resources/ folder, as they were when it was built).
// A file found replaces the built-in texts of its name whole. So a program finds its texts
// wherever it and the library are installed or moved, and a host translates or rewords them
// with a file of its own. A file that is unusable (see Format) is said on standard error and the
// next source is used. A name found nowhere, with no built-in texts, is said once on standard
// error; its widgets keep what their owner sets.
//
// Format: UTF-8 text, one text a line, `IDENTIFIER.PROPERTY = TEXT`, where PROPERTY is one of
// title, help and shorthelp; blanks around the identifier, the property and the text are
// dropped; empty lines and lines that start with '#' are comments. A line of any other shape,
// or an unknown property, makes the file unusable: standard error gets one line naming the
// file, the line number and what is wrong, and no text of that file is used.
//
// Read and cached on the dialog framework's single event thread; no lock.
#pragma once

#include "platform/KesString.h"
#include "platform/KesUnicodeString.h"

#include <map>
#include <string>
#include <string_view>

struct KesDlgResourceTexts {
    KesUnicodeString title;
    KesUnicodeString help;
    KesUnicodeString shortHelp;
};

class KesDlgResource {
public:
    using Table = std::map<std::string, KesDlgResourceTexts, std::less<>>;

    // Reads resource text in the format above into `table`. False on a bad line, with `error`
    // telling which ("line 3: expected IDENTIFIER.PROPERTY = TEXT").
    static bool Parse(std::string_view content, Table& table, std::string& error);
    // The texts of `identifier` in the resource file `name`, or null. The file is read at the
    // first call for its name.
    // The pointer stays valid until Reload.
    static const KesDlgResourceTexts* Find(const KesString& name, const KesString& identifier);
    // The texts built into the library for the resource `name`, in the format above; empty
    // when the library has none of that name.
    static std::string_view BuiltInText(const KesString& name);
    // Forgets every resource read, so that the next widget reads its file afresh (a host that
    // changed KES_RESOURCE_DIR, or a test). Widgets keep the texts they took.
    static void Reload();
};
