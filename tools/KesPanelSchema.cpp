// KesPanelSchema: the schema of panel files, one definition per row of the attribute catalogue.
#include "tools/KesPanelSchema.h"

#include "tools/KesAttributeCatalogue.h"

#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::ordered_json;
using Kind = KesPanelValueKind;

Json Integer(int minimum, int maximum) {
    if (minimum == INT_MIN && maximum == INT_MAX) {
        return Json{{"$ref", "#/$defs/int"}};
    }
    return Json{{"type", "integer"}, {"minimum", minimum}, {"maximum", maximum}};
}

Json Array(Json items) {
    return Json{{"type", "array"}, {"items", std::move(items)}};
}

// The schema of one key of a class.
Json KeySchema(const KesCatalogueKey& key) {
    Json schema;
    switch (key.kind) {
    case Kind::Flag:
        schema = Json{{"type", "boolean"}};
        break;
    case Kind::Integer:
        schema = Integer(key.minimum, key.maximum);
        break;
    case Kind::Real:
        schema = Json{{"type", "number"}};
        break;
    case Kind::Text:
        schema = Json{{"type", "string"}};
        if (std::string(key.key) == "name") {
            schema["minLength"] = 1;
        }
        break;
    case Kind::Integers:
        schema = Array(Integer(key.minimum, key.maximum));
        break;
    case Kind::Reals:
        schema = Array(Json{{"type", "number"}});
        break;
    case Kind::Texts:
        schema = Array(Json{{"type", "string"}});
        break;
    }
    schema["description"] = key.meaning;
    if (!key.required && std::string(key.fallback) != "null") {
        schema["default"] = Json::parse(key.fallback);
    }
    return schema;
}

Json Impacts(Kind kind) {
    Json properties;
    properties["attributes"] = Array(Json{{"type", "string"}});
    properties["attributes"]["description"] = "The names of the attributes steered.";
    properties["impactValues"] =
        Array(kind == Kind::Texts ? Json{{"type", "string"}} : Integer(INT_MIN, INT_MAX));
    properties["impactValues"]["description"] =
        "The steering attribute's values that have a row of the table; each one of its "
        "choices.";
    properties["sensitivities"] = Array(Array(Json{{"enum", {0, 1}}}));
    properties["sensitivities"]["description"] =
        "One row per impact value, one flag per attribute steered: 1 sensitive, 0 insensitive.";
    return Json{{"type", "object"},
                {"additionalProperties", false},
                {"required", {"attributes", "impactValues", "sensitivities"}},
                {"description", "The attributes this one steers and when they are sensitive."},
                {"properties", std::move(properties)}};
}

Json ClassSchema(const KesCatalogueRow& row) {
    Json required = Json::array({"class"});
    Json properties;
    properties["class"] = Json{{"const", row.className}};
    for (const KesCatalogueKey& key : row.keys) {
        if (key.required) {
            required.push_back(key.key);
        }
        properties[key.key] = KeySchema(key);
    }
    if (row.impactKind) {
        properties["impacts"] = Impacts(*row.impactKind);
    }
    if (row.relays) {
        properties["relays"] = Array(Array(Json{{"$ref", "#/$defs/record"}}));
        properties["relays"]["description"] =
            "What each press hands back, one relay (a list of records) per press; the last one "
            "is repeated.";
        properties["subPanel"] = Json{{"$ref", "#/$defs/subPanel"}};
    }
    return Json{{"type", "object"},
                {"additionalProperties", false},
                {"required", std::move(required)},
                {"description", row.summary},
                {"properties", std::move(properties)}};
}

Json Parameter() {
    Json properties;
    properties["name"] = Json{{"type", "string"},
                              {"pattern", "^[^\\u0000-\\u0020\\u007f]{1,72}$"},
                              {"description", "1 to 72 characters, no blank or control character; "
                                              "unique among the model parameters."}};
    properties["type"] =
        Json{{"enum", {0, 1, 2, 3}}, {"description", "0 boolean, 1 integer, 2 real, 3 text."}};
    properties["kind"] = Integer(INT_MIN, INT_MAX);
    properties["kind"]["description"] = "The parameter's kind (1 for those a real offers).";
    properties["kind"]["default"] = 1;
    properties["units"] = Array(Integer(INT_MIN, INT_MAX));
    properties["units"]["minItems"] = 3;
    properties["units"]["maxItems"] = 3;
    properties["units"]["description"] = "The three unit codes.";
    properties["units"]["default"] = {0, 0, 0};
    properties["ints"] = Array(Integer(INT_MIN, INT_MAX));
    properties["ints"]["description"] = "Integer values.";
    properties["reals"] = Array(Json{{"type", "number"}});
    properties["reals"]["description"] = "Real values; a bound real shows the first.";
    properties["texts"] = Array(Json{{"type", "string"}});
    properties["texts"]["description"] = "Text values.";
    return Json{{"type", "object"},
                {"additionalProperties", false},
                {"required", {"name", "type"}},
                {"description", "A parameter of the manufacturing model, created before the "
                                "attributes where the model lacks it."},
                {"properties", std::move(properties)}};
}

