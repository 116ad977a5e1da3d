// Panel files: parsing a file of N attributes of every class (JSON and checks), and parsing
// then building the panel into a frame. The time per attribute must stay flat from 1,000 to
// 10,000 attributes; the parse share is the first benchmark's time over the second's.
#include "platform/KesDlgFrame.h"
#include "platform/KesMfgModel.h"
#include "platform/KesStdoutCapture.h"
#include "tools/KesPanelBuilder.h"
#include "tools/KesPanelFile.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// Attribute i of a mixed panel: the thirteen classes in turn, every integer list steering the
// attribute before it.
std::string MixedAttribute(int i) {
    const std::string head = R"("name": "A)" + std::to_string(i) + R"(", "label": "Attribute )" +
                             std::to_string(i) + R"(", "group": 1, )";
    const std::string previous = "A" + std::to_string(i - 1);
    switch (i % 13) {
    case 0:
        return R"({"class": "KesMfgAttInt", )" + head +
               R"("value": 4, "minimum": 1, "maximum": 99})";
    case 1:
        return R"({"class": "KesMfgAttDouble", )" + head +
               R"("value": 5.5, "minimum": 0, "maximum": 50, "thirdUnitCode": 1, "unitFlag": 1})";
    case 2:
        return R"({"class": "KesMfgAttChar", )" + head + R"("value": "Roughing of the pocket"})";
    case 3:
        return R"({"class": "KesMfgAttLogic", )" + head +
               R"("value": 1, "presentation": 1, "titles": ["Off", "On"]})";
    case 4:
        return R"({"class": "KesMfgAttLink", )" + head +
               R"("iconName": "approach", "relays": [[{"name": "D", "type": "real", "values": [2.5], "increment": 2.5}]]})";
    case 5:
        return R"({"class": "KesMfgAttCharList", )" + head +
               R"("value": "ZIGZAG", "values": ["ZIGZAG", "SPIRAL", "CONTOUR"], "displayTexts": ["Zig-zag", "Spiral", "Contour"], "presentation": 1})";
    case 6:
        return R"({"class": "KesMfgAttIntList", )" + head +
               R"("value": 1, "values": [1, -1], "displayTexts": ["Climb", "Conventional"], "impacts": {"attributes": [")" +
               previous + R"("], "impactValues": [1, -1], "sensitivities": [[1], [0]]}})";
    case 7:
        return R"({"class": "KesMfgAttMVDouble", )" + head +
               R"("values": [2.0, 2.0, 1.0], "minimum": 0, "maximum": 10})";
    case 8:
        return R"({"class": "KesMfgAttMVInt", )" + head +
               R"("values": [1, 2, 2, 1, 3, 1, 2], "minimum": 1, "maximum": 20})";
    case 9:
        return R"({"class": "KesMfgAttMVChar", )" + head +
               R"("values": ["rough", "semi", "finish"], "newValueText": "pass"})";
    case 10:
        return R"({"class": "KesMfgAttMVLogic", )" + head + R"("values": [1, 0, 1]})";
    case 11:
        return R"({"class": "KesMfgAttMVCharList", )" + head +
               R"("values": ["G81"], "allowedValues": ["G81", "G82", "G83"], "displayTexts": ["Drill", "Dwell", "Peck"]})";
    default:
        return R"({"class": "KesMfgAttDoubleParam", )" + head +
               R"("value": 800, "minimum": 0, "maximum": 5000, "firstUnitCode": 1, "secondUnitCode": 2})";
    }
}

std::string MixedPanel(int count) {
    std::string text = "{\"title\": \"Mixed\", \"attributes\": [\n";
    for (int i = 0; i < count; ++i) {
        text += MixedAttribute(i) + (i + 1 < count ? ",\n" : "\n");
    }
    return text + "]}\n";
}

void PanelFileParse(benchmark::State& state) {
    const std::string text = MixedPanel(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        KesPanelDescription description;
        if (!KesPanelFile::Parse(text, "mixed.json", description).empty()) {
            state.SkipWithError("the mixed panel was refused");
        }
        benchmark::DoNotOptimize(description.attributes.data());
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["file_bytes"] = static_cast<double>(text.size());
}
BENCHMARK(PanelFileParse)
    ->Arg(1000)
    ->Arg(10000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void PanelFileParseAndBuild(benchmark::State& state) {
    const std::string text = MixedPanel(static_cast<int>(state.range(0)));
    KesStdoutCapture quiet; // the list classes write trace lines
    for (auto _ : state) {
        KesMfgModel::Clear();
        auto* frame = new KesDlgFrame(nullptr, "Mixed");
        KesPanelDescription description;
        KesPanelBuilder builder;
        if (!KesPanelFile::Parse(text, "mixed.json", description).empty() ||
            !builder.Build(description, *frame).empty()) {
            state.SkipWithError("the mixed panel was refused");
        }
        state.PauseTiming(); // taking the panel down is not reading it
        delete frame;
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(PanelFileParseAndBuild)
    ->Arg(1000)
    ->Arg(10000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// A panel of reals each bound to its own model parameter, the parameters listed in the file:
// every look-up of a parameter by name (checks, building, the model) is paid once per
// attribute, so its cost must not grow with the number of parameters.
std::string BoundPanel(int count) {
    std::string parameters;
    std::string attributes;
    for (int i = 0; i < count; ++i) {
        const std::string separator = i + 1 < count ? ",\n" : "\n";
        parameters += R"({"name": "FEED_)" + std::to_string(i) +
                      R"(", "type": 2, "kind": 1, "units": [1, 2, 0], "reals": [800.0]})" +
                      separator;
        attributes += R"({"class": "KesMfgAttDoubleParam", "name": "A)" + std::to_string(i) +
                      R"(", "label": "Feed )" + std::to_string(i) +
                      R"(", "group": 1, "minimum": 0, "maximum": 5000, "firstUnitCode": 1, )"
                      R"("secondUnitCode": 2, "parameterName": "FEED_)" +
                      std::to_string(i) + "\"}" + separator;
    }
    return "{\"title\": \"Bound\", \"modelParameters\": [\n" + parameters +
           "], \"attributes\": [\n" + attributes + "]}\n";
}

void PanelFileBoundParseAndBuild(benchmark::State& state) {
    const std::string text = BoundPanel(static_cast<int>(state.range(0)));
    KesStdoutCapture quiet;
    for (auto _ : state) {
        KesMfgModel::Clear();
        auto* frame = new KesDlgFrame(nullptr, "Bound");
        KesPanelDescription description;
        KesPanelBuilder builder;
        if (!KesPanelFile::Parse(text, "bound.json", description).empty() ||
            !builder.Build(description, *frame).empty()) {
            state.SkipWithError("the bound panel was refused");
        }
        state.PauseTiming();
        delete frame;
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(PanelFileBoundParseAndBuild)
    ->Arg(1000)
    ->Arg(10000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

} // namespace
