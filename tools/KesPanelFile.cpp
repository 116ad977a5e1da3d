// KesPanelFile: panel files read into descriptions and written from them, with nlohmann/json.
//
//   1. Values of the file, by kind
//   2. Reading
//   3. Writing
#include "tools/KesPanelFile.h"

#include "tools/KesAttributeCatalogue.h"

#include <nlohmann/json.hpp>

#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <unordered_map>

namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;
using Kind = KesPanelValueKind;

// Where the reader is in the file, as the tokens of a JSON pointer ("attributes", "2",
// "minimum"): a fault is placed at the deepest of them the file holds.
thread_local std::vector<std::string> gPath;

// One more token of the path while a value is read.
class Step {
public:
    explicit Step(std::string token) { gPath.push_back(std::move(token)); }
    explicit Step(size_t index) : Step(std::to_string(index)) {}
    ~Step() { gPath.pop_back(); }
    Step(const Step&) = delete;
    Step& operator=(const Step&) = delete;
};

// A fault found while reading: the message so far, without the file name, and where.
struct Fault {
    std::string message;
    std::vector<std::string> path;
};

[[noreturn]] void Fail(const std::string& message) {
    throw Fault{message, gPath};
}

const char* const kTypeNames[] = {"boolean", "integer", "real", "text"};

// An unknown key, with the closest of the keys the object takes.
[[noreturn]] void FailUnknown(const std::string& what, const std::string& key,
                              const std::vector<std::string>& known) {
    Step step(key);
    Fail(what + "key '" + key + "': unknown key" + KesDidYouMean(key, known));
}

// -------------------------------------------------------------------------------------------
// 1. Values of the file, by kind
// -------------------------------------------------------------------------------------------

// A value as a message shows it: lists and objects by their kind only (they may nest deeper
// than a recursive print could go), long texts cut.
std::string Shown(const Json& value) {
    if (value.is_array()) {
        return "a list";
    }
    if (value.is_object()) {
        return "an object";
    }
    const std::string text = value.dump(-1, ' ', false, Json::error_handler_t::replace);
    if (text.size() <= 40) {
        return text;
    }
    size_t cut = 36;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut; // never split a character
    }
    return text.substr(0, cut) + "...";
}

// A whole number of the int range, written 2 or 2.0: a number's value counts, as for the
// schema's "integer".
int ToInteger(const Json& value, const std::string& what) {
    if (value.is_number_unsigned()) {
        if (value.get<std::uint64_t>() > static_cast<std::uint64_t>(INT_MAX)) {
            Fail(what + ": " + Shown(value) + " is out of the int range");
        }
        return static_cast<int>(value.get<std::uint64_t>());
    }
    if (value.is_number_integer()) {
        const std::int64_t number = value.get<std::int64_t>();
        if (number < INT_MIN || number > INT_MAX) {
            Fail(what + ": " + Shown(value) + " is out of the int range");
        }
        return static_cast<int>(number);
    }
    if (value.is_number_float()) {
        const double number = value.get<double>();
        if (std::isfinite(number) && std::trunc(number) == number) {
            if (number < INT_MIN || number > INT_MAX) {
                Fail(what + ": " + Shown(value) + " is out of the int range");
            }
            return static_cast<int>(number);
        }
    }
    Fail(what + ": expected an integer, not " + Shown(value));
}

double ToReal(const Json& value, const std::string& what) {
    if (!value.is_number()) {
        Fail(what + ": expected a number, not " + Shown(value));
    }
    const double number = value.get<double>();
    if (!std::isfinite(number)) {
        Fail(what + ": not a finite number");
    }
    return number;
}

std::string ToText(const Json& value, const std::string& what) {
    if (!value.is_string()) {
        Fail(what + ": expected a text, not " + Shown(value));
    }
    return value.get<std::string>();
}

template <class Convert> auto ToList(const Json& value, const std::string& what, Convert convert) {
    if (!value.is_array()) {
        Fail(what + ": expected a list, not " + Shown(value));
    }
    std::vector<decltype(convert(value, what))> list;
    list.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        Step step(i);
        list.push_back(convert(value[i], what + ", item " + std::to_string(i + 1)));
    }
    return list;
}

