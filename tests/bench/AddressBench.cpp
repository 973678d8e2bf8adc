#include "shell/GlobalUnit.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

void BM_ValidateAddress(benchmark::State& State) {
    const std::vector<std::string> Texts = {"192.168.1.1", "255.255.255.0", "01.2.3.4",
                                            "1.2.3.0000",  "1..2.3",        "10.0.0.256"};
    for (auto _ : State)
        for (const std::string& T : Texts)
            benchmark::DoNotOptimize(IsValidIPAddress(T));
    State.SetItemsProcessed(State.iterations() * static_cast<int64_t>(Texts.size()));
}
BENCHMARK(BM_ValidateAddress)->Name("validate_address");

} // namespace

BENCHMARK_MAIN();
