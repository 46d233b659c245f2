// Times a piece of ours and its peer one after the other in every iteration of
// a benchmark, so that both see the same machine; the benchmark's time is
// ours (register it with UseManualTime), the counter "<peer>_ms" the peer's
// mean and "ratio" ours / the peer's.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

// prepare runs before ours in every iteration, untimed (it puts back the
// input that ours changed).
template <class Prepare, class Ours, class Peer>
void TimeBesidePeer(benchmark::State& state, const char* peerName, Prepare prepare, Ours ours, Peer peer) {
    using Clock = std::chrono::steady_clock;
    double oursSeconds = 0, peerSeconds = 0;
    for (auto _ : state) {
        prepare();
        const auto start = Clock::now();
        ours();
        const auto middle = Clock::now();
        peer();
        const auto end = Clock::now();
        const double own = std::chrono::duration<double>(middle - start).count();
        oursSeconds += own;
        peerSeconds += std::chrono::duration<double>(end - middle).count();
        state.SetIterationTime(own);
    }
    state.counters[std::string(peerName) + "_ms"] = peerSeconds * 1000 / double(state.iterations());
    state.counters["ratio"] = oursSeconds / peerSeconds;
}

template <class Ours, class Peer>
void TimeBesidePeer(benchmark::State& state, const char* peerName, Ours ours, Peer peer) {
    TimeBesidePeer(state, peerName, [] {}, ours, peer);
}