// A boolean held as 0 and 1, written true or false, 0 or 1.
int ToTruth(const Json& value, const std::string& what) {
    return value.is_boolean() ? (value.get<bool>() ? 1 : 0) : ToInteger(value, what);
}

// A value of `kind`; `truth`: a boolean held as 0 and 1 (an Integer or Integers key), which may
// be written true and false.
KesPanelValue ToValue(const Json& value, Kind kind, bool truth, const std::string& what) {
    switch (kind) {
    case Kind::Flag:
        if (value.is_number() && (value == 0 || value == 1)) {
            return value == 1;
        }
        if (!value.is_boolean()) {
            Fail(what + ": expected true or false (or 1 or 0), not " + Shown(value));
        }
        return value.get<bool>();
    case Kind::Integer:
        return truth ? ToTruth(value, what) : ToInteger(value, what);
    case Kind::Real:
        return ToReal(value, what);
    case Kind::Text:
        return ToText(value, what);
    case Kind::Integers:
        return ToList(value, what, truth ? ToTruth : ToInteger);
    case Kind::Reals:
        return ToList(value, what, ToReal);
    case Kind::Texts:
        return ToList(value, what, ToText);
    }
    Fail(what + ": unknown kind");
}

const Json& ObjectOf(const Json& value, const std::string& what) {
    if (!value.is_object()) {
        Fail(what + ": expected an object, not " + Shown(value));
    }
    return value;
}

// Every key of `object` among `known` (so that the typo of a required key is named as such),
// then the required ones present.
void CheckKeys(const Json& object, const std::vector<std::string>& known,
               std::initializer_list<const char*> required, const std::string& what) {
    for (const auto& [key, value] : object.items()) {
        if (std::find(known.begin(), known.end(), key) == known.end()) {
            FailUnknown(what, key, known);
        }
    }
    for (const char* key : required) {
        if (!object.contains(key)) {
            Fail(what + "key '" + key + "' is required");
        }
    }
}

// -------------------------------------------------------------------------------------------
// 2. Reading
// -------------------------------------------------------------------------------------------

KesPanelParameter ReadParameter(const Json& object) {
    ObjectOf(object, "the model parameter");
    CheckKeys(object, {"name", "type", "kind", "units", "ints", "reals", "texts"}, {"name", "type"},
              "");
    KesPanelParameter parameter;
    for (const auto& [key, value] : object.items()) {
        const std::string what = "key '" + key + "'";
        Step step(key);
        if (key == "name") {
            parameter.name = ToText(value, what);
        } else if (key == "type") {
            parameter.type = ToInteger(value, what);
        } else if (key == "kind") {
            parameter.kind = ToInteger(value, what);
        } else if (key == "units") {
            const std::vector<int> units = ToList(value, what, ToInteger);
            if (units.size() != 3) {
                Fail(what + ": three unit codes");
            }
            std::copy(units.begin(), units.end(), parameter.units);
        } else if (key == "ints") {
            parameter.integers = ToList(value, what, ToInteger);
        } else if (key == "reals") {
            parameter.reals = ToList(value, what, ToReal);
        } else {
            parameter.texts = ToList(value, what, ToText);
        }
    }
    return parameter;
}

KesPanelImpacts ReadImpacts(const Json& object, Kind kind) {
    ObjectOf(object, "key 'impacts'");
    CheckKeys(object, {"attributes", "impactValues", "sensitivities"},
              {"attributes", "impactValues", "sensitivities"}, "key 'impacts', ");
    KesPanelImpacts impacts;
    for (const auto& [key, value] : object.items()) {
        const std::string what = "key 'impacts." + key + "'";
        Step step(key);
        if (key == "attributes") {
            impacts.attributes = ToList(value, what, ToText);
        } else if (key == "impactValues" && kind == Kind::Texts) {
            impacts.textValues = ToList(value, what, ToText);
        } else if (key == "impactValues") {
            impacts.integerValues = ToList(value, what, ToInteger);
        } else {
            impacts.sensitivities = ToList(value, what, [](const Json& row, const std::string& w) {
                return ToList(row, w, ToInteger);
            });
        }
    }
    return impacts;
}

