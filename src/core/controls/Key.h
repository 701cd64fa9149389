#pragma once

namespace twinfold {

// The keys that a model's key handlers tell apart; every other key is Other
// and left to the control that has the focus.
enum class Key { Other, Enter, Escape };

}  // namespace twinfold
