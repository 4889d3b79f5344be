#pragma once
#include <cstdint>

namespace photocheck::samplegen {

// A small seeded random source (SplitMix64). Its sequence is fixed by the seed alone, on every
// platform and library, which the standard distributions do not promise.
class Grain {
  public:
    explicit Grain(uint64_t seed) : state_(seed) {}

    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    // Roughly normal with mean 0 and standard deviation 1 (sum of four uniforms).
    double normal() { return (uniform() + uniform() + uniform() + uniform() - 2.0) * 1.7320508075688772; }

  private:
    uint64_t state_;
};

// A fixed pseudo-random value in [0, 1) for an integer position and a seed.
inline double hashUnit(int64_t position, uint64_t seed) {
    Grain g(seed * 0x2545F4914F6CDD1Dull + static_cast<uint64_t>(position));
    return g.uniform();
}

}  // namespace photocheck::samplegen
