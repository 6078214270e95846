// Whether a display benchmark can run: a display is there and the GTK 3
// driver is in use; otherwise the benchmark is skipped with the reason.
#pragma once

#include <benchmark/benchmark.h>

#include <CBasis1.h>
#include <string>

#include "display/XServer.h"

inline bool Displayed(benchmark::State& state) {
    std::string why;
    if (!display::Ready(&why)) {
        state.SkipWithError(("no display: " + why).c_str());
        return false;
    }
    if (std::string(PlatformUserDriver().name) != "gtk3") {
        state.SkipWithError("the GTK 3 driver is not in use");
        return false;
    }
    return true;
}
