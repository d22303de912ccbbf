// Speed of the moist-air library: one SetState per mode from a typical state,
// the wet bulb, and the apparatus dew point.
#include <benchmark/benchmark.h>

#include "psy/air_state.h"
#include "psy/psychro.h"

using namespace velmora;

namespace {

double field(const TAirStateRec& r, char c) {
    switch (c) {
    case 't': return r.db;
    case 'b': return r.wb;
    case 'h': return r.ha;
    case 'w': return r.wa;
    case 'f': return r.rh;
    case 'd': return r.td;
    case 'v': return r.pv;
    case 's': return r.ps;
    case 'r': return r.ro;
    }
    return 0;
}

const struct { int mode; const char* pair; } kModes[] = {
    {0, "tb"}, {1, "th"}, {2, "tw"}, {3, "tf"}, {4, "td"}, {5, "tv"}, {7, "tr"}, {8, "bh"}, {9, "bw"},
    {10, "bf"}, {11, "bd"}, {12, "bv"}, {13, "bs"}, {14, "br"}, {15, "hw"}, {16, "hf"}, {17, "hd"},
    {18, "hv"}, {19, "hs"}, {25, "wf"}, {26, "ws"}, {28, "fd"}, {29, "fv"}, {30, "fs"}, {31, "ds"}, {32, "vs"}};

void BM_SetState(benchmark::State& st) {
    const auto& m = kModes[st.range(0)];
    TAirStateRec base;
    SetState(base, 101.325, 25, 17, 0);
    const double x1 = field(base, m.pair[0]), x2 = field(base, m.pair[1]);
    TAirStateRec r;
    for (auto _ : st) {
        SetState(r, 101.325, x1, x2, m.mode);
        benchmark::DoNotOptimize(r);
    }
    st.SetLabel("mode " + std::to_string(m.mode) + " " + m.pair);
}
BENCHMARK(BM_SetState)->DenseRange(0, 25);

void BM_SetStateFromText(benchmark::State& st) {
    TAirStateRec r;
    for (auto _ : st) {
        SetStateFromText("25.0/17.0", r, 101.325, 0.5);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_SetStateFromText);

void BM_ApparatusDewPoint(benchmark::State& st) {
    TAirStateRec on, off;
    SetState(on, 101.325, 25, 17, 0);
    SetState(off, 101.325, 13, 12, 0);
    double bf;
    for (auto _ : st) benchmark::DoNotOptimize(ApparatusDewPoint(on, off, bf));
}
BENCHMARK(BM_ApparatusDewPoint);

}  // namespace