KesPanelRecord ReadRecord(const Json& object, const std::string& what) {
    ObjectOf(object, what);
    CheckKeys(object, {"name", "type", "values", "increment"}, {"name", "type", "values"},
              what + ", ");
    KesPanelRecord record;
    {
        Step step("type");
        const std::string type = ToText(object["type"], what + ", key 'type'");
        const auto* found = std::find(std::begin(kTypeNames), std::end(kTypeNames), type);
        if (found == std::end(kTypeNames)) {
            Fail(what + ", key 'type': boolean, integer, real or text, not '" + type + "'");
        }
        record.typeCode = static_cast<int>(found - std::begin(kTypeNames));
    }
    for (const auto& [key, value] : object.items()) {
        const std::string where = what + ", key '" + key + "'";
        Step step(key);
        if (key == "name") {
            record.name = ToText(value, where);
        } else if (key == "values" && record.typeCode == 2) {
            record.reals = ToList(value, where, ToReal);
        } else if (key == "values" && record.typeCode == 3) {
            record.texts = ToList(value, where, ToText);
        } else if (key == "values" && record.typeCode == 0) {
            record.integers = ToList(value, where, ToTruth);
        } else if (key == "values") {
            record.integers = ToList(value, where, ToInteger);
        } else if (key == "increment") {
            record.increment = ToReal(value, where);
        }
    }
    return record;
}

KesPanelAttributeDescription ReadAttribute(const Json& object, bool inSubPanel);

std::string NameIn(const Json& object);

// A link's sub-panel: a title and attributes, read as a panel's; their faults placed inside.
std::shared_ptr<const KesPanelDescription> ReadSubPanel(const Json& object) {
    ObjectOf(object, "key 'subPanel'");
    CheckKeys(object, {"title", "attributes"}, {"title", "attributes"}, "key 'subPanel', ");
    auto panel = std::make_shared<KesPanelDescription>();
    for (const auto& [key, value] : object.items()) {
        Step step(key);
        if (key == "title") {
            panel->title = ToText(value, "key 'subPanel.title'");
            continue;
        }
        if (!value.is_array()) {
            Fail("key 'subPanel.attributes': expected a list, not " + Shown(value));
        }
        for (size_t i = 0; i < value.size(); ++i) {
            Step item(i);
            try {
                panel->attributes.push_back(ReadAttribute(value[i], true));
            } catch (Fault& fault) {
                fault.message = "sub-panel attribute " + std::to_string(i + 1) + " '" +
                                NameIn(value[i]) + "', " + fault.message;
                throw;
            }
        }
    }
    return panel;
}

KesPanelAttributeDescription ReadAttribute(const Json& object, bool inSubPanel) {
    ObjectOf(object, "an attribute");
    KesPanelAttributeDescription attribute;
    if (!object.contains("class")) {
        Fail("key 'class' is required");
    }
    const KesCatalogueRow* row = nullptr;
    {
        Step step("class");
        attribute.className = ToText(object["class"], "key 'class'");
        row = KesAttributeCatalogue::Find(attribute.className);
        if (row == nullptr) {
            std::vector<std::string> classes;
            for (const KesCatalogueRow& known : KesAttributeCatalogue::Rows()) {
                classes.push_back(known.className);
            }
            Fail("key 'class': unknown class '" + attribute.className + "'" +
                 KesDidYouMean(attribute.className, classes));
        }
    }
    std::vector<std::string> known = {"class"};
    for (const KesCatalogueKey& key : row->keys) {
        known.push_back(key.key);
    }
    if (row->impactKind) {
        known.push_back("impacts");
    }
    if (row->relays) {
        known.push_back("relays");
        known.push_back("subPanel");
    }
    CheckKeys(object, known, {}, "");
    for (const auto& [key, value] : object.items()) {
        const std::string what = "key '" + key + "'";
        Step step(key);
        if (key == "class") {
            continue;
        }
        if (key == "impacts") {
            attribute.impacts = ReadImpacts(value, *row->impactKind);
        } else if (key == "subPanel" && inSubPanel) {
            // One level: a sub-panel's own links relay, they open nothing further.
            Fail("key 'subPanel': a link of a sub-panel opens no sub-panel of its own");
        } else if (key == "subPanel") {
            attribute.subPanel = ReadSubPanel(value);
        } else if (key == "relays") {
            attribute.relays = ToList(value, what, [](const Json& relay, const std::string& w) {
                return ToList(relay, w, ReadRecord);
            });
        } else {
            const KesCatalogueKey* entry = row->Key(key);
            attribute.arguments.emplace_back(key, ToValue(value, entry->kind, entry->truth, what));
        }
    }
    return attribute;
}

