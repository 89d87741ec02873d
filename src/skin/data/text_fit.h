#pragma once
// Shortening a caption to a width, measured by the caller's font.
#include <functional>
#include <string>
#include <string_view>

namespace kelmar {

// Leaves `text` when it fits in max_width; otherwise removes characters from
// its end until the rest followed by "..." fits (or nothing is left) and
// appends "...". A surrogate pair is removed as one character.
void FitTextWithEllipsis(std::u16string& text, int max_width,
                         const std::function<int(std::u16string_view)>& text_width);

}  // namespace kelmar
