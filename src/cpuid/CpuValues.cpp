#include "cpuid/CpuValues.h"

#include "cpuid/CpuTexts.h"

#include <bit>
#include <cstdio>
#include <utility>

namespace quelmo {
namespace {

CpuNumberSeparators& Separators() {
    static CpuNumberSeparators separators;
    return separators;
}

// value / divisor in tenths, halves rounded away from zero; exact, so 1050 MHz reads 1.1 and
// not whatever the nearest double of 1.05 would round to.
std::uint64_t Tenths(std::uint64_t value, std::uint64_t divisor) {
    const std::uint64_t scaled = value * 10;
    std::uint64_t tenths = scaled / divisor;
    if ((scaled % divisor) * 2 >= divisor) {
        ++tenths;
    }
    return tenths;
}

std::string Decimal(std::uint64_t value) {
    return std::to_string(value);
}

} // namespace

void SetCpuNumberSeparators(CpuNumberSeparators separators) {
    Separators() = std::move(separators);
}

const CpuNumberSeparators& GetCpuNumberSeparators() {
    return Separators();
}

std::string FormatTenths(std::uint64_t tenths) {
    const std::string digits = Decimal(tenths / 10);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text += Separators().thousands;
        }
        text += digits[i];
    }
    text += Separators().decimal;
    text += static_cast<char>('0' + tenths % 10);
    return text;
}

std::string TCpuBoolean::AsYesNo() const {
    return std::string(value_ ? texts::kYes : texts::kNo);
}

std::string TCpuBoolean::AsString() const {
    return std::string(value_ ? texts::kTrue : texts::kFalse);
}

std::string TCpuBoolean::AsOnOff() const {
    return std::string(value_ ? texts::kOn : texts::kOff);
}

std::string TCpuNumber::AsString() const {
    return Decimal(value_);
}

CpuRef<ICpuWord> TCpuNumber::HighWord() const {
    return CpuWord(static_cast<std::uint16_t>(value_ >> 16));
}

CpuRef<ICpuWord> TCpuNumber::LowWord() const {
    return CpuWord(static_cast<std::uint16_t>(value_ & 0xFFFF));
}

std::uint8_t TCpuNumber::BitCount() const {
    return static_cast<std::uint8_t>(std::popcount(value_));
}

CpuRef<ICpuBoolean> TCpuNumber::Bit(std::uint32_t index) const {
    return CpuBoolean(((value_ >> (index % 32)) & 1U) != 0);
}

std::string TCpuNumber::AsSize() const {
    constexpr std::uint64_t kKb = 1024;
    constexpr std::uint64_t kMb = kKb * 1024;
    constexpr std::uint64_t kGb = kMb * 1024;
    if (value_ < kKb) {
        return FormatText(texts::kSizeBytes, {Decimal(value_)});
    }
    if (value_ < kMb) {
        return FormatText(texts::kSizeKb, {FormatTenths(Tenths(value_, kKb))});
    }
    if (value_ < kGb) {
        return FormatText(texts::kSizeMb, {FormatTenths(Tenths(value_, kMb))});
    }
    return FormatText(texts::kSizeGb, {FormatTenths(Tenths(value_, kGb))});
}

std::string TCpuNumber::AsHex() const {
    char text[16];
    std::snprintf(text, sizeof(text), "$%08X", static_cast<unsigned>(value_));
    return text;
}

std::string TCpuNumber::AsFrequency() const {
    if (value_ < 1000) {
        return FormatText(texts::kFrequencyMhz, {Decimal(value_)});
    }
    return FormatText(texts::kFrequencyGhz, {FormatTenths(Tenths(value_, 1000))});
}

std::string TCpuNumber::AsChars() const {
    std::string text(4, '\0');
    for (int i = 0; i < 4; ++i) {
        text[i] = static_cast<char>((value_ >> (8 * i)) & 0xFF);
    }
    return text;
}

std::string TCpuNumber::AsVersion() const {
    char text[32];
    std::snprintf(text, sizeof(text), "%u.%u.%02u", static_cast<unsigned>(value_ / 1000),
                  static_cast<unsigned>((value_ % 1000) / 100), static_cast<unsigned>(value_ % 100));
    return text;
}

} // namespace quelmo
