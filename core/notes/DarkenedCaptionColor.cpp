#include "core/notes/DarkenedCaptionColor.h"

#include <algorithm>

int DarkenedCaptionColor(int color, int step) {
    const auto value = static_cast<unsigned>(color);
    // Widened so that a large step from a damaged file cannot overflow.
    const long long amount = 3LL * step;
    int result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const long long component = (value >> shift) & 0xFFu;
        if (component == 0) {
            continue;
        }
        const long long darker = std::clamp(component - amount, 0LL, 255LL);
        result |= static_cast<int>(darker) << shift;
    }
    return result;
}