// The name of attribute `object`, when it has one, for messages.
std::string NameIn(const Json& object) {
    return object.is_object() && object.contains("name") && object["name"].is_string()
               ? object["name"].get<std::string>()
               : std::string();
}

KesPanelDescription ReadPanel(const Json& root) {
    ObjectOf(root, "the file");
    CheckKeys(root, {"$schema", "title", "modelParameters", "attributes"}, {"title", "attributes"},
              "");
    KesPanelDescription description;
    for (const auto& [key, value] : root.items()) {
        Step step(key);
        if (key == "$schema") {
            description.schema = ToText(value, "key '$schema'");
        } else if (key == "title") {
            description.title = ToText(value, "key 'title'");
        } else {
            if (!value.is_array()) {
                Fail("key '" + key + "': expected a list, not " + Shown(value));
            }
            const bool attributes = key == "attributes";
            for (size_t i = 0; i < value.size(); ++i) {
                Step item(i);
                try {
                    if (attributes) {
                        description.attributes.push_back(ReadAttribute(value[i], false));
                    } else {
                        description.modelParameters.push_back(ReadParameter(value[i]));
                    }
                } catch (Fault& fault) {
                    fault.message = (attributes ? "attribute " : "model parameter ") +
                                    std::to_string(i + 1) + " '" + NameIn(value[i]) + "', " +
                                    fault.message;
                    throw;
                }
            }
        }
    }
    return description;
}

// Line and column (in characters, both from 1) of the byte at 0-based `offset`, as "3:14".
std::string Place(std::string_view text, size_t offset) {
    offset = std::min(offset, text.size());
    size_t line = 1;
    size_t lineStart = 0;
    for (size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    size_t column = 1;
    for (size_t i = lineStart; i < offset; ++i) {
        column += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    }
    return std::to_string(line) + ":" + std::to_string(column);
}

// The parser's own words, without its exception prefix and its byte-based place.
std::string ParserWords(const std::string& what) {
    const size_t column = what.find(", column ");
    const size_t colon = column == std::string::npos ? what.find("] ") : what.find(": ", column);
    return colon == std::string::npos ? what : what.substr(colon + 2);
}

// Where the keys and list items of a well-formed file begin, by path, down to the depth the
// reader goes; and the first key given twice in one object, at any depth. The places are only
// wanted for a finding: a file read without one is scanned once for keys given twice, and the
// places are recorded by a second scan on the first Find.
class Places {
public:
    static constexpr size_t kDepth = 8;

    explicit Places(std::string_view text) : text_(text) { Scan(); }

    // The offset of the deepest token of `path` the file holds; npos when none.
    size_t Find(std::vector<std::string> path) const {
        if (!recorded_) {
            Places recording(text_, true);
            offsets_ = std::move(recording.offsets_);
            recorded_ = true;
        }
        while (!path.empty()) {
            const auto found = offsets_.find(Pointer(path));
            if (found != offsets_.end()) {
                return found->second;
            }
            path.pop_back();
        }
        return std::string_view::npos;
    }

    const std::vector<std::string>& TwicePath() const { return twicePath_; }
    size_t TwiceAt() const { return twiceAt_; }

private:
    struct Open {
        bool object;
        bool expectKey = true;
        size_t items = 0;
        std::set<std::string> keys;
    };

    static std::string Pointer(const std::vector<std::string>& path) {
        std::string pointer;
        for (const std::string& token : path) {
            pointer += '\0' + token; // no key holds a NUL byte that the parser accepted raw
        }
        return pointer;
    }

    // A value begins at `at`: an item of a list gets its token and its place.
    void BeginValue(size_t at) {
        if (!open_.empty() && !open_.back().object) {
            path_.push_back(std::to_string(open_.back().items++));
            Record(at);
        }
    }
    // A value ended: its token goes (an item's, or its key's).
    void EndValue() {
        if (open_.empty()) {
            return;
        }
        if (open_.back().object) {
            open_.back().expectKey = true;
        }
        if (!path_.empty()) {
            path_.pop_back();
        }
    }
    Places(std::string_view text, bool record) : text_(text), recorded_(record) { Scan(); }

    void Record(size_t at) {
        if (recorded_ && path_.size() <= kDepth) {
            offsets_.emplace(Pointer(path_), at);
        }
    }

    // Past the closing quote of the string opening at `at`.
    size_t StringEnd(size_t at) const {
        size_t i = at + 1;
        while (i < text_.size() && text_[i] != '"') {
            i += text_[i] == '\\' ? 2 : 1;
        }
        return std::min(i + 1, text_.size());
    }

    // Any bytes are safe: a closing bracket with none open, a key that does not decode and a
    // text cut short are passed over (the parser has refused such a file before it is placed).
    void Scan() {
        size_t i = text_.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0; // the parser skips a BOM
        while (i < text_.size()) {
            const char c = text_[i];
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ',' || c == ':') {
                ++i;
            } else if (c == '"' && !open_.empty() && open_.back().object &&
                       open_.back().expectKey) {
                const size_t end = StringEnd(i);
                std::string key(end >= i + 2 ? text_.substr(i + 1, end - i - 2) : "");
                if (key.find('\\') != std::string::npos) {
                    const Json decoded = Json::parse(text_.substr(i, end - i), nullptr, false);
                    key = decoded.is_string() ? decoded.get<std::string>() : key;
                }
                path_.push_back(key);
                if (!open_.back().keys.insert(key).second && twiceAt_ == std::string_view::npos) {
                    twiceAt_ = i;
                    twicePath_ = path_;
                }
                Record(i);
                open_.back().expectKey = false;
                i = end;
            } else if (c == '{' || c == '[') {
                BeginValue(i);
                open_.push_back(Open{c == '{', true, 0, {}});
                ++i;
            } else if (c == '}' || c == ']') {
                if (!open_.empty()) {
                    open_.pop_back();
                    EndValue();
                }
                ++i;
            } else {
                BeginValue(i);
                i = c == '"' ? StringEnd(i)
                             : std::min(text_.find_first_of(",]}[{\" \t\n\r", i), text_.size());
                EndValue();
            }
        }
    }

    std::string_view text_;
    std::vector<Open> open_;
    std::vector<std::string> path_;
    mutable bool recorded_ = false;                           // offsets_ holds the places
    mutable std::unordered_map<std::string, size_t> offsets_; // filled by the first Find
    std::vector<std::string> twicePath_;
    size_t twiceAt_ = std::string_view::npos;
};

