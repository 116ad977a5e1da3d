// kes-host's part document: JSON read with nlohmann/json, checked key by key, with the line of
// what is wrong found by a second, position-keeping pass over the text.
//
//   1. Parameters' values as the table shows them
//   2. Places: where each value of the text begins
//   3. Reading
//   4. Writing
#include "KesHostDocument.h"

#include "platform/KesMfgModel.h"
#include "tools/KesValuesFile.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace {

using Json = nlohmann::ordered_json;

// ---------------------------------------------------------------------------------------------
// 1. Parameters' values as the table shows them
// ---------------------------------------------------------------------------------------------

std::string RealText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

template <typename Number> bool ParseNumber(const std::string& text, Number& value) {
    size_t begin = text.find_first_not_of(' ');
    size_t end = text.find_last_not_of(' ');
    if (begin == std::string::npos) {
        return false;
    }
    const char* first = text.data() + begin;
    const char* last = text.data() + end + 1;
    const auto result = std::from_chars(first, last, value);
    return result.ec == std::errc() && result.ptr == last;
}

} // namespace

bool KesHostParameter::operator==(const KesHostParameter& other) const {
    return name == other.name && type == other.type && kind == other.kind &&
           units[0] == other.units[0] && units[1] == other.units[1] && units[2] == other.units[2] &&
           integers == other.integers && reals == other.reals && texts == other.texts;
}

const char* KesHostParameter::TypeName(int type) {
    switch (type) {
    case 0:
        return "boolean";
    case 1:
        return "integer";
    case 2:
        return "real";
    case 3:
        return "text";
    default:
        return "unknown";
    }
}

std::string KesHostParameter::ValueText() const {
    switch (type) {
    case 0:
    case 1:
        return integers.empty() ? std::string() : std::to_string(integers.front());
    case 2:
        return reals.empty() ? std::string() : RealText(reals.front());
    case 3:
        return texts.empty() ? std::string() : texts.front();
    default:
        return std::string();
    }
}

bool KesHostParameter::SetValueText(const std::string& text) {
    switch (type) {
    case 0:
    case 1: {
        int value = 0;
        if (!ParseNumber(text, value) || (type == 0 && value != 0 && value != 1)) {
            return false;
        }
        integers = {value};
        return true;
    }
    case 2: {
        double value = 0.0;
        if (!ParseNumber(text, value) || !std::isfinite(value)) {
            return false;
        }
        reals = {value};
        return true;
    }
    case 3:
        texts = {text};
        return true;
    default:
        return false;
    }
}

std::string KesHostParameter::UnitsText() const {
    return std::to_string(units[0]) + " " + std::to_string(units[1]) + " " +
           std::to_string(units[2]);
}

bool KesHostParameter::SetUnitsText(const std::string& text) {
    std::istringstream in(text);
    int read[3] = {0, 0, 0};
    std::string rest;
    if (!(in >> read[0] >> read[1] >> read[2]) || (in >> rest)) {
        return false;
    }
    std::copy(std::begin(read), std::end(read), units);
    return true;
}

KesHostParameter* KesHostDocument::Find(const std::string& name) {
    for (KesHostParameter& parameter : parameters) {
        if (parameter.name == name) {
            return &parameter;
        }
    }
    return nullptr;
}

const KesHostParameter* KesHostDocument::Find(const std::string& name) const {
    return const_cast<KesHostDocument*>(this)->Find(name);
}

namespace {

// ---------------------------------------------------------------------------------------------
// 2. Places: where each value of the text begins
// ---------------------------------------------------------------------------------------------

// A character iterator that keeps how far the parser has read, so that a SAX handler knows
// where each event happened (just past the token that raised it).
class CountingIterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    CountingIterator(const char* at, const char* base, size_t* read)
        : at_(at), base_(base), read_(read) {}
    reference operator*() const { return *at_; }
    CountingIterator& operator++() {
        ++at_;
        *read_ = static_cast<size_t>(at_ - base_);
        return *this;
    }
    CountingIterator operator++(int) {
        CountingIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const CountingIterator& other) const { return at_ == other.at_; }
    bool operator!=(const CountingIterator& other) const { return at_ != other.at_; }

private:
    const char* at_;
    const char* base_;
    size_t* read_;
};

