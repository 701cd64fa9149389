#pragma once

#include <cstdint>
#include <initializer_list>

#include "platform/Attributes.h"

namespace twinfold {

// The classes of entries a file list can admit. Every class but ftNormal
// stands for one attribute bit; ftNormal admits entries by their kind alone.
enum class TFileAttr {
    ftReadOnly,
    ftHidden,
    ftSystem,
    ftVolumeID,
    ftDirectory,
    ftArchive,
    ftNormal
};

// A set of TFileAttr.
class TFileType {
public:
    constexpr TFileType() = default;
    constexpr TFileType(std::initializer_list<TFileAttr> classes) {
        for (TFileAttr c : classes) Insert(c);
    }

    constexpr bool Contains(TFileAttr c) const { return (members_ & Bit(c)) != 0; }
    constexpr void Insert(TFileAttr c) { members_ |= Bit(c); }
    constexpr void Erase(TFileAttr c) { members_ &= ~Bit(c); }
    constexpr bool operator==(const TFileType&) const = default;

    // The attribute bits of the classes other than ftNormal, joined.
    constexpr std::uint32_t AttributeWord() const {
        std::uint32_t word = 0;
        for (const auto& [c, bit] : kBits) {
            if (Contains(c)) word |= bit;
        }
        return word;
    }

private:
    struct ClassBit {
        TFileAttr c;
        std::uint32_t bit;
    };
    static constexpr ClassBit kBits[] = {
        {TFileAttr::ftReadOnly, platform::kReadOnly},
        {TFileAttr::ftHidden, platform::kHidden},
        {TFileAttr::ftSystem, platform::kSystem},
        {TFileAttr::ftVolumeID, platform::kVolumeId},
        {TFileAttr::ftDirectory, platform::kDirectory},
        {TFileAttr::ftArchive, platform::kArchive},
    };

    static constexpr std::uint8_t Bit(TFileAttr c) {
        return static_cast<std::uint8_t>(1u << static_cast<unsigned>(c));
    }

    std::uint8_t members_ = 0;
};

}  // namespace twinfold
