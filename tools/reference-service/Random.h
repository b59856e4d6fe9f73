#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qarvon::refsvc {

// splitmix64: the catalogue must come out identical on every machine and
// compiler, which the standard distributions do not promise.
class Random
{
public:
    explicit Random(std::uint64_t seed)
        : m_state(seed)
    { }

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [low, high], both included.
    int range(int low, int high)
    {
        const auto span = static_cast<std::uint64_t>(high - low + 1);
        return low + static_cast<int>(next() % span);
    }

    bool chance(int percent) { return range(1, 100) <= percent; }

    double unit() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }

    template<typename T>
    const T &pick(const std::vector<T> &items)
    {
        return items[static_cast<std::size_t>(range(0, static_cast<int>(items.size()) - 1))];
    }

private:
    std::uint64_t m_state;
};

// A stream of its own for every object, so adding one more track does not
// change the melodies or names of all the others.
inline std::uint64_t MixSeed(std::uint64_t seed, std::uint64_t salt, std::uint64_t id)
{
    Random r(seed ^ (salt * 0xD6E8FEB86659FD93ull) ^ (id * 0xA0761D6478BD642Full));
    return r.next();
}

} // namespace qarvon::refsvc
