// KesHostDocument: kes-host's part document (docs/host-documents.md): the part's model
// parameters and its operations, each naming its panel file and holding the values stored with
// it, in the values-file format (docs/values-files.md).
//
// The document is plain data: the model service (KesHostModelService) answers the attributes'
// model calls from its parameters, the operation dialog pushes an operation's values into its
// panel and collects them back. Reading is strict and all or nothing: a text that is not a part
// document gives one message naming the file, the line and what is wrong, and no document.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// A parameter of the part's manufacturing model: its description (type code 0 boolean,
// 1 integer, 2 real, 3 text; kind; three unit codes) and its current values.
struct KesHostParameter {
    std::string name;
    int type = 2;
    int kind = 1;
    int units[3] = {0, 0, 0};
    std::vector<int> integers;
    std::vector<double> reals;
    std::vector<std::string> texts;

    bool operator==(const KesHostParameter& other) const;
    // The value shown in the parameter table: the first value of the parameter's type ("" when
    // there is none), a real in the shortest text that reads back the same.
    std::string ValueText() const;
    // Sets the values of the parameter's type from a text as typed into the table (an integer,
    // a real, 0 or 1, any text); false, changing nothing, when the text is not one.
    bool SetValueText(const std::string& text);
    // "1 2 0"; SetUnitsText takes three integers separated by blanks, else refuses.
    std::string UnitsText() const;
    bool SetUnitsText(const std::string& text);
    // The model's rule for names: 1 to 72 characters, no blank, no control character.
    static bool IsWellFormedName(const std::string& name);
    // "boolean", "integer", "real", "text".
    static const char* TypeName(int type);
};

// An operation of the part: a name, its panel file (a path relative to the document's folder,
// or absolute) and the values stored with it, as a values file's text ("" when none yet).
struct KesHostOperation {
    std::string name;
    std::string panel;
    std::string values;

    bool operator==(const KesHostOperation& other) const = default;
};

struct KesHostDocument {
    // The largest document read, in bytes.
    static constexpr size_t kMaxFileSize = 16u * 1024u * 1024u;

    std::vector<KesHostParameter> parameters;
    std::vector<KesHostOperation> operations;

    bool operator==(const KesHostDocument& other) const = default;

    // The parameter of that name exactly; null when none.
    KesHostParameter* Find(const std::string& name);
    const KesHostParameter* Find(const std::string& name) const;

    // The document as JSON text: two-space indentation, a final newline; each operation's
    // values embedded as the values file they are.
    std::string Write() const;
    // Reads `text`; `fileName` only names it in messages. Returns "" and fills `document`, or
    // "FILE:LINE: what is wrong" and leaves `document` as it was.
    static std::string Parse(std::string_view text, const std::string& fileName,
                             KesHostDocument& document);
    // The same for the file at `path` ("FILE: cannot read the file", ... when it cannot be read).
    static std::string Read(const std::string& path, KesHostDocument& document);
};
