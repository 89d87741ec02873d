#pragma once
// The arithmetic of hint windows: breaking a text into the lines a hint
// shows, the window's size for the text, and its place on the monitor. Text
// is UTF-16 here because the measuring is done by the system's wide text
// calls; the widths come from a function the caller gives.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/geometry.h"

namespace kelmar {

struct HintExtent {
  int32_t width = 0;
  int32_t height = 0;
  friend bool operator==(const HintExtent&, const HintExtent&) = default;
};

// Width in pixels of a run of text in the font the hint uses.
using TextWidthFn = std::function<int32_t(std::u16string_view)>;

// The lines of `text`: a new line at each line break of the text ("\r\n",
// "\n" or "\r"); a line that would be wider than max_width breaks after its
// last space, or, in a run without spaces (Chinese text has none), between
// two characters, keeping a closing punctuation mark on the line it ends.
// Spaces at a break are dropped. A single character wider than max_width
// still gets its line: nothing of the text is lost.
std::vector<std::u16string> BreakHintLines(std::u16string_view text, int32_t max_width,
                                           const TextWidthFn& width_of);

// The lines and the size of the block they make, line_height per line.
struct HintTextBlock {
  std::vector<std::u16string> lines;
  HintExtent size;
};
HintTextBlock MeasureHintText(std::u16string_view text, int32_t max_width, int32_t line_height,
                              const TextWidthFn& width_of);

// The plain hint: the text with a margin on each side (2 at 96 DPI).
HintExtent PlainHintSize(HintExtent text, int margin = 2);
// The skinned hint: the text in the picture's client rectangle, the picture's
// frame around it, never smaller than the picture.
HintExtent SkinnedHintSize(HintExtent text, HintExtent picture, const Rect& client);

// Where a text block centred in `client` starts (each width and height
// halved on its own, as whole pixels).
Point CentredTextOrigin(const Rect& client, HintExtent text);

// The top-left of a hint of `size` wanted at `at`: when it would pass the
// monitor's right edge it goes to the left of `at` (by its width + 2), when it
// would pass the bottom it goes above (by its height + 2); then it is moved
// inside the monitor area wherever it still sticks out.
Point PlaceHint(Point at, HintExtent size, const Rect& monitor);

// The lowest row of a cursor that shows anything, from its monochrome mask
// (rows of `stride` bytes, the most significant bit first, `rows` rows).
// With `and_xor` the mask holds the AND half over the XOR half (a monochrome
// cursor): a row of the AND half shows when any bit is 0; when none does, a
// row of the XOR half shows when any bit is 1 (a cursor drawn only by
// inversion). Without it, the rows are one AND mask. -1 when nothing shows.
int32_t LowestVisibleCursorRow(const uint8_t* bits, int32_t stride, int32_t width, int32_t rows,
                               bool and_xor);

}  // namespace kelmar
