// The program's one uniform generator, from which every paint draws its
// colour.
#pragma once

#include <cstdint>
#include <functional>

namespace probe {

// The next value in [0, 1).
double NextDraw();

void SeedDraws(uint64_t seed);

// Seeds from the time of day, to the clock's full resolution.
void SeedDrawsFromTimeOfDay();

// Puts another source of draws in the generator's place, so a test can
// choose the colours; an empty function gives the generator back.
void ReplaceDraws(std::function<double()> source);

}  // namespace probe
