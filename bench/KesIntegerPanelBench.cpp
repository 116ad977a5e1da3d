// A panel of integer attributes in one parent frame: construction, Display and Output.
// The cost per attribute must stay flat as the panel grows.
#include "KesHeapCounter.h"

#include "framework/KesMfgValueRecords.h"
#include "platform/KesDlgFrame.h"
#include "single/KesMfgAttInt.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

void BuildDisplayOutput(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    std::vector<KesUnicodeString> names;
    for (int i = 0; i < count; ++i) {
        names.emplace_back("Attribute_" + std::to_string(i));
    }
    double bytesPerAttribute = 0.0;
    for (auto _ : state) {
        auto* frame = new KesDlgFrame(nullptr, "Panel");
        const std::size_t bytesBefore = KesHeapCounter::AllocatedBytes();
        std::vector<KesMfgAttInt*> panel;
        panel.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            // Every other attribute has limits (a spinner), the others a free editor.
            const int maximum = (i % 2 == 0) ? 100 : 0;
            auto* attribute = new KesMfgAttInt(names[static_cast<size_t>(i)], "Label", i % 50, 0,
                                               maximum, 0, frame, 1);
            attribute->Display();
            panel.push_back(attribute);
        }
        bytesPerAttribute =
            static_cast<double>(KesHeapCounter::AllocatedBytes() - bytesBefore) / count;
        KesMfgValueRecords records;
        for (KesMfgAttInt* attribute : panel) {
            records.GetAttValue(*attribute);
        }
        benchmark::DoNotOptimize(records.ints.Size());
        delete frame;
    }
    state.counters["ns_per_attribute"] = benchmark::Counter(
        static_cast<double>(count) * static_cast<double>(state.iterations()) / 1e9,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["heap_bytes_per_attribute"] = bytesPerAttribute;
}
BENCHMARK(BuildDisplayOutput)
    ->Arg(10)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);

} // namespace
