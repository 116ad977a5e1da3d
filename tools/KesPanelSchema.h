// KesPanelSchema: the JSON Schema of panel files (draft 2020-12), made from the attribute
// catalogue: every class with its keys, their types, limits, defaults and meaning. kes-panel
// writes it (--write-schema) into docs/panel.schema.json, and CTest compares the committed file
// with what the code writes. What a schema cannot say (cross-references, meaning) the reader
// checks: docs/panel-files.md lists it.
#pragma once

#include <string>

class KesPanelSchema {
public:
    // The schema as text: two-space indentation, a final newline.
    static std::string Write();
};