// The path of a finding of the description's review.
std::vector<std::string> PathOf(const KesPanelFinding& finding) {
    std::vector<std::string> path;
    if (finding.attribute >= 0) {
        path = {"attributes", std::to_string(finding.attribute)};
        if (finding.subAttribute >= 0) {
            path.insert(path.end(),
                        {"subPanel", "attributes", std::to_string(finding.subAttribute)});
        }
    } else if (finding.parameter >= 0) {
        path = {"modelParameters", std::to_string(finding.parameter)};
    }
    size_t start = 0;
    while (!finding.key.empty()) {
        const size_t dot = finding.key.find('.', start);
        path.push_back(finding.key.substr(start, dot - start));
        if (dot == std::string::npos) {
            break;
        }
        start = dot + 1;
    }
    if (finding.item >= 0) {
        path.push_back(std::to_string(finding.item));
    }
    return path;
}

// "attribute 2 'Depth', key 'minimum'" for a path of the file.
std::string Described(const Json& root, const std::vector<std::string>& path) {
    std::string text;
    size_t start = 0;
    if (path.size() >= 2 && (path[0] == "attributes" || path[0] == "modelParameters") &&
        root.contains(path[0]) && root[path[0]].is_array()) {
        const Json& list = root[path[0]];
        const size_t index = std::stoul(path[1]);
        text = (path[0] == "attributes" ? "attribute " : "model parameter ") +
               std::to_string(index + 1) + " '" +
               (index < list.size() ? NameIn(list[index]) : std::string()) + "', ";
        start = 2;
    }
    std::string key;
    for (size_t i = start; i < path.size(); ++i) {
        key += (key.empty() ? "" : ".") + path[i];
    }
    return text + "key '" + key + "'";
}

} // namespace

std::string KesPanelFile::Parse(std::string_view text, const std::string& fileName,
                                KesPanelDescription& description) {
    std::vector<std::string> warnings;
    return Parse(text, fileName, description, warnings, false);
}

