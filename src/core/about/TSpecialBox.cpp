#include "about/TSpecialBox.h"

#include <array>

namespace twinfold {

namespace {

// Every byte of the text is XOR-ed with this key; the key occurs nowhere in
// the text, so no stored byte is zero.
constexpr unsigned char kKey = 0x5A;

// A thank-you note to whoever finds the spot, kept scrambled so that it does
// not show up when someone looks through the program file for texts.
constexpr std::array<unsigned char, TSpecialBox::kTextLength> kScrambled = {
    0x0E, 0x32, 0x3B, 0x34, 0x31, 0x7A, 0x23, 0x35, 0x2F, 0x7A, 0x3C, 0x35, 0x28, 0x7A,
    0x31, 0x3F, 0x3F, 0x2A, 0x33, 0x34, 0x3D, 0x7A, 0x23, 0x35, 0x2F, 0x28, 0x7A, 0x3C,
    0x35, 0x36, 0x3E, 0x3F, 0x28, 0x29, 0x7A, 0x33, 0x34, 0x7A, 0x29, 0x2E, 0x3F, 0x2A,
    0x74, 0x7A, 0x1D, 0x35, 0x35, 0x3E, 0x7A, 0x3E, 0x3B, 0x23, 0x7B};

std::string Unscramble() {
    std::string text(kScrambled.begin(), kScrambled.end());
    for (char& c : text) c = static_cast<char>(static_cast<unsigned char>(c) ^ kKey);
    return text;
}

}  // namespace

std::span<const unsigned char> TSpecialBox::StoredText() { return kScrambled; }

void TSpecialBox::FormShow() { txt.SetCaption(Unscramble()); }

}  // namespace twinfold
