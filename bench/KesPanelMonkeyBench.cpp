// Monkey steps per second on the pocketing panel: each step drawn, run through the session
// driver and followed by every check of the panel.
#include "KesPocketingPanel.h"
#include "tools/KesPanelMonkey.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

void BM_MonkeyStepsOnThePocketingPanel(benchmark::State& state) {
    // The step dialog stores its steps: into a folder of the benchmark's own.
    std::string folder = (std::filesystem::temp_directory_path() / "kes-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    ::setenv("KES_SETTINGS_DIR", folder.c_str(), 1);
    const int steps = static_cast<int>(state.range(0));
    uint32_t seed = 1;
    for (auto _ : state) {
        KesPanelMonkey monkey([](KesDlgTestFrame& frame) -> std::shared_ptr<void> {
            return std::make_shared<KesPocketingPanel>(frame);
        });
        KesSeededSource source(seed++);
        const KesPanelMonkey::Result result = monkey.Run(source, steps, false);
        if (result.failure) {
            state.SkipWithError(result.failure->fault.Text().c_str());
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * steps);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_MonkeyStepsOnThePocketingPanel)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace
