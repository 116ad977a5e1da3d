// The history and values files on panels of N real attributes (spinners): one gesture with and
// without a history watching (the difference is the history's step), one undo or redo, the
// memory 1,000 steps keep, and writing and reading a values file of the panel.
#include "platform/KesDlgSpinner.h"
#include "platform/KesDlgTestFrame.h"
#include "single/KesMfgAttDouble.h"
#include "tools/KesPanelHistory.h"
#include "tools/KesValuesFile.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>
#include <vector>

namespace {

struct Panel {
    explicit Panel(int count) {
        for (int i = 0; i < count; ++i) {
            auto* attribute = new KesMfgAttDouble("Depth_" + std::to_string(i), "Depth", 5.0, 0.0,
                                                  50.0, 0.0, 0, 0, 0, &frame, 1, 0);
            attribute->Display();
            attributes.push_back(attribute);
        }
    }
    // The user sets attribute i's spinner: one gesture, one value changed.
    void Gesture(size_t i) {
        KesMfgAttribute* attribute = attributes[i % attributes.size()];
        for (int child = 0; child < attribute->GetChildCount(); ++child) {
            if (auto* spinner =
                    dynamic_cast<KesDlgSpinner*>(attribute->GetChildFromChildNumber(child))) {
                // 47: prime to the panel sizes, so a value is never the one it replaces
                spinner->UserSetValue(static_cast<double>(++value % 47));
            }
        }
    }

    KesDlgTestFrame frame;
    std::vector<KesMfgAttribute*> attributes;
    long value = 0;
};

void BM_GestureWithoutHistory(benchmark::State& state) {
    Panel panel(static_cast<int>(state.range(0)));
    size_t i = 0;
    for (auto _ : state) {
        panel.Gesture(i += 7);
        panel.frame.Clear();
    }
}
BENCHMARK(BM_GestureWithoutHistory)->Arg(100)->Arg(1000);

void BM_GestureWithHistoryStep(benchmark::State& state) {
    Panel panel(static_cast<int>(state.range(0)));
    KesPanelHistory history(panel.frame);
    size_t i = 0;
    for (auto _ : state) {
        panel.Gesture(i += 7);
        panel.frame.Clear();
        benchmark::DoNotOptimize(history.CommitGesture());
        if (history.UndoCount() > 1000) {
            history.Clear(); // keeps the memory of the run bounded; rare
        }
    }
}
BENCHMARK(BM_GestureWithHistoryStep)->Arg(100)->Arg(1000);

// Each iteration takes the step back or applies it again (SetAttValue with notification).
void BM_UndoOrRedo(benchmark::State& state) {
    Panel panel(static_cast<int>(state.range(0)));
    KesPanelHistory history(panel.frame);
    panel.Gesture(3);
    history.CommitGesture();
    for (auto _ : state) {
        benchmark::DoNotOptimize(history.CanUndo() ? history.Undo() : history.Redo());
        panel.frame.Clear();
    }
}
BENCHMARK(BM_UndoOrRedo)->Arg(100)->Arg(1000);

// The heap the steps hold: 1,000 gestures on a panel of 1,000, measured live (malloc's count).
void BM_MemoryOf1000Steps(benchmark::State& state) {
    Panel panel(1000);
    KesPanelHistory history(panel.frame);
    size_t held = 0;
    for (auto _ : state) {
        const size_t before = mallinfo2().uordblks;
        for (size_t i = 0; i < 1000; ++i) {
            panel.Gesture(i * 7);
            panel.frame.Clear();
            history.CommitGesture();
        }
        held = mallinfo2().uordblks - before;
        state.counters["steps"] = static_cast<double>(history.UndoCount());
        state.PauseTiming();
        history.Clear();
        state.ResumeTiming();
    }
    state.counters["bytes_held"] = static_cast<double>(held);
    state.counters["bytes_per_step"] = static_cast<double>(held) / 1000.0;
}
BENCHMARK(BM_MemoryOf1000Steps)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_ValuesFileWrite(benchmark::State& state) {
    Panel panel(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(KesValuesFile::Write(panel.attributes, "Bench"));
    }
}
BENCHMARK(BM_ValuesFileWrite)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_ValuesFileRead(benchmark::State& state) {
    Panel panel(static_cast<int>(state.range(0)));
    const std::string text = KesValuesFile::Write(panel.attributes, "Bench");
    for (auto _ : state) {
        benchmark::DoNotOptimize(KesValuesFile::Parse(text, "bench.json", panel.attributes));
        panel.frame.Clear();
    }
}
BENCHMARK(BM_ValuesFileRead)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace
