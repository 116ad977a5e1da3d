// KesValuesFile: what each attribute class takes, writing a panel's values, reading a values
// file (first its form, then each entry pushed and read back).
#include "tools/KesValuesFile.h"

#include "choice/KesMfgAttCharList.h"
#include "choice/KesMfgAttIntList.h"
#include "multi/KesMfgAttMVChar.h"
#include "multi/KesMfgAttMVCharList.h"
#include "multi/KesMfgAttMVDouble.h"
#include "multi/KesMfgAttMVInt.h"
#include "multi/KesMfgAttMVLogic.h"
#include "param/KesMfgAttDoubleParam.h"
#include "platform/KesMfgModel.h"
#include "single/KesMfgAttChar.h"
#include "single/KesMfgAttDouble.h"
#include "single/KesMfgAttInt.h"
#include "single/KesMfgAttLink.h"
#include "single/KesMfgAttLogic.h"
#include "tools/KesPanelHistory.h"

#include <nlohmann/json.hpp>

#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

using Json = nlohmann::ordered_json;

namespace {

// ---------------------------------------------------------------------------------------------
// What each class takes
// ---------------------------------------------------------------------------------------------
constexpr const char* kTypeNames[] = {"boolean", "integer", "real", "text"};

struct Takes {
    int typeCode = -1;    // -1: a link, whose values are records
    bool list = false;    // any number of values, else exactly one
    bool binding = false; // a real that may be bound to a parameter
};

template <class Attribute> bool Is(KesMfgAttribute& attribute) {
    return dynamic_cast<Attribute*>(&attribute) != nullptr;
}

Takes TakesOf(KesMfgAttribute& attribute) {
    using A = KesMfgAttribute;
    if (Is<KesMfgAttLogic>(attribute))
        return {A::kBooleanType, false, false};
    if (Is<KesMfgAttMVLogic>(attribute))
        return {A::kBooleanType, true, false};
    if (Is<KesMfgAttInt>(attribute) || Is<KesMfgAttIntList>(attribute)) {
        return {A::kIntegerType, false, false};
    }
    if (Is<KesMfgAttMVInt>(attribute))
        return {A::kIntegerType, true, false};
    if (Is<KesMfgAttDouble>(attribute))
        return {A::kRealType, false, false};
    if (Is<KesMfgAttDoubleParam>(attribute))
        return {A::kRealType, false, true};
    if (Is<KesMfgAttMVDouble>(attribute))
        return {A::kRealType, true, false};
    if (Is<KesMfgAttChar>(attribute) || Is<KesMfgAttCharList>(attribute)) {
        return {A::kTextType, false, false};
    }
    if (Is<KesMfgAttMVChar>(attribute) || Is<KesMfgAttMVCharList>(attribute)) {
        return {A::kTextType, true, false};
    }
    if (Is<KesMfgAttLink>(attribute))
        return {-1, true, false};
    // A class of another library: what its record says, any number of values.
    KesMfgValueRecords record;
    record.GetAttValue(attribute);
    return {record.typeCodes.Size() == 1 ? record.typeCodes[1] : -1, true, false};
}

std::string TrimEnd(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

// ---------------------------------------------------------------------------------------------
// Writing
// ---------------------------------------------------------------------------------------------

// A value as JSON text, on one line.
std::string Shown(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// An object or an array on one line, with a blank after each colon and comma.
std::string OneLine(const Json& value) {
    std::string text;
    if (value.is_object()) {
        for (const auto& item : value.items()) {
            text += (text.empty() ? "{" : ", ") + Json(item.key()).dump() + ": " +
                    OneLine(item.value());
        }
        return text.empty() ? "{}" : text + "}";
    }
    if (value.is_array()) {
        for (const Json& item : value) {
            text += (text.empty() ? "[" : ", ") + OneLine(item);
        }
        return text.empty() ? "[]" : text + "]";
    }
    return Shown(value);
}

// The values of one record, from the value vectors' cursors.
Json Values(const KesMfgValueRecords& records, int typeCode, int count, int& nextInt, int& nextReal,
            int& nextText) {
    Json values = Json::array();
    for (int i = 0; i < count; ++i) {
        switch (typeCode) {
        case KesMfgAttribute::kBooleanType:
            values.push_back(records.ints[nextInt++] != 0);
            break;
        case KesMfgAttribute::kIntegerType:
            values.push_back(records.ints[nextInt++]);
            break;
        case KesMfgAttribute::kRealType:
            values.push_back(records.reals[nextReal++]);
            break;
        default:
            values.push_back(records.texts[nextText++].Str());
            break;
        }
    }
    return values;
}

Json Entry(KesMfgAttribute& attribute) {
    const KesAttributeState state = KesAttributeState::Read(attribute);
    std::vector<KesMfgValueRecords::Record> records;
    if (!state.records.Split(records) || records.empty()) {
        return Json(); // still to be given: no entry
    }
    Json entry;
    entry["name"] = attribute.GetRecordName().Str();
    int nextInt = 1, nextReal = 1, nextText = 1;
    if (dynamic_cast<KesMfgAttLink*>(&attribute) != nullptr) {
        Json relayed = Json::array();
        for (const KesMfgValueRecords::Record& record : records) {
            Json item;
            item["name"] = record.name.Str();
            item["type"] = kTypeNames[record.typeCode];
            item["values"] = Values(state.records, record.typeCode, std::max(record.count, 0),
                                    nextInt, nextReal, nextText);
            relayed.push_back(std::move(item));
        }
        entry["records"] = std::move(relayed);
        return entry;
    }
    const KesMfgValueRecords::Record& record = records.front();
    entry["type"] = kTypeNames[record.typeCode];
    if (attribute.GetOptionMode() == 1) {
        entry["option"] = state.optionState != 0 ? "on" : "off";
        if (state.optionState == 0) {
            return entry;
        }
    }
    if (record.count == -1) {
        entry["parameter"] = TrimEnd(record.texts.front().Str());
    } else {
        entry["values"] =
            Values(state.records, record.typeCode, record.count, nextInt, nextReal, nextText);
        // A text field pads its text to 72 characters with blanks: the padding is not written
        // (the field pads the text read back the same way).
        if (dynamic_cast<KesMfgAttChar*>(&attribute) != nullptr && entry["values"].size() == 1) {
            entry["values"][0] = TrimEnd(entry["values"][0].get<std::string>());
        }
    }
    return entry;
}

// ---------------------------------------------------------------------------------------------
// Reading: the form of the file
// ---------------------------------------------------------------------------------------------
struct NotAValuesFile {
    std::string message;
};

[[noreturn]] void Refuse(const std::string& message) {
    throw NotAValuesFile{message};
}

// "attributes[3] 'Depth', key 'values'"
std::string Place(size_t index, const Json& entry, const std::string& key) {
    std::string place = "attribute " + std::to_string(index + 1);
    if (entry.is_object() && entry.contains("name") && entry["name"].is_string()) {
        place += " '" + entry["name"].get<std::string>() + "'";
    }
    return key.empty() ? place : place + ", key '" + key + "'";
}

int TypeCode(const Json& type, const std::string& place) {
    for (int code = 0; code < 4; ++code) {
        if (type.is_string() && type.get<std::string>() == kTypeNames[code]) {
            return code;
        }
    }
    Refuse(place + ": expected boolean, integer, real or text");
}

void CheckValues(const Json& values, int typeCode, const std::string& place) {
    if (!values.is_array()) {
        Refuse(place + ": expected an array of values");
    }
    for (const Json& value : values) {
        // Booleans as true and false, or as 1 and 0 (as value records and panel files hold them).
        const bool fits =
            typeCode == KesMfgAttribute::kBooleanType
                ? value.is_boolean() || (value.is_number_integer() && (value == 0 || value == 1))
            : typeCode == KesMfgAttribute::kIntegerType
                ? value.is_number_integer() && value >= INT_MIN && value <= INT_MAX
            : typeCode == KesMfgAttribute::kRealType ? value.is_number()
                                                     : value.is_string();
        if (!fits) {
            Refuse(place + ": " + value.dump() + " is not " +
                   (typeCode == KesMfgAttribute::kIntegerType ? "an " : "a ") +
                   kTypeNames[typeCode] +
                   (typeCode == KesMfgAttribute::kIntegerType   ? " of the int range"
                    : typeCode == KesMfgAttribute::kTextType    ? ""
                    : typeCode == KesMfgAttribute::kBooleanType ? " value (true, false, 1 or 0)"
                                                                : " value"));
        }
    }
}

void CheckKeys(const Json& object, std::initializer_list<const char*> keys,
               const std::string& place) {
    for (const auto& item : object.items()) {
        if (std::find_if(keys.begin(), keys.end(),
                         [&](const char* key) { return item.key() == key; }) == keys.end()) {
            Refuse(place + ": unknown key '" + item.key() + "'");
        }
    }
}

void CheckForm(const Json& root) {
    if (!root.is_object()) {
        Refuse("expected an object with \"format\": \"kes-values\"");
    }
    CheckKeys(root, {"$schema", "format", "version", "panel", "attributes"}, "the file");
    if (!root.contains("format") || root["format"] != "kes-values") {
        Refuse("not a values file: \"format\" must be \"kes-values\"");
    }
    if (!root.contains("version") || root["version"] != 1) {
        Refuse("key 'version': only version 1 is read");
    }
    if (root.contains("panel") && !root["panel"].is_string()) {
        Refuse("key 'panel': expected a text");
    }
    if (!root.contains("attributes") || !root["attributes"].is_array()) {
        Refuse("key 'attributes': expected an array of attributes");
    }
    const Json& attributes = root["attributes"];
    for (size_t i = 0; i < attributes.size(); ++i) {
        const Json& entry = attributes[i];
        if (!entry.is_object()) {
            Refuse(Place(i, entry, "") + ": expected an object");
        }
        CheckKeys(entry, {"name", "type", "values", "option", "parameter", "records"},
                  Place(i, entry, ""));
        if (!entry.contains("name") || !entry["name"].is_string()) {
            Refuse(Place(i, entry, "name") + ": expected the attribute's name");
        }
        if (entry.contains("records")) {
            if (entry.size() != 2 || !entry["records"].is_array()) {
                Refuse(Place(i, entry, "records") +
                       ": a link's entry holds its name and an array of records only");
            }
            for (const Json& record : entry["records"]) {
                const std::string place = Place(i, entry, "records");
                if (!record.is_object()) {
                    Refuse(place + ": expected a record object");
                }
                CheckKeys(record, {"name", "type", "values"}, place);
                if (!record.contains("name") || !record["name"].is_string() ||
                    !record.contains("type") || !record.contains("values")) {
                    Refuse(place + ": a record holds a name, a type and values");
                }
                CheckValues(record["values"], TypeCode(record["type"], place), place);
            }
            continue;
        }
        if (!entry.contains("type")) {
            Refuse(Place(i, entry, "type") + ": missing");
        }
        const int typeCode = TypeCode(entry["type"], Place(i, entry, "type"));
        const bool off = entry.contains("option") && entry["option"] == "off";
        if (entry.contains("option") && !off && entry["option"] != "on") {
            Refuse(Place(i, entry, "option") + ": expected on or off");
        }
        if (entry.contains("values")) {
            CheckValues(entry["values"], typeCode, Place(i, entry, "values"));
        }
        if (entry.contains("parameter") &&
            (!entry["parameter"].is_string() || typeCode != KesMfgAttribute::kRealType)) {
            Refuse(Place(i, entry, "parameter") + ": a real's parameter name is a text");
        }
        const int given =
            (entry.contains("values") ? 1 : 0) + (entry.contains("parameter") ? 1 : 0);
        if (given > 1 || (given == 0 && !off) || (given == 1 && off)) {
            Refuse(Place(i, entry, "") +
                   ": give values or a parameter, unless the option is off (then neither)");
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Reading: each entry pushed and read back
// ---------------------------------------------------------------------------------------------
void AppendValues(KesMfgValueRecords& records, int typeCode, const Json& values) {
    for (const Json& value : values) {
        switch (typeCode) {
        case KesMfgAttribute::kBooleanType:
            records.ints.Append(value.is_boolean() ? (value.get<bool>() ? 1 : 0)
                                                   : value.get<int>());
            break;
        case KesMfgAttribute::kIntegerType:
            records.ints.Append(value.get<int>());
            break;
        case KesMfgAttribute::kRealType:
            records.reals.Append(value.get<double>());
            break;
        default:
            records.texts.Append(KesUnicodeString(value.get<std::string>()));
            break;
        }
    }
}

// Pushes one entry into its attribute; the report lines of what was not taken as written.
void ReadEntry(const Json& entry, KesMfgAttribute& attribute, const std::string& prefix,
               std::vector<std::string>& report) {
    const Takes takes = TakesOf(attribute);
    const auto say = [&](const char* key, const std::string& what) {
        report.push_back(prefix + ", key '" + key + "': " + what);
    };
    KesAttributeState wanted;
    wanted.optionState = attribute.GetOptionState();
    const std::string name = attribute.GetRecordName().Str();
    if (entry.contains("records") != (takes.typeCode == -1)) {
        say(takes.typeCode == -1 ? "type" : "records",
            takes.typeCode == -1 ? "the attribute is a link: its values are records"
                                 : "the attribute is not a link");
        return;
    }
    if (entry.contains("records")) {
        for (const Json& record : entry["records"]) {
            const int typeCode = TypeCode(record["type"], "");
            wanted.records.names.Append(KesUnicodeString(record["name"].get<std::string>()));
            wanted.records.typeCodes.Append(typeCode);
            wanted.records.counts.Append(static_cast<int>(record["values"].size()));
            AppendValues(wanted.records, typeCode, record["values"]);
        }
        wanted.Apply(attribute);
        if (KesAttributeState::Read(attribute) != wanted) {
            say("records", "not taken as written");
        }
        return;
    }
    const int typeCode = TypeCode(entry["type"], "");
    if (typeCode != takes.typeCode) {
        say("type", std::string("the attribute takes ") + kTypeNames[takes.typeCode] +
                        " values, not " + kTypeNames[typeCode]);
        return;
    }
    if (entry.contains("option")) {
        if (attribute.GetOptionMode() != 1) {
            say("option", "the attribute is not optional");
            if (entry["option"] == "off") {
                return; // no values given
            }
        } else {
            wanted.optionState = entry["option"] == "on" ? 1 : 0;
        }
    }
    wanted.records.names.Append(KesUnicodeString(name));
    wanted.records.typeCodes.Append(typeCode);
    const char* key = "values";
    if (wanted.optionState == 0) {
        wanted.records.counts.Append(0);
    } else if (entry.contains("parameter")) {
        key = "parameter";
        if (!takes.binding) {
            say(key, "the attribute binds no parameter");
            return;
        }
        const std::string parameter = TrimEnd(entry["parameter"].get<std::string>());
        if (!parameter.empty() && !KesMfgModel::HasParameter(KesUnicodeString(parameter))) {
            say(key, "no model parameter '" + parameter + "': the attribute keeps its value");
            return;
        }
        wanted.records.counts.Append(-1);
        wanted.records.texts.Append(KesUnicodeString(entry["parameter"].get<std::string>()));
    } else if (entry.contains("values")) {
        const Json& values = entry["values"];
        if (!takes.list && values.size() != 1) {
            say(key, "the attribute takes 1 value, not " + std::to_string(values.size()));
            return;
        }
        wanted.records.counts.Append(static_cast<int>(values.size()));
        AppendValues(wanted.records, typeCode, values);
    } else {
        wanted.records.counts.Append(0);
    }
    wanted.Apply(attribute);
    const KesAttributeState taken = KesAttributeState::Read(attribute);
    if (taken.optionState != wanted.optionState) {
        say("option",
            "not taken: the attribute stays " + std::string(taken.optionState != 0 ? "on" : "off"));
        return;
    }
    if (taken.records.counts.Size() == 1 && taken.records.counts[1] == -1 && key[0] == 'p') {
        if (!(TrimEnd(taken.records.texts[1].Str()) ==
              TrimEnd(entry["parameter"].get<std::string>()))) {
            say(key, "not taken: the attribute is bound to '" +
                         TrimEnd(taken.records.texts[1].Str()) + "'");
        }
        return;
    }
    if (key[0] == 'p') {
        say(key, "not taken: no compatible parameter of that name");
        return;
    }
    // Reals compare within a few units of rounding (a unit conversion back and forth may move
    // the last digit), texts without the blanks a text field pads them with.
    bool same = taken.records.counts == wanted.records.counts &&
                taken.records.ints == wanted.records.ints &&
                taken.records.texts.Size() == wanted.records.texts.Size() &&
                taken.records.reals.Size() == wanted.records.reals.Size();
    for (int i = 1; same && i <= wanted.records.texts.Size(); ++i) {
        same = TrimEnd(taken.records.texts[i].Str()) == TrimEnd(wanted.records.texts[i].Str());
    }
    for (int i = 1; same && i <= wanted.records.reals.Size(); ++i) {
        const double a = taken.records.reals[i];
        const double b = wanted.records.reals[i];
        same = a == b || std::fabs(a - b) <= 1e-12 * std::max(std::fabs(a), std::fabs(b));
    }
    if (!same && wanted.optionState != 0) {
        const Json written = Entry(attribute);
        say(key, "normalised to " +
                     (written.contains("values") ? Shown(written["values"])
                      : written.contains("parameter")
                          ? "parameter '" + written["parameter"].get<std::string>() + "'"
                          : std::string("nothing")) +
                     " (clamped, or not among the choices)");
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// KesValuesFile
// ---------------------------------------------------------------------------------------------
std::string KesValuesFile::Write(const std::vector<KesMfgAttribute*>& attributes,
                                 const std::string& panel) {
    Json root;
    root["format"] = "kes-values";
    root["version"] = 1;
    root["panel"] = panel;
    root["attributes"] = Json::array();
    for (KesMfgAttribute* attribute : attributes) {
        Json entry = Entry(*attribute);
        if (!entry.is_null()) {
            root["attributes"].push_back(std::move(entry));
        }
    }
    // One attribute a line. Texts that are not UTF-8 cannot be JSON: their faulty bytes are
    // written as U+FFFD.
    std::string text = "{\n";
    for (const auto& item : root.items()) {
        text += "  " + Json(item.key()).dump() + ": ";
        if (item.key() != "attributes") {
            text += Shown(item.value()) + ",\n";
            continue;
        }
        text += "[";
        for (size_t i = 0; i < item.value().size(); ++i) {
            text += (i == 0 ? "\n    " : ",\n    ") + OneLine(item.value()[i]);
        }
        text += item.value().empty() ? "]\n" : "\n  ]\n";
    }
    return text + "}\n";
}

KesValuesFile::Result KesValuesFile::Read(const std::string& path,
                                          const std::vector<KesMfgAttribute*>& attributes) {
    Result result;
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status)) {
        result.error = path + ": no such file";
    } else if (!std::filesystem::is_regular_file(status)) {
        result.error = path + ": not a regular file";
    } else if (std::filesystem::file_size(path, error) > kMaxFileSize || error) {
        result.error = path + (error ? ": cannot read the file" : ": larger than 16 MiB");
    }
    if (!result.error.empty()) {
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) {
        result.error = path + ": cannot read the file";
        return result;
    }
    return Parse(text.str(), path, attributes);
}

KesValuesFile::Result KesValuesFile::Parse(std::string_view text, const std::string& fileName,
                                           const std::vector<KesMfgAttribute*>& attributes) {
    Result result;
    if (text.size() > kMaxFileSize) {
        result.error = fileName + ": larger than 16 MiB";
        return result;
    }
    // The parser takes a NUL byte for the end of the text: a file that a crash or a full disk
    // left with a NUL block is damaged, not read up to it.
    if (const size_t nul = text.find('\0'); nul != std::string_view::npos) {
        size_t line = 1;
        size_t column = 1; // in characters
        for (size_t i = 0; i < nul; ++i) {
            line += text[i] == '\n' ? 1 : 0;
            column = text[i] == '\n'
                         ? 1
                         : column + ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80);
        }
        result.error = fileName + ":" + std::to_string(line) + ":" + std::to_string(column) +
                       ": not JSON: a NUL byte, the file is damaged";
        return result;
    }
    Json root;
    try {
        root = Json::parse(text.begin(), text.end());
        CheckForm(root);
    } catch (const Json::parse_error& error) {
        size_t line = 1;
        for (size_t i = 0; i + 1 < error.byte && i < text.size(); ++i) {
            line += text[i] == '\n' ? 1 : 0;
        }
        const std::string what = error.what();
        const size_t colon = what.find(": ", what.find("column"));
        result.error = fileName + ":" + std::to_string(line) + ": not JSON: " +
                       (colon == std::string::npos ? what : what.substr(colon + 2));
        return result;
    } catch (const Json::exception& error) {
        result.error = fileName + ": not JSON: " + error.what();
        return result;
    } catch (const NotAValuesFile& refused) {
        result.error = fileName + ": " + refused.message;
        return result;
    }
    const Json& entries = root["attributes"];
    for (size_t i = 0; i < entries.size(); ++i) {
        const Json& entry = entries[i];
        const std::string name = entry["name"].get<std::string>();
        const std::string prefix = fileName + ": attribute '" + name + "'";
        KesMfgAttribute* attribute = nullptr;
        for (KesMfgAttribute* candidate : attributes) {
            if (candidate->GetRecordName() == name.c_str()) {
                attribute = candidate;
                break;
            }
        }
        if (attribute == nullptr) {
            result.report.push_back(prefix + ", key 'name': no such attribute in the panel");
            continue;
        }
        ReadEntry(entry, *attribute, prefix, result.report);
    }
    return result;
}
