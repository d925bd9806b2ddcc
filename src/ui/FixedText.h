// A short text kept inside the object, for texts built once per sample (no heap use).
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace quelmo::ui {

template <std::size_t Capacity>
class FixedText {
public:
    FixedText() = default;
    explicit FixedText(std::string_view text) { Append(text); }

    void Clear() { length_ = 0; }
    // Appends as much of `text` as fits; the rest is cut.
    FixedText& Append(std::string_view text) {
        const std::size_t count = std::min(text.size(), Capacity - length_);
        std::copy_n(text.data(), count, chars_.data() + length_);
        length_ += count;
        return *this;
    }
    FixedText& Append(char c) { return Append(std::string_view(&c, 1)); }

    std::string_view View() const { return {chars_.data(), length_}; }
    std::size_t Size() const { return length_; }
    static constexpr std::size_t kCapacity = Capacity;

    friend bool operator==(const FixedText& text, std::string_view other) { return text.View() == other; }

private:
    std::array<char, Capacity> chars_{};
    std::size_t length_ = 0;
};

} // namespace quelmo::ui