std::string KesPanelFile::Parse(std::string_view text, const std::string& fileName,
                                KesPanelDescription& description,
                                std::vector<std::string>& warnings, bool strict) {
    if (text.size() > kMaxFileSize) {
        return fileName + ": the file is larger than 16 MiB";
    }
    // The parser takes a NUL byte for the end of the text: what follows would go unread. A
    // NUL is what a crash or a full disk leaves in a file; the file is damaged.
    if (const size_t nul = text.find('\0'); nul != std::string_view::npos) {
        return fileName + ":" + Place(text, nul) + ": not JSON: a NUL byte, the file is damaged";
    }
    Json root;
    try {
        root = Json::parse(text.begin(), text.end());
    } catch (const Json::parse_error& error) {
        // The parser counts bytes from 1 up to the last one it read.
        return fileName + ":" + Place(text, error.byte == 0 ? 0 : error.byte - 1) +
               ": not JSON: " + ParserWords(error.what());
    } catch (const Json::out_of_range& error) {
        // A number too large for a real: placed where its text first occurs.
        const std::string words = ParserWords(error.what());
        const size_t quote = words.find('\'');
        const std::string number =
            quote == std::string::npos ? "" : words.substr(quote + 1, words.size() - quote - 2);
        const size_t at = number.empty() ? std::string_view::npos : text.find(number);
        return fileName + ":" + Place(text, at == std::string_view::npos ? 0 : at) + ": " + number +
               " is not a finite number";
    } catch (const Json::exception& error) {
        return fileName + ": not JSON: " + ParserWords(error.what());
    }
    const Places places(text);
    const auto placed = [&](const std::vector<std::string>& path) {
        const size_t at = places.Find(path);
        return fileName + (at == std::string_view::npos ? "" : ":" + Place(text, at)) + ": ";
    };
    // Keys given twice in one object would silently keep the last: they are refused.
    if (places.TwiceAt() != std::string_view::npos) {
        return fileName + ":" + Place(text, places.TwiceAt()) + ": " +
               Described(root, places.TwicePath()) + " is given twice in one object";
    }
    KesPanelDescription read;
    try {
        gPath.clear();
        read = ReadPanel(root);
    } catch (const Fault& fault) {
        return placed(fault.path) + fault.message;
    }
    std::vector<std::string> found;
    for (const KesPanelFinding& finding : read.Review()) {
        if (!finding.warning) {
            return placed(PathOf(finding)) + read.Describe(finding);
        }
        if (strict) {
            return placed(PathOf(finding)) + read.Describe(finding) +
                   " (a warning, refused as strict)";
        }
        found.push_back(placed(PathOf(finding)) + "warning: " + read.Describe(finding));
    }
    description = std::move(read);
    warnings = std::move(found);
    return "";
}

std::string KesPanelFile::Read(const std::string& path, KesPanelDescription& description) {
    std::vector<std::string> warnings;
    return Read(path, description, warnings, false);
}

std::string KesPanelFile::Read(const std::string& path, KesPanelDescription& description,
                               std::vector<std::string>& warnings, bool strict) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status)) {
        return path + ": no such file";
    }
    if (!std::filesystem::is_regular_file(status)) {
        return path + ": not a regular file";
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        return path + ": cannot read the file";
    }
    if (size > kMaxFileSize) {
        return path + ": the file is larger than 16 MiB";
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) {
        return path + ": cannot read the file";
    }
    return Parse(text.str(), path, description, warnings, strict);
}

// -------------------------------------------------------------------------------------------
// 3. Writing
// -------------------------------------------------------------------------------------------

