// The parameterised real over the manufacturing model and settings services: a panel of them
// built, displayed (each reads its stored step), each list opened over the model and every
// record read; and a name typed into one attribute's field, bound by a search through a large
// model, answered by the built-in model or by a host's model that forwards to it.
#include "framework/KesMfgValueRecords.h"
#include "param/KesMfgAttDoubleParam.h"
#include "platform/KesDlgFrame.h"
#include "platform/KesMfgModel.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#if __has_include("platform/KesMfgModelService.h")
#define KES_BENCH_HOST_MODEL 1
#endif

namespace {

// Steps are read from an empty settings folder of the benchmark's own.
void UseEmptySettings() {
    static const std::string folder =
        (std::filesystem::temp_directory_path() / "kes-bench-settings-empty").string();
    ::setenv("KES_SETTINGS_DIR", folder.c_str(), 1);
}

void FillModel(int parameters) {
    KesMfgModel::Clear();
    for (int i = 0; i < parameters; ++i) {
        int d1 = 2, d2 = 1, d3 = 0, d4 = 0, d5 = 0, d6 = 0, d7 = 0;
        KesMfgModel::CreateParameter("P" + std::to_string(i), d1, d2, d3, d4, d5, d6, d7,
                                     KesRawCollint(), KesRawColldouble{static_cast<double>(i)},
                                     KesListValKesUnicodeString());
    }
}

void PerAttribute(benchmark::State& state, int count) {
    state.counters["ns_per_attribute"] = benchmark::Counter(
        static_cast<double>(count) * static_cast<double>(state.iterations()) / 1e9,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void ParamPanelDisplayDropOutput(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    UseEmptySettings();
    FillModel(10);
    std::vector<KesUnicodeString> names;
    for (int i = 0; i < count; ++i) {
        names.emplace_back("Feed_" + std::to_string(i));
    }
    for (auto _ : state) {
        auto* frame = new KesDlgFrame(nullptr, "Panel");
        KesMfgValueRecords records;
        for (int i = 0; i < count; ++i) {
            auto* attribute = new KesMfgAttDoubleParam(names[static_cast<size_t>(i)], "Feed", 5.0,
                                                       0.0, 1000.0, 0.0, 0, 0, 0, "", frame, 1, 0);
            attribute->Display();
            attribute->GetParameterCombo()->UserDrop();
            records.GetAttValue(*attribute);
        }
        benchmark::DoNotOptimize(records.reals.Size());
        delete frame;
    }
    PerAttribute(state, count);
    KesMfgModel::Clear();
}
BENCHMARK(ParamPanelDisplayDropOutput)->Arg(1000)->Unit(benchmark::kMicrosecond);

// One read of a parameter and of the outcome through the statics: the cost of a call.
void ModelReadAndError(benchmark::State& state) {
    FillModel(1);
    const KesUnicodeString name = "P0";
    KesRawCollint ints;
    KesRawColldouble reals;
    KesListValKesUnicodeString texts;
    for (auto _ : state) {
        KesMfgModel::ReadParameter(name, ints, reals, texts);
        benchmark::DoNotOptimize(KesMfgModel::GetError());
    }
    KesMfgModel::Clear();
}
BENCHMARK(ModelReadAndError);

#ifdef KES_BENCH_HOST_MODEL
// A host's model that keeps its parameters in the built-in one and counts what changed.
class ForwardingModel final : public KesMfgModelService {
public:
    KesListValKesUnicodeString* GetParameters() override { return base_->GetParameters(); }
    void ReadParameterDesc(const KesUnicodeString& name, int& d1, int& d2, int& d3, int& d4,
                           int& d5, int& d6, int& d7, KesRawCollint& ints, KesRawColldouble& reals,
                           KesListValKesUnicodeString& texts) override {
        base_->ReadParameterDesc(name, d1, d2, d3, d4, d5, d6, d7, ints, reals, texts);
    }
    void ReadParameter(const KesUnicodeString& name, KesRawCollint& ints, KesRawColldouble& reals,
                       KesListValKesUnicodeString& texts) override {
        base_->ReadParameter(name, ints, reals, texts);
    }
    void CreateParameter(const KesUnicodeString& name, int& d1, int& d2, int& d3, int& d4, int& d5,
                         int& d6, int& d7, const KesRawCollint& ints, const KesRawColldouble& reals,
                         const KesListValKesUnicodeString& texts) override {
        ++changes;
        base_->CreateParameter(name, d1, d2, d3, d4, d5, d6, d7, ints, reals, texts);
    }
    void ModifyParameterValue(const KesUnicodeString& name, const KesRawCollint& ints,
                              const KesRawColldouble& reals,
                              const KesListValKesUnicodeString& texts) override {
        ++changes;
        base_->ModifyParameterValue(name, ints, reals, texts);
    }
    int GetError() override { return base_->GetError(); }
    int changes = 0;

private:
    KesMfgModelService* base_ = KesMfgModel::BuiltIn();
};
#endif

// The user types the name of the model's last parameter (the search reads every name before
// it), then "none".
void BindByName(benchmark::State& state, bool throughHost) {
    const int parameters = static_cast<int>(state.range(0));
    UseEmptySettings();
    FillModel(parameters);
#ifdef KES_BENCH_HOST_MODEL
    ForwardingModel host;
    if (throughHost) {
        KesMfgModel::Install(&host);
    }
#else
    if (throughHost) {
        state.SkipWithError("this tree has no model service to install");
        return;
    }
#endif
    const KesUnicodeString last = "p" + std::to_string(parameters - 1);
    KesDlgFrame frame(nullptr, "Panel");
    auto* attribute =
        new KesMfgAttDoubleParam("Feed", "Feed", 5.0, 0.0, 0.0, 0.0, 0, 0, 0, "", &frame, 1, 0);
    attribute->Display();
    KesDlgCombo* combo = attribute->GetParameterCombo();
    for (auto _ : state) {
        combo->UserType(last);
        combo->UserType("none");
    }
    if (!(attribute->GetShownValue() == static_cast<double>(parameters - 1))) {
        state.SkipWithError("the name was not bound");
    }
#ifdef KES_BENCH_HOST_MODEL
    KesMfgModel::Install(nullptr);
#endif
    KesMfgModel::Clear();
}
void BindByNameBuiltInModel(benchmark::State& state) {
    BindByName(state, false);
}
void BindByNameHostModel(benchmark::State& state) {
    BindByName(state, true);
}
BENCHMARK(BindByNameBuiltInModel)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BindByNameHostModel)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace
