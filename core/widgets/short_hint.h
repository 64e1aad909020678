// Hints carry a short part for the balloon and the tray tip, and may carry a
// long part after a "|".
#pragma once

#include <string>

namespace korbela {

// The text before the first "|", all of it when there is none.
inline std::string ShortHint(const std::string& hint) { return hint.substr(0, hint.find('|')); }

}  // namespace korbela
