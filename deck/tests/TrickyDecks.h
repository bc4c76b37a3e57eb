#pragma once
// Decks as other tools and hands write them: negative numbers, change
// cards, exponents, decimals with more places than the editor shows,
// values that fill their columns, overflow rows and tabular pairs. Every
// choice comes from a source of numbers, so that a fuzzer's bytes or a
// seeded generator can drive it.

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

namespace rillo::testdata {

class Choices {
public:
    virtual ~Choices() = default;
    /// A number from lo to hi.
    virtual int pick(int lo, int hi) = 0;
};

/// Choices from a seeded generator.
class RandomChoices : public Choices {
public:
    explicit RandomChoices(unsigned seed) : rng_(seed) {}
    int pick(int lo, int hi) override { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

private:
    std::mt19937 rng_;
};

/// Choices read from bytes (a fuzzer's input); lo once they run out.
class ByteChoices : public Choices {
public:
    ByteChoices(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    int pick(int lo, int hi) override;

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

/// A whole deck file (CR LF lines) that the reader takes.
std::string trickyDeck(Choices& choices);

}  // namespace rillo::testdata
