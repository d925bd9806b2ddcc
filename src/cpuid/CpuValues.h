// The value objects every answer of the processor identification library comes in.
//
// Every information object of the library is immutable, created per query and handed out as a
// CpuRef: a shared pointer to a const abstract interface. The last reference frees it; callers
// never free anything. Implementations are `final` classes named T..., created with
// std::make_shared<const TName>(...).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace quelmo {

template <class Interface>
using CpuRef = std::shared_ptr<const Interface>;

class ICpuBoolean {
public:
    virtual ~ICpuBoolean() = default;
    virtual bool Value() const = 0;
    virtual std::string AsYesNo() const = 0;  // "No" / "Yes"
    virtual std::string AsString() const = 0; // "False" / "True"
    virtual std::string AsOnOff() const = 0;  // "Off" / "On"
};

class ICpuWord {
public:
    virtual ~ICpuWord() = default;
    virtual std::uint8_t HighByte() const = 0;
    virtual std::uint8_t LowByte() const = 0;
    virtual std::uint16_t Value() const = 0;
};

class ICpuNumber {
public:
    virtual ~ICpuNumber() = default;
    virtual std::uint32_t Value() const = 0;
    // Unsigned decimal.
    virtual std::string AsString() const = 0;
    virtual CpuRef<ICpuWord> HighWord() const = 0;
    virtual CpuRef<ICpuWord> LowWord() const = 0;
    virtual std::uint8_t BitCount() const = 0;
    // Bit (index modulo 32).
    virtual CpuRef<ICpuBoolean> Bit(std::uint32_t index) const = 0;
    // A byte count: "1023 bytes", "1.5 Kb", "1.0 Mb", "4.0 Gb" (the library's separators).
    virtual std::string AsSize() const = 0;
    // "$0000068A".
    virtual std::string AsHex() const = 0;
    // Megahertz: "999 Mhz", "2.4 Ghz".
    virtual std::string AsFrequency() const = 0;
    // The four bytes as characters, lowest first; zero bytes stay in the text.
    virtual std::string AsChars() const = 0;
    // major.minor.patch from v div 1000, (v mod 1000) div 100, v mod 100: 4301 -> "4.3.01".
    virtual std::string AsVersion() const = 0;
};

class TCpuBoolean final : public ICpuBoolean {
public:
    explicit TCpuBoolean(bool value) : value_(value) {}
    bool Value() const override { return value_; }
    std::string AsYesNo() const override;
    std::string AsString() const override;
    std::string AsOnOff() const override;

private:
    bool value_;
};

class TCpuWord final : public ICpuWord {
public:
    explicit TCpuWord(std::uint16_t value) : value_(value) {}
    std::uint8_t HighByte() const override { return static_cast<std::uint8_t>(value_ >> 8); }
    std::uint8_t LowByte() const override { return static_cast<std::uint8_t>(value_ & 0xFF); }
    std::uint16_t Value() const override { return value_; }

private:
    std::uint16_t value_;
};

class TCpuNumber final : public ICpuNumber {
public:
    explicit TCpuNumber(std::uint32_t value) : value_(value) {}
    std::uint32_t Value() const override { return value_; }
    std::string AsString() const override;
    CpuRef<ICpuWord> HighWord() const override;
    CpuRef<ICpuWord> LowWord() const override;
    std::uint8_t BitCount() const override;
    CpuRef<ICpuBoolean> Bit(std::uint32_t index) const override;
    std::string AsSize() const override;
    std::string AsHex() const override;
    std::string AsFrequency() const override;
    std::string AsChars() const override;
    std::string AsVersion() const override;

private:
    std::uint32_t value_;
};

// Shorthands for the value objects, used throughout the library.
inline CpuRef<ICpuBoolean> CpuBoolean(bool value) {
    return std::make_shared<const TCpuBoolean>(value);
}
inline CpuRef<ICpuWord> CpuWord(std::uint16_t value) {
    return std::make_shared<const TCpuWord>(value);
}
inline CpuRef<ICpuNumber> CpuNumber(std::uint32_t value) {
    return std::make_shared<const TCpuNumber>(value);
}

// The separators of AsSize and AsFrequency. The program sets the user's locale ones at start
// (Win32: LOCALE_SDECIMAL / LOCALE_STHOUSAND); until then "." and ",".
struct CpuNumberSeparators {
    std::string decimal = ".";
    std::string thousands = ",";
};
void SetCpuNumberSeparators(CpuNumberSeparators separators);
const CpuNumberSeparators& GetCpuNumberSeparators();

// `tenths` / 10 with one decimal and the separators above: 15360 -> "1,536.0".
std::string FormatTenths(std::uint64_t tenths);

} // namespace quelmo
