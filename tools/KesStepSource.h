// KesStepSource: where the choices of a monkey run come from. A seeded generator gives the same
// run for the same seed; a byte source reads the choices from bytes (a fuzzer's input), so that
// one mutated byte changes one choice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

class KesStepSource {
public:
    virtual ~KesStepSource() = default;
    // A number in 0..bound-1; 0 when bound is 0 or 1.
    virtual uint32_t Below(uint32_t bound) = 0;
    // True once a byte source has nothing left; a seeded source never runs dry.
    virtual bool Exhausted() const { return false; }

    bool Chance(uint32_t percent) { return Below(100) < percent; }
    // low..high, both included.
    int Between(int low, int high) {
        return low + static_cast<int>(Below(static_cast<uint32_t>(high - low + 1)));
    }
    template <class T> const T& Pick(const std::vector<T>& items) {
        return items[Below(static_cast<uint32_t>(items.size()))];
    }
};

// Choices from std::mt19937 with an explicit seed.
class KesSeededSource final : public KesStepSource {
public:
    explicit KesSeededSource(uint32_t seed) : engine_(seed) {}
    uint32_t Below(uint32_t bound) override {
        return bound <= 1 ? 0 : static_cast<uint32_t>(engine_() % bound);
    }

private:
    std::mt19937 engine_;
};

// Choices read from bytes, as few as the bound needs (one byte for a bound up to 256). Past the
// end every choice is 0. The bytes are not copied: they must outlive the source.
class KesByteSource final : public KesStepSource {
public:
    KesByteSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint32_t Below(uint32_t bound) override {
        if (bound <= 1) {
            return 0;
        }
        const int bytes = bound <= 0x100 ? 1 : bound <= 0x10000 ? 2 : 4;
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            value = (value << 8) | (position_ < size_ ? data_[position_] : 0u);
            position_ += position_ < size_ ? 1 : 0;
        }
        return value % bound;
    }
    bool Exhausted() const override { return position_ >= size_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};