Json Record() {
    Json properties;
    properties["name"] = Json{{"type", "string"}, {"minLength", 1}, {"description", "The name."}};
    properties["type"] = Json{{"enum", {"boolean", "integer", "real", "text"}},
                              {"description", "The type of the values."}};
    properties["values"] =
        Json{{"type", "array"},
             {"description", "The values, of the record's type (booleans as 0 and 1)."}};
    properties["increment"] =
        Json{{"type", "number"},
             {"description", "Added to each numeric value once per press beyond the one this "
                             "relay stands for."},
             {"default", 0}};
    // The values are of the record's type.
    Json byType = Json::array();
    const std::pair<const char*, Json> items[] = {{"boolean", Json{{"enum", {0, 1}}}},
                                                  {"integer", Integer(INT_MIN, INT_MAX)},
                                                  {"real", Json{{"type", "number"}}},
                                                  {"text", Json{{"type", "string"}}}};
    for (const auto& [type, item] : items) {
        byType.push_back(Json{{"if", Json{{"properties", Json{{"type", Json{{"const", type}}}}}}},
                              {"then", Json{{"properties", Json{{"values", Array(item)}}}}}});
    }
    return Json{{"type", "object"},
                {"additionalProperties", false},
                {"required", {"name", "type", "values"}},
                {"description", "A value record a link relays."},
                {"properties", std::move(properties)},
                {"allOf", std::move(byType)}};
}

} // namespace

std::string KesPanelSchema::Write() {
    Json defs;
    defs["int"] = Json{{"type", "integer"},
                       {"minimum", INT_MIN},
                       {"maximum", INT_MAX},
                       {"description", "An integer of the int range."}};
    Json classes = Json::array();
    Json dispatch = Json::array();
    for (const KesCatalogueRow& row : KesAttributeCatalogue::Rows()) {
        classes.push_back(row.className);
        dispatch.push_back(
            Json{{"if", Json{{"properties", Json{{"class", Json{{"const", row.className}}}}},
                             {"required", {"class"}}}},
                 {"then", Json{{"$ref", std::string("#/$defs/") + row.className}}}});
        defs[row.className] = ClassSchema(row);
    }
    defs["attribute"] =
        Json{{"type", "object"},
             {"required", {"class"}},
             {"description", "One attribute: its class and the arguments of its constructor and "
                             "setters."},
             {"properties", Json{{"class", Json{{"enum", classes}}}}},
             {"allOf", dispatch}};
    Json subPanel;
    subPanel["title"] =
        Json{{"type", "string"}, {"description", "The sub-panel's title (its dialog's)."}};
    subPanel["attributes"] = Array(Json{{"$ref", "#/$defs/attribute"}});
    subPanel["attributes"]["description"] =
        "Its attributes, described as in the panel; its links open no sub-panel of their own.";
    defs["subPanel"] =
        Json{{"type", "object"},
             {"additionalProperties", false},
             {"required", {"title", "attributes"}},
             {"description", "The sub-panel the link's button opens: on its OK, the records of its "
                             "attributes are handed to the link, which relays them with the "
                             "panel's values. Its attributes bind the panel's model parameters "
                             "or the model's."},
             {"properties", std::move(subPanel)}};
    defs["parameter"] = Parameter();
    defs["record"] = Record();

    Json properties;
    properties["$schema"] = Json{{"type", "string"}, {"description", "This schema, for editors."}};
    properties["title"] = Json{{"type", "string"}, {"description", "The panel's title."}};
    properties["modelParameters"] = Array(Json{{"$ref", "#/$defs/parameter"}});
    properties["modelParameters"]["description"] =
        "Parameters of the manufacturing model created before the attributes are built, where "
        "the model lacks them.";
    properties["attributes"] = Array(Json{{"$ref", "#/$defs/attribute"}});
    properties["attributes"]["description"] = "The attributes, in the order they are built.";

    const Json schema = {{"$schema", "https://json-schema.org/draft/2020-12/schema"},
                         {"$id", "https://kesattributes.example/panel.schema.json"},
                         {"title", "KesAttributes panel file"},
                         {"description",
                          "One operation panel: its title, the model parameters it needs and its "
                          "attributes (docs/panel-files.md). Written by kes-panel --write-schema "
                          "from the attribute catalogue."},
                         {"type", "object"},
                         {"additionalProperties", false},
                         {"required", {"title", "attributes"}},
                         {"properties", std::move(properties)},
                         {"$defs", std::move(defs)}};
    return schema.dump(2) + "\n";
}