namespace {

OrderedJson ToJson(const KesPanelValue& value) {
    return std::visit([](const auto& v) { return OrderedJson(v); }, value);
}

std::string Scalar(const OrderedJson& value) {
    return value.dump(-1, ' ', false, OrderedJson::error_handler_t::replace);
}

// Objects one key a line, lists of plain values on one line.
void Dump(const OrderedJson& value, const std::string& indent, std::string& out) {
    const std::string inner = indent + "  ";
    if (value.is_object() && !value.empty()) {
        out += "{\n";
        size_t i = 0;
        for (const auto& [key, item] : value.items()) {
            out += inner + Scalar(OrderedJson(key)) + ": ";
            Dump(item, inner, out);
            out += ++i < value.size() ? ",\n" : "\n";
        }
        out += indent + "}";
    } else if (value.is_array() && !value.empty()) {
        const bool flat = std::none_of(value.begin(), value.end(), [](const OrderedJson& item) {
            return item.is_structured();
        });
        out += flat ? "[" : "[\n";
        for (size_t i = 0; i < value.size(); ++i) {
            if (flat) {
                out += (i > 0 ? ", " : "") + Scalar(value[i]);
            } else {
                out += inner;
                Dump(value[i], inner, out);
                out += i + 1 < value.size() ? ",\n" : "\n";
            }
        }
        out += flat ? "]" : indent + "]";
    } else {
        out += Scalar(value);
    }
}

OrderedJson ImpactsJson(const KesPanelImpacts& impacts, Kind kind) {
    OrderedJson object;
    object["attributes"] = impacts.attributes;
    object["impactValues"] =
        kind == Kind::Texts ? OrderedJson(impacts.textValues) : OrderedJson(impacts.integerValues);
    object["sensitivities"] = impacts.sensitivities;
    return object;
}

OrderedJson RelaysJson(const std::vector<std::vector<KesPanelRecord>>& relays) {
    OrderedJson list = OrderedJson::array();
    for (const std::vector<KesPanelRecord>& relay : relays) {
        OrderedJson records = OrderedJson::array();
        for (const KesPanelRecord& record : relay) {
            OrderedJson object;
            object["name"] = record.name;
            object["type"] = kTypeNames[std::clamp(record.typeCode, 0, 3)];
            object["values"] = record.typeCode == 2   ? OrderedJson(record.reals)
                               : record.typeCode == 3 ? OrderedJson(record.texts)
                                                      : OrderedJson(record.integers);
            if (record.increment != 0.0) {
                object["increment"] = record.increment;
            }
            records.push_back(std::move(object));
        }
        list.push_back(std::move(records));
    }
    return list;
}

OrderedJson AttributesJson(const std::vector<KesPanelAttributeDescription>& attributes) {
    OrderedJson list = OrderedJson::array();
    for (const KesPanelAttributeDescription& attribute : attributes) {
        OrderedJson object;
        object["class"] = attribute.className;
        const KesCatalogueRow* row = KesAttributeCatalogue::Find(attribute.className);
        if (row != nullptr) {
            for (const KesCatalogueKey& key : row->keys) {
                if (const KesPanelValue* value = attribute.Find(key.key)) {
                    object[key.key] = ToJson(*value);
                }
            }
        }
        if (attribute.impacts && row != nullptr && row->impactKind) {
            object["impacts"] = ImpactsJson(*attribute.impacts, *row->impactKind);
        }
        if (!attribute.relays.empty()) {
            object["relays"] = RelaysJson(attribute.relays);
        }
        if (attribute.subPanel != nullptr) {
            OrderedJson subPanel;
            subPanel["title"] = attribute.subPanel->title;
            subPanel["attributes"] = AttributesJson(attribute.subPanel->attributes);
            object["subPanel"] = std::move(subPanel);
        }
        list.push_back(std::move(object));
    }
    return list;
}

} // namespace

std::string KesPanelFile::Write(const KesPanelDescription& description) {
    OrderedJson root;
    if (!description.schema.empty()) {
        root["$schema"] = description.schema;
    }
    root["title"] = description.title;
    if (!description.modelParameters.empty()) {
        OrderedJson parameters = OrderedJson::array();
        for (const KesPanelParameter& parameter : description.modelParameters) {
            OrderedJson object;
            object["name"] = parameter.name;
            object["type"] = parameter.type;
            object["kind"] = parameter.kind;
            object["units"] = {parameter.units[0], parameter.units[1], parameter.units[2]};
            if (!parameter.integers.empty()) {
                object["ints"] = parameter.integers;
            }
            if (!parameter.reals.empty()) {
                object["reals"] = parameter.reals;
            }
            if (!parameter.texts.empty()) {
                object["texts"] = parameter.texts;
            }
            parameters.push_back(std::move(object));
        }
        root["modelParameters"] = std::move(parameters);
    }
    root["attributes"] = AttributesJson(description.attributes);
    std::string out;
    Dump(root, "", out);
    return out + "\n";
}
