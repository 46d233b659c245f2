// The package's random source: a guarded generator with the C runtime's
// 15-bit range (0 to 32767), seeded from the clock on first use.
#pragma once

// Largest value NextRandom returns.
const int RandomMaximum = 32767;

// The next value in [0, RandomMaximum]; safe from any thread.
int NextRandom();

// Restarts the sequence from `seed`, so that tests can repeat a run.
void SeedRandom(unsigned seed);