// The offset where each value of a well-formed text was read, by its path ("operations/1/values").
class Places : public nlohmann::json_sax<Json> {
public:
    explicit Places(std::string_view text) : text_(text) {
        CountingIterator first(text.data(), text.data(), &read_);
        CountingIterator last(text.data() + text.size(), text.data(), &read_);
        Json::sax_parse(first, last, this);
    }

    // The line of the deepest value of `path` the text holds (1 when none is).
    size_t LineOf(std::vector<std::string> path) const {
        while (!path.empty()) {
            const auto found = offsets_.find(Join(path));
            if (found != offsets_.end()) {
                return Line(found->second);
            }
            path.pop_back();
        }
        return 1;
    }
    size_t Line(size_t offset) const {
        size_t line = 1;
        for (size_t i = 0; i + 1 < offset && i < text_.size(); ++i) {
            line += text_[i] == '\n' ? 1 : 0;
        }
        return line;
    }

    bool null() override { return Value(); }
    bool boolean(bool) override { return Value(); }
    bool number_integer(number_integer_t) override { return Value(); }
    bool number_unsigned(number_unsigned_t) override { return Value(); }
    bool number_float(number_float_t, const string_t&) override { return Value(); }
    bool string(string_t&) override { return Value(); }
    bool binary(binary_t&) override { return Value(); }
    bool start_object(std::size_t) override { return Open(true); }
    bool end_object() override { return Close(); }
    bool start_array(std::size_t) override { return Open(false); }
    bool end_array() override { return Close(); }
    bool key(string_t& name) override {
        path_.push_back(name);
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }

private:
    static std::string Join(const std::vector<std::string>& path) {
        std::string joined;
        for (const std::string& token : path) {
            joined += '/' + token;
        }
        return joined;
    }
    // A value begins: an item of a list gets its index as its token.
    void Begin() {
        if (!items_.empty() && items_.back() >= 0) {
            path_.push_back(std::to_string(items_.back()++));
        }
        offsets_.emplace(Join(path_), read_);
    }
    void End() {
        if (!path_.empty()) {
            path_.pop_back();
        }
    }
    bool Value() {
        Begin();
        End();
        return true;
    }
    bool Open(bool object) {
        Begin();
        items_.push_back(object ? -1 : 0);
        return true;
    }
    bool Close() {
        items_.pop_back();
        End();
        return true;
    }

    std::string_view text_;
    size_t read_ = 0;
    std::vector<std::string> path_;
    std::vector<long> items_; // per open value: -1 an object, else the next item's index
    std::map<std::string, size_t> offsets_;
};

// ---------------------------------------------------------------------------------------------
// 3. Reading
// ---------------------------------------------------------------------------------------------

// What is wrong, and where (the path of the value at fault).
struct Fault {
    std::vector<std::string> path;
    std::string message;
};

[[noreturn]] void Fail(std::vector<std::string> path, std::string message) {
    throw Fault{std::move(path), std::move(message)};
}

std::vector<std::string> Below(std::vector<std::string> path, const std::string& token) {
    path.push_back(token);
    return path;
}

std::string What(const std::vector<std::string>& path) {
    std::string what;
    for (size_t i = 0; i < path.size(); ++i) {
        const bool index = !path[i].empty() && std::isdigit(static_cast<unsigned char>(path[i][0]));
        what += index ? "[" + std::to_string(std::stoul(path[i]) + 1) + "]"
                      : (what.empty() ? "" : ".") + path[i];
    }
    return what.empty() ? "the document" : "'" + what + "'";
}

void CheckKeys(const Json& object, const std::vector<std::string>& path,
               const std::vector<std::string>& known, const std::vector<std::string>& required) {
    if (!object.is_object()) {
        Fail(path, What(path) + ": expected an object");
    }
    for (const auto& item : object.items()) {
        if (std::find(known.begin(), known.end(), item.key()) == known.end()) {
            Fail(Below(path, item.key()), What(Below(path, item.key())) + ": unknown key");
        }
    }
    for (const std::string& key : required) {
        if (!object.contains(key)) {
            Fail(path, What(path) + ": the key '" + key + "' is missing");
        }
    }
}

