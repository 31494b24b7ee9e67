// random() and srand(): the 32-bit Mersenne Twister MT19937, one generator
// for the whole program.
#include <array>
#include <cstdint>
#include <ctime>

#include "builtins/math.h"
#include "value/convert.h"
#include "value/raise.h"

namespace {

class MersenneTwister {
public:
    void seed(std::uint32_t s) {
        state_[0] = s;
        for (std::uint32_t i = 1; i < kN; ++i)
            state_[i] = 1812433253u * (state_[i - 1] ^ (state_[i - 1] >> 30)) + i;
        index_ = kN;
        seeded_ = true;
    }

    std::uint32_t next() {
        // An unseeded generator behaves as if seeded with the standard default.
        if (!seeded_) seed(5489u);
        if (index_ >= kN) twist();
        std::uint32_t y = state_[index_++];
        y ^= y >> 11;
        y ^= (y << 7) & 0x9d2c5680u;
        y ^= (y << 15) & 0xefc60000u;
        y ^= y >> 18;
        return y;
    }

private:
    static constexpr std::uint32_t kN = 624;
    static constexpr std::uint32_t kM = 397;

    void twist() {
        for (std::uint32_t i = 0; i < kN; ++i) {
            std::uint32_t y = (state_[i] & 0x80000000u) | (state_[(i + 1) % kN] & 0x7fffffffu);
            std::uint32_t v = state_[(i + kM) % kN] ^ (y >> 1);
            if (y & 1u) v ^= 0x9908b0dfu;
            state_[i] = v;
        }
        index_ = 0;
    }

    std::array<std::uint32_t, kN> state_{};
    std::uint32_t index_ = kN;
    bool seeded_ = false;
};

MersenneTwister& generator() {
    static MersenneTwister g;
    return g;
}

}  // namespace

void seedRandom(std::uint32_t seed) { generator().seed(seed); }
std::uint32_t nextRandom() { return generator().next(); }

QUARN_BUILTIN(bi_random) {
    std::int32_t rows = 1, cols = 1;
    if (args.size() >= 1) rows = cols = toInteger(line, args[0]);
    if (args.size() >= 2) cols = toInteger(line, args[1]);
    if (rows < 1 || cols < 1) raiseError(line, "Bad argument in random()");
    NNum* m = new NNum(cols, rows, NNum::Uninit{});
    NRefPtr holder(m);
    for (std::size_t i = 0; i < m->count(); ++i) m->data[i] = {nextRandom() / 4294967296.0, 0.0};
    result = holder;
}

QUARN_BUILTIN(bi_srand) {
    std::uint32_t seed;
    if (args.empty())
        seed = static_cast<std::uint32_t>(std::time(nullptr));
    else
        seed = static_cast<std::uint32_t>(toInteger(line, args[0]));
    seedRandom(seed);
}
