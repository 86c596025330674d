#include "random_draws.h"

#include <chrono>
#include <random>
#include <utility>

namespace probe {

namespace {

std::mt19937_64& Engine() {
    static std::mt19937_64 engine;
    return engine;
}

std::function<double()>& Replacement() {
    static std::function<double()> replacement;
    return replacement;
}

}  // namespace

double NextDraw() {
    if (Replacement()) return Replacement()();
    // The top 53 bits as a fraction: every value is a double in [0, 1),
    // equally spaced, and 1 itself cannot occur.
    return static_cast<double>(Engine()() >> 11) * 0x1.0p-53;
}

void SeedDraws(uint64_t seed) {
    Engine().seed(seed);
}

void SeedDrawsFromTimeOfDay() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    SeedDraws(
        static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

void ReplaceDraws(std::function<double()> source) {
    Replacement() = std::move(source);
}

}  // namespace probe