std::string Text(const Json& value, const std::vector<std::string>& path) {
    if (!value.is_string()) {
        Fail(path, What(path) + ": expected a text");
    }
    return value.get<std::string>();
}

int Integer(const Json& value, const std::vector<std::string>& path) {
    if (!value.is_number_integer() || value.get<long long>() < INT32_MIN ||
        value.get<long long>() > INT32_MAX) {
        Fail(path, What(path) + ": expected an integer");
    }
    return value.get<int>();
}

template <typename Item, typename ReadItem>
std::vector<Item> List(const Json& value, const std::vector<std::string>& path, ReadItem read) {
    if (!value.is_array()) {
        Fail(path, What(path) + ": expected a list");
    }
    std::vector<Item> items;
    for (size_t i = 0; i < value.size(); ++i) {
        items.push_back(read(value[i], Below(path, std::to_string(i))));
    }
    return items;
}

} // namespace

// The model refuses any other name with its code 9621.
bool KesHostParameter::IsWellFormedName(const std::string& name) {
    return KesMfgModel::IsWellFormedName(KesUnicodeString(name));
}

namespace {

KesHostParameter ReadParameter(const Json& object, const std::vector<std::string>& path) {
    CheckKeys(object, path, {"name", "type", "kind", "units", "integers", "reals", "texts"},
              {"name", "type"});
    KesHostParameter parameter;
    parameter.name = Text(object["name"], Below(path, "name"));
    if (!KesHostParameter::IsWellFormedName(parameter.name)) {
        Fail(Below(path, "name"), What(Below(path, "name")) +
                                      ": a name has 1 to 72 characters, no blank or control "
                                      "character");
    }
    parameter.type = Integer(object["type"], Below(path, "type"));
    if (parameter.type < 0 || parameter.type > 3) {
        Fail(Below(path, "type"), What(Below(path, "type")) + ": 0 to 3 (boolean, integer, "
                                                              "real, text)");
    }
    if (object.contains("kind")) {
        parameter.kind = Integer(object["kind"], Below(path, "kind"));
    }
    if (object.contains("units")) {
        const auto units = List<int>(object["units"], Below(path, "units"), Integer);
        if (units.size() != 3) {
            Fail(Below(path, "units"), What(Below(path, "units")) + ": three unit codes");
        }
        std::copy(units.begin(), units.end(), parameter.units);
    }
    if (object.contains("integers")) {
        parameter.integers = List<int>(object["integers"], Below(path, "integers"), Integer);
    }
    if (object.contains("reals")) {
        parameter.reals = List<double>(object["reals"], Below(path, "reals"),
                                       [](const Json& value, const std::vector<std::string>& at) {
                                           if (!value.is_number()) {
                                               Fail(at, What(at) + ": expected a number");
                                           }
                                           return value.get<double>();
                                       });
    }
    if (object.contains("texts")) {
        parameter.texts = List<std::string>(object["texts"], Below(path, "texts"), Text);
    }
    return parameter;
}

KesHostOperation ReadOperation(const Json& object, const std::vector<std::string>& path) {
    CheckKeys(object, path, {"name", "panel", "values"}, {"name", "panel"});
    KesHostOperation operation;
    operation.name = Text(object["name"], Below(path, "name"));
    operation.panel = Text(object["panel"], Below(path, "panel"));
    if (operation.panel.empty()) {
        Fail(Below(path, "panel"), What(Below(path, "panel")) + ": names no panel file");
    }
    if (object.contains("values")) {
        // The values are a values file: the values-file reader's own checks, over no panel.
        operation.values = object["values"].dump(2) + "\n";
        const KesValuesFile::Result read = KesValuesFile::Parse(operation.values, "", {});
        if (!read.IsValuesFile()) {
            std::string why = read.error;
            why = why.substr(why.find(": ") == std::string::npos ? 0 : why.find(": ") + 2);
            Fail(Below(path, "values"), What(Below(path, "values")) + ": " + why);
        }
    }
    return operation;
}

KesHostDocument ReadDocument(const Json& root) {
    CheckKeys(root, {}, {"format", "version", "parameters", "operations"}, {"format", "version"});
    if (!root["format"].is_string() || root["format"].get<std::string>() != "kes-part") {
        Fail({"format"}, "'format': expected \"kes-part\"");
    }
    if (!root["version"].is_number_integer() || root["version"].get<long long>() != 1) {
        Fail({"version"}, "'version': expected 1");
    }
    KesHostDocument document;
    if (root.contains("parameters")) {
        document.parameters =
            List<KesHostParameter>(root["parameters"], {"parameters"}, ReadParameter);
    }
    for (size_t i = 0; i < document.parameters.size(); ++i) {
        for (size_t j = 0; j < i; ++j) {
            if (document.parameters[j].name == document.parameters[i].name) {
                const std::vector<std::string> at = {"parameters", std::to_string(i), "name"};
                Fail(at, What(at) + ": the parameter '" + document.parameters[i].name +
                             "' is given twice");
            }
        }
    }
    if (root.contains("operations")) {
        document.operations =
            List<KesHostOperation>(root["operations"], {"operations"}, ReadOperation);
    }
    return document;
}

} // namespace

