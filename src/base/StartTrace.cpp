#include "base/StartTrace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

void StartTrace(const char* Step) {
    static const bool Wanted = std::getenv("QUELVANO_START_TRACE") != nullptr;
    if (!Wanted)
        return;
    static const auto First = std::chrono::steady_clock::now();
    const std::chrono::duration<double, std::milli> Since =
        std::chrono::steady_clock::now() - First;
    std::fprintf(stderr, "start_trace: %s %.1f ms\n", Step, Since.count());
    std::fflush(stderr);
}
