#pragma once

#include <cstdint>
#include <random>

namespace qk::demo {

// Random numbers that are the same for one seed on every system: the engine's output is fixed
// by the standard, the library's distributions are not, so the ranges are taken here.
class Zufall {
public:
    explicit Zufall(std::uint32_t seed) : m_engine(seed) {}

    // A whole number from `von` to `bis`, both included.
    int Zahl(int von, int bis);
    // True in about `prozent` cases of a hundred.
    bool Prozent(int prozent) { return Zahl(0, 99) < prozent; }
    int Byte() { return Zahl(0, 255); }

private:
    std::mt19937 m_engine;
};

} // namespace qk::demo
