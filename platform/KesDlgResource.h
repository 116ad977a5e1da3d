// KesDlgResource: the texts of widgets, read from resource files.
//
// A widget takes its title, help and short help, when it is created, from the resource file
// named by the nearest of its ancestors that names one (KesDialog::GetResourceFilename(0)),
// under its identifier. A resource named NAME is the file NAME.kesres, looked for once per name
// in, in turn:
//   - the folder named by the environment variable KES_RESOURCE_DIR, when it is set;
//   - share/kes beside the program's own folder (bin/../share/kes of an installed package, and
//     the build tree, where the build copies the resources);
//   - the data folder the library was configured to be installed into (share/kes).
// A name found nowhere gives no texts: the widgets keep what their owner sets.
//
// Format: UTF-8 text, one text a line, `IDENTIFIER.PROPERTY = TEXT`, where PROPERTY is one of
// title, help and shorthelp; blanks around the identifier, the property and the text are
// dropped; empty lines and lines that start with '#' are comments. A line of any other shape,
// or an unknown property, makes the file unusable: standard error gets one line naming the
// file, the line number and what is wrong, and no text of that file is used.
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
    static const KesDlgResourceTexts* Find(const KesString& name, const KesString& identifier);
};
