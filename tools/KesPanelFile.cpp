// KesPanelFile: panel files read into descriptions and written from them, with nlohmann/json.
//
//   1. Values of the file, by kind
//   2. Reading
//   3. Writing
#include "tools/KesPanelFile.h"

#include <nlohmann/json.hpp>

#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;
using Kind = KesPanelValueKind;

// A fault found while reading: the message so far, without the file name.
struct Fault {
    std::string message;
};

[[noreturn]] void Fail(const std::string& message) {
    throw Fault{message};
}

const char* const kTypeNames[] = {"boolean", "integer", "real", "text"};

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
        if (std::isfinite(number) && std::trunc(number) == number &&
            (number < INT_MIN || number > INT_MAX)) {
            Fail(what + ": " + Shown(value) + " is out of the int range");
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
        list.push_back(convert(value[i], what + ", item " + std::to_string(i + 1)));
    }
    return list;
}

KesPanelValue ToValue(const Json& value, Kind kind, const std::string& what) {
    switch (kind) {
    case Kind::Flag:
        if (!value.is_boolean()) {
            Fail(what + ": expected true or false, not " + Shown(value));
        }
        return value.get<bool>();
    case Kind::Integer:
        return ToInteger(value, what);
    case Kind::Real:
        return ToReal(value, what);
    case Kind::Text:
        return ToText(value, what);
    case Kind::Integers:
        return ToList(value, what, ToInteger);
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

void RequireKeys(const Json& object, std::initializer_list<const char*> keys,
                 const std::string& what) {
    for (const char* key : keys) {
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
    RequireKeys(object, {"name", "type"}, "");
    KesPanelParameter parameter;
    for (const auto& [key, value] : object.items()) {
        const std::string what = "key '" + key + "'";
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
        } else if (key == "texts") {
            parameter.texts = ToList(value, what, ToText);
        } else {
            Fail("unknown key '" + key + "'");
        }
    }
    return parameter;
}

KesPanelImpacts ReadImpacts(const Json& object, Kind kind) {
    ObjectOf(object, "key 'impacts'");
    RequireKeys(object, {"attributes", "impactValues", "sensitivities"}, "key 'impacts', ");
    KesPanelImpacts impacts;
    for (const auto& [key, value] : object.items()) {
        const std::string what = "key 'impacts." + key + "'";
        if (key == "attributes") {
            impacts.attributes = ToList(value, what, ToText);
        } else if (key == "impactValues" && kind == Kind::Texts) {
            impacts.textValues = ToList(value, what, ToText);
        } else if (key == "impactValues") {
            impacts.integerValues = ToList(value, what, ToInteger);
        } else if (key == "sensitivities") {
            impacts.sensitivities = ToList(value, what, [](const Json& row, const std::string& w) {
                return ToList(row, w, ToInteger);
            });
        } else {
            Fail("unknown key 'impacts." + key + "'");
        }
    }
    return impacts;
}

KesPanelRecord ReadRecord(const Json& object, const std::string& what) {
    ObjectOf(object, what);
    RequireKeys(object, {"name", "type", "values"}, what + ", ");
    KesPanelRecord record;
    const std::string type = ToText(object["type"], what + ", key 'type'");
    const auto* found = std::find(std::begin(kTypeNames), std::end(kTypeNames), type);
    if (found == std::end(kTypeNames)) {
        Fail(what + ", key 'type': boolean, integer, real or text, not '" + type + "'");
    }
    record.typeCode = static_cast<int>(found - std::begin(kTypeNames));
    for (const auto& [key, value] : object.items()) {
        const std::string where = what + ", key '" + key + "'";
        if (key == "name") {
            record.name = ToText(value, where);
        } else if (key == "values" && record.typeCode == 2) {
            record.reals = ToList(value, where, ToReal);
        } else if (key == "values" && record.typeCode == 3) {
            record.texts = ToList(value, where, ToText);
        } else if (key == "values") {
            record.integers = ToList(value, where, ToInteger);
        } else if (key == "increment") {
            record.increment = ToReal(value, where);
        } else if (key != "type") {
            Fail(what + ": unknown key '" + key + "'");
        }
    }
    return record;
}

KesPanelAttributeDescription ReadAttribute(const Json& object) {
    ObjectOf(object, "an attribute");
    KesPanelAttributeDescription attribute;
    RequireKeys(object, {"class"}, "");
    attribute.className = ToText(object["class"], "key 'class'");
    const std::vector<KesPanelArgument>* table =
        KesPanelDescription::ArgumentsOf(attribute.className);
    if (table == nullptr) {
        Fail("key 'class': unknown class '" + attribute.className + "'");
    }
    for (const auto& [key, value] : object.items()) {
        const std::string what = "key '" + key + "'";
        const std::optional<Kind> impactKind =
            KesPanelDescription::ImpactKindOf(attribute.className);
        if (key == "class") {
            continue;
        }
        if (key == "impacts" && impactKind) {
            attribute.impacts = ReadImpacts(value, *impactKind);
            continue;
        }
        if (key == "relays" && attribute.className == "KesMfgAttLink") {
            attribute.relays = ToList(value, what, [](const Json& relay, const std::string& w) {
                return ToList(relay, w, ReadRecord);
            });
            continue;
        }
        const auto entry =
            std::find_if(table->begin(), table->end(),
                         [&wanted = key](const KesPanelArgument& a) { return wanted == a.key; });
        if (entry == table->end()) {
            Fail("unknown key '" + key + "' for " + attribute.className);
        }
        attribute.arguments.emplace_back(key, ToValue(value, entry->kind, what));
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
    RequireKeys(root, {"title", "attributes"}, "");
    KesPanelDescription description;
    for (const auto& [key, value] : root.items()) {
        if (key == "$schema") {
            ToText(value, "key '$schema'");
        } else if (key == "title") {
            description.title = ToText(value, "key 'title'");
        } else if (key == "modelParameters" || key == "attributes") {
            if (!value.is_array()) {
                Fail("key '" + key + "': expected a list, not " + Shown(value));
            }
            const bool attributes = key == "attributes";
            for (size_t i = 0; i < value.size(); ++i) {
                try {
                    if (attributes) {
                        description.attributes.push_back(ReadAttribute(value[i]));
                    } else {
                        description.modelParameters.push_back(ReadParameter(value[i]));
                    }
                } catch (const Fault& fault) {
                    Fail((attributes ? "attribute " : "model parameter ") + std::to_string(i + 1) +
                         " '" + NameIn(value[i]) + "', " + fault.message);
                }
            }
        } else {
            Fail("unknown key '" + key + "'");
        }
    }
    return description;
}

// Line and column (in characters, both from 1) of the byte at 0-based `offset`.
std::pair<size_t, size_t> LineAndColumn(std::string_view text, size_t offset) {
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
    return {line, column};
}

// The parser's own words, without its exception prefix and its byte-based place.
std::string ParserWords(const std::string& what) {
    const size_t column = what.find(", column ");
    const size_t colon = column == std::string::npos ? what.find("] ") : what.find(": ", column);
    return colon == std::string::npos ? what : what.substr(colon + 2);
}

// Finds the first key given twice in one object; the rest of the text is only read.
struct KeysGivenTwice : nlohmann::json_sax<Json> {
    std::vector<std::set<std::string>> openObjects;
    std::string twice;

    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override {
        openObjects.emplace_back();
        return true;
    }
    bool key(string_t& key) override {
        if (twice.empty() && !openObjects.back().insert(key).second) {
            twice = key;
        }
        return true;
    }
    bool end_object() override {
        openObjects.pop_back();
        return true;
    }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool parse_error(std::size_t, const std::string&, const Json::exception&) override {
        return false; // the second pass reports it, with its place
    }
};

} // namespace

std::string KesPanelFile::Parse(std::string_view text, const std::string& fileName,
                                KesPanelDescription& description) {
    if (text.size() > kMaxFileSize) {
        return fileName + ": the file is larger than 16 MiB";
    }
    // Keys given twice in one object would silently keep the last: a first pass refuses them.
    // (The parser's callback would do it in the same pass, but its cost grows with the square
    // of the file's length.)
    KeysGivenTwice keys;
    const bool wellFormed = Json::sax_parse(text.begin(), text.end(), &keys);
    if (wellFormed && !keys.twice.empty()) {
        return fileName + ": key '" + keys.twice + "' is given twice in one object";
    }
    Json root;
    try {
        root = Json::parse(text.begin(), text.end());
    } catch (const Json::parse_error& error) {
        // The parser counts bytes from 1 up to the last one it read.
        const auto [line, column] = LineAndColumn(text, error.byte == 0 ? 0 : error.byte - 1);
        return fileName + ":" + std::to_string(line) + ":" + std::to_string(column) +
               ": not JSON: " + ParserWords(error.what());
    } catch (const Json::out_of_range& error) {
        // A number too large for a real: placed where its text first occurs.
        const std::string words = ParserWords(error.what());
        const size_t quote = words.find('\'');
        const std::string number =
            quote == std::string::npos ? "" : words.substr(quote + 1, words.size() - quote - 2);
        const size_t at = number.empty() ? std::string_view::npos : text.find(number);
        const auto [line, column] = LineAndColumn(text, at == std::string_view::npos ? 0 : at);
        return fileName + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " +
               number + " is not a finite number";
    } catch (const Json::exception& error) {
        return fileName + ": not JSON: " + ParserWords(error.what());
    }
    try {
        KesPanelDescription read = ReadPanel(root);
        const std::string fault = read.Check();
        if (!fault.empty()) {
            return fileName + ": " + fault;
        }
        description = std::move(read);
        return "";
    } catch (const Fault& fault) {
        return fileName + ": " + fault.message;
    }
}

std::string KesPanelFile::Read(const std::string& path, KesPanelDescription& description) {
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
    return Parse(text.str(), path, description);
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

} // namespace

std::string KesPanelFile::Write(const KesPanelDescription& description) {
    OrderedJson root;
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
    OrderedJson attributes = OrderedJson::array();
    for (const KesPanelAttributeDescription& attribute : description.attributes) {
        OrderedJson object;
        object["class"] = attribute.className;
        if (const auto* table = KesPanelDescription::ArgumentsOf(attribute.className)) {
            for (const KesPanelArgument& argument : *table) {
                if (const KesPanelValue* value = attribute.Find(argument.key)) {
                    object[argument.key] = ToJson(*value);
                }
            }
        }
        const std::optional<Kind> impactKind =
            KesPanelDescription::ImpactKindOf(attribute.className);
        if (attribute.impacts && impactKind) {
            object["impacts"] = ImpactsJson(*attribute.impacts, *impactKind);
        }
        if (!attribute.relays.empty()) {
            object["relays"] = RelaysJson(attribute.relays);
        }
        attributes.push_back(std::move(object));
    }
    root["attributes"] = std::move(attributes);
    std::string out;
    Dump(root, "", out);
    return out + "\n";
}
