// TEnumSet: a small set of enumeration values (at most 32), as the classic
// library's set types: styles << fsBold, styles.Contains(fsItalic).
#pragma once

#include <initializer_list>

template <class Enum>
class TEnumSet {
public:
    TEnumSet() = default;
    TEnumSet(std::initializer_list<Enum> values) {
        for (Enum value : values) *this << value;
    }
    TEnumSet& operator<<(Enum value) {
        bits_ |= Bit(value);
        return *this;
    }
    TEnumSet& operator>>(Enum value) {
        bits_ &= ~Bit(value);
        return *this;
    }
    bool Contains(Enum value) const { return (bits_ & Bit(value)) != 0; }
    bool Empty() const { return bits_ == 0; }
    bool operator==(const TEnumSet& other) const { return bits_ == other.bits_; }
    bool operator!=(const TEnumSet& other) const { return bits_ != other.bits_; }

private:
    static unsigned Bit(Enum value) { return 1u << static_cast<unsigned>(value); }
    unsigned bits_ = 0;
};