std::string KesHostDocument::Parse(std::string_view text, const std::string& fileName,
                                   KesHostDocument& document) {
    if (text.size() > kMaxFileSize) {
        return fileName + ":1: larger than 16 MiB";
    }
    Json root;
    try {
        root = Json::parse(text.begin(), text.end());
    } catch (const Json::parse_error& error) {
        size_t line = 1;
        for (size_t i = 0; i + 1 < error.byte && i < text.size(); ++i) {
            line += text[i] == '\n' ? 1 : 0;
        }
        const std::string what = error.what();
        const size_t colon = what.find(": ", what.find("column"));
        return fileName + ":" + std::to_string(line) +
               ": not JSON: " + (colon == std::string::npos ? what : what.substr(colon + 2));
    }
    try {
        document = ReadDocument(root);
    } catch (const Fault& fault) {
        const Places places(text);
        return fileName + ":" + std::to_string(places.LineOf(fault.path)) + ": " + fault.message;
    } catch (const Json::exception& error) {
        return fileName + ":1: " + error.what();
    }
    return std::string();
}

std::string KesHostDocument::Read(const std::string& path, KesHostDocument& document) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status)) {
        return path + ": no such file";
    }
    if (!std::filesystem::is_regular_file(status)) {
        return path + ": not a regular file";
    }
    if (std::filesystem::file_size(path, error) > kMaxFileSize || error) {
        return path + (error ? ": cannot read the file" : ":1: larger than 16 MiB");
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) {
        return path + ": cannot read the file";
    }
    return Parse(text.str(), path, document);
}

// ---------------------------------------------------------------------------------------------
// 4. Writing
// ---------------------------------------------------------------------------------------------

std::string KesHostDocument::Write() const {
    Json root;
    root["format"] = "kes-part";
    root["version"] = 1;
    root["parameters"] = Json::array();
    for (const KesHostParameter& parameter : parameters) {
        Json entry;
        entry["name"] = parameter.name;
        entry["type"] = parameter.type;
        entry["kind"] = parameter.kind;
        entry["units"] = {parameter.units[0], parameter.units[1], parameter.units[2]};
        if (!parameter.integers.empty()) {
            entry["integers"] = parameter.integers;
        }
        if (!parameter.reals.empty()) {
            entry["reals"] = parameter.reals;
        }
        if (!parameter.texts.empty()) {
            entry["texts"] = parameter.texts;
        }
        root["parameters"].push_back(std::move(entry));
    }
    root["operations"] = Json::array();
    for (const KesHostOperation& operation : operations) {
        Json entry;
        entry["name"] = operation.name;
        entry["panel"] = operation.panel;
        if (!operation.values.empty()) {
            // Written by the values-file library, which keeps texts valid UTF-8.
            Json values = Json::parse(operation.values, nullptr, false);
            if (!values.is_discarded()) {
                entry["values"] = std::move(values);
            }
        }
        root["operations"].push_back(std::move(entry));
    }
    // Texts that are not UTF-8 (a typed name) are written with U+FFFD in their place.
    return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}
