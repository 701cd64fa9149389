#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "settings/CopyBufferSize.h"

namespace twinfold {

// The radio buttons of the Options dialog's "Copy Buffer Size" group, from
// top to bottom.
enum class CopyBufferButton { Mem32K, Mem128K, Mem256k, Mem512k, Mem1mb };

struct CopyBufferChoice {
    CopyBufferButton button;
    const char* name;
    const char* caption;
    std::int32_t size;
};

inline constexpr std::array<CopyBufferChoice, 5> kCopyBufferChoices{{
    {CopyBufferButton::Mem32K, "Mem32K", "32K (default)", kDefaultCopyBufferSize},
    {CopyBufferButton::Mem128K, "Mem128K", "128K", 131072},
    {CopyBufferButton::Mem256k, "Mem256k", "256K", 262144},
    {CopyBufferButton::Mem512k, "Mem512k", "512K", 524288},
    {CopyBufferButton::Mem1mb, "Mem1mb", "1 MB", 1048576},
}};

inline constexpr const CopyBufferChoice& ChoiceOf(CopyBufferButton button) {
    return kCopyBufferChoices[static_cast<std::size_t>(button)];
}

// The button that offers `size`, if any does.
inline constexpr std::optional<CopyBufferButton> ButtonForSize(std::int32_t size) {
    for (const auto& choice : kCopyBufferChoices) {
        if (choice.size == size) return choice.button;
    }
    return std::nullopt;
}

}  // namespace twinfold
