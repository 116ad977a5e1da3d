// The impact cascade over 1,000 steering attributes (a chain and a binary tree), and a panel of
// 1,000 choice lists built, displayed and output.
#include "choice/KesMfgAttCharList.h"
#include "choice/KesMfgAttIntList.h"
#include "platform/KesDlgTestFrame.h"

#include "framework/KesMfgValueRecords.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kAttributes = 1000;

KesMfgAttIntList* MakeSteering(KesDlgFrame* frame) {
    auto* list =
        new KesMfgAttIntList("Step", "Step", 2, {1, 2, 3}, {"one", "two", "three"}, 0, frame, 1, 0);
    list->Display();
    return list;
}

void Steer(KesMfgAttribute* steering, std::initializer_list<KesMfgAttribute*> impacted) {
    KesListPtrKesMfgAttribute list;
    for (KesMfgAttribute* attribute : impacted) {
        list.Append(attribute);
    }
    // Value 2 switches every impacted attribute on, value 1 off.
    KesRawCollint flags;
    flags.Size(static_cast<int>(impacted.size()), 0);
    flags.Size(2 * static_cast<int>(impacted.size()), 1);
    steering->AddImpactedAttributes(list, KesRawCollint(), KesRawCollint{1, 2}, flags);
}

void BM_ImpactChain(benchmark::State& state) {
    KesDlgTestFrame frame;
    std::vector<KesMfgAttIntList*> chain;
    for (int i = 0; i < kAttributes; ++i) {
        chain.push_back(MakeSteering(&frame));
    }
    for (int i = 0; i + 1 < kAttributes; ++i) {
        Steer(chain[i], {chain[i + 1]});
    }
    for (auto _ : state) {
        chain.front()->ImpactAttributes();
    }
    benchmark::DoNotOptimize(chain.back()->IsSetSensitivity());
    state.SetItemsProcessed(state.iterations() * kAttributes);
}
BENCHMARK(BM_ImpactChain);

void BM_ImpactTree(benchmark::State& state) {
    KesDlgTestFrame frame;
    std::vector<KesMfgAttIntList*> tree;
    for (int i = 0; i < kAttributes; ++i) {
        tree.push_back(MakeSteering(&frame));
    }
    for (int i = 0; 2 * i + 1 < kAttributes; ++i) {
        if (2 * i + 2 < kAttributes) {
            Steer(tree[i], {tree[2 * i + 1], tree[2 * i + 2]});
        } else {
            Steer(tree[i], {tree[2 * i + 1]});
        }
    }
    for (auto _ : state) {
        tree.front()->ImpactAttributes();
    }
    benchmark::DoNotOptimize(tree.back()->IsSetSensitivity());
    state.SetItemsProcessed(state.iterations() * kAttributes);
}
BENCHMARK(BM_ImpactTree);

// Builds a panel of choice lists with `make`, displays them, and collects the values of all.
template <class Make> void PanelOfChoiceLists(benchmark::State& state, Make make) {
    for (auto _ : state) {
        auto frame = std::make_unique<KesDlgTestFrame>();
        std::vector<KesMfgAttribute*> panel;
        for (int i = 0; i < kAttributes; ++i) {
            KesMfgAttribute* attribute = make(frame.get(), i);
            attribute->Display();
            panel.push_back(attribute);
        }
        KesMfgValueRecords records;
        for (KesMfgAttribute* attribute : panel) {
            records.Output(*attribute, 1);
            records.GetAttValue(*attribute);
        }
        benchmark::DoNotOptimize(records.names.Size());
    }
    state.SetItemsProcessed(state.iterations() * kAttributes);
}

void BM_IntListPanelBuildAndOutput(benchmark::State& state) {
    const KesRawCollint values{10, 20, 30, 40, 50, 60, 70, 80};
    const KesListValKesUnicodeString texts{"ten",   "twenty", "thirty",  "forty",
                                           "fifty", "sixty",  "seventy", "eighty"};
    PanelOfChoiceLists(state, [&](KesDlgFrame* frame, int i) {
        return new KesMfgAttIntList("Choice_" + std::to_string(i), "Choice", 10 * (1 + i % 9),
                                    values, texts, 0, frame, 1, i % 2);
    });
}
BENCHMARK(BM_IntListPanelBuildAndOutput)->Unit(benchmark::kMillisecond);

void BM_CharListPanelBuildAndOutput(benchmark::State& state) {
    const KesListValKesUnicodeString values{" ROUGH", "SEMI ", "FINISH", "SPRING", "CHAMFER"};
    const KesListValKesUnicodeString texts{"Roughing", "Semi finishing", "Finishing", "Spring pass",
                                           "Chamfer"};
    PanelOfChoiceLists(state, [&](KesDlgFrame* frame, int i) {
        return new KesMfgAttCharList("Pass_" + std::to_string(i), "Pass", i % 3 ? "FINISH" : "SEMI",
                                     values, texts, "", frame, 1, i % 3);
    });
}
BENCHMARK(BM_CharListPanelBuildAndOutput)->Unit(benchmark::kMillisecond);

} // namespace
