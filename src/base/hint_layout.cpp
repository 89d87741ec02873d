#include "base/hint_layout.h"

#include <algorithm>

namespace kelmar {

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Character steps that never split a surrogate pair.
size_t NextChar(std::u16string_view s, size_t i) {
  return i + 1 < s.size() && IsHighSurrogate(s[i]) && IsLowSurrogate(s[i + 1]) ? i + 2 : i + 1;
}
size_t PrevChar(std::u16string_view s, size_t i) {
  return i >= 2 && IsLowSurrogate(s[i - 1]) && IsHighSurrogate(s[i - 2]) ? i - 2 : i - 1;
}

// Marks that close a phrase: a line may not begin with one.
bool MayNotStartLine(char16_t c) {
  static constexpr std::u16string_view kClosing =
      u"，。！？、；：）」』】》〉…,.!?;:)]}";
  return kClosing.find(c) != std::u16string_view::npos;
}

std::u16string_view TrimTrailingSpaces(std::u16string_view s) {
  while (!s.empty() && s.back() == u' ') s.remove_suffix(1);
  return s;
}

void BreakParagraph(std::u16string_view p, int32_t max_width, const TextWidthFn& width_of,
                    std::vector<std::u16string>& lines) {
  size_t start = 0;
  do {
    // The longest run from start that fits; at least one character.
    size_t fit = start;
    size_t space = std::u16string_view::npos;
    for (size_t i = start; i < p.size(); i = NextChar(p, i)) {
      const size_t next = NextChar(p, i);
      if (i > start && width_of(p.substr(start, next - start)) > max_width) break;
      if (p[i] == u' ' && i > start) space = i;
      fit = next;
    }
    if (fit >= p.size()) {
      lines.emplace_back(p.substr(start));
      return;
    }
    size_t end = fit;
    if (p[fit] == u' ') {
      end = fit;
    } else if (space != std::u16string_view::npos) {
      end = space;
    } else {
      // Between two characters, but not before a closing mark: the
      // character before it moves down with it.
      while (MayNotStartLine(p[end]) && PrevChar(p, end) > start) end = PrevChar(p, end);
    }
    lines.emplace_back(TrimTrailingSpaces(p.substr(start, end - start)));
    start = end;
    while (start < p.size() && p[start] == u' ') ++start;
  } while (start < p.size());
}

}  // namespace

std::vector<std::u16string> BreakHintLines(std::u16string_view text, int32_t max_width,
                                           const TextWidthFn& width_of) {
  std::vector<std::u16string> lines;
  size_t start = 0;
  while (true) {
    const size_t br = text.find_first_of(u"\r\n", start);
    const std::u16string_view paragraph = text.substr(start, br == std::u16string_view::npos ? br : br - start);
    if (paragraph.empty())
      lines.emplace_back();
    else
      BreakParagraph(paragraph, max_width, width_of, lines);
    if (br == std::u16string_view::npos) break;
    start = br + (text[br] == u'\r' && br + 1 < text.size() && text[br + 1] == u'\n' ? 2 : 1);
  }
  return lines;
}

HintTextBlock MeasureHintText(std::u16string_view text, int32_t max_width, int32_t line_height,
                              const TextWidthFn& width_of) {
  HintTextBlock block;
  block.lines = BreakHintLines(text, max_width, width_of);
  for (const auto& line : block.lines) block.size.width = std::max(block.size.width, width_of(line));
  block.size.height = int32_t(block.lines.size()) * line_height;
  return block;
}

HintExtent PlainHintSize(HintExtent text, int margin) { return {text.width + 2 * margin, text.height + 2 * margin}; }

HintExtent SkinnedHintSize(HintExtent text, HintExtent picture, const Rect& client) {
  return {std::max(text.width + client.left + picture.width - client.right, picture.width),
          std::max(text.height + client.top + picture.height - client.bottom, picture.height)};
}

Point CentredTextOrigin(const Rect& client, HintExtent text) {
  return {client.left + client.Width() / 2 - text.width / 2, client.top + client.Height() / 2 - text.height / 2};
}

Point PlaceHint(Point at, HintExtent size, const Rect& monitor) {
  Point p = at;
  if (p.x + size.width > monitor.right) p.x -= size.width + 2;
  if (p.y + size.height > monitor.bottom) p.y -= size.height + 2;
  // Still outside (a place near the other edge, or a hint wider than the
  // monitor): inside, the left and top edges winning.
  p.x = std::max(monitor.left, std::min(p.x, monitor.right - size.width));
  p.y = std::max(monitor.top, std::min(p.y, monitor.bottom - size.height));
  return p;
}

int32_t LowestVisibleCursorRow(const uint8_t* bits, int32_t stride, int32_t width, int32_t rows,
                               bool and_xor) {
  auto bit = [&](int32_t row, int32_t x) { return (bits[size_t(row) * stride + x / 8] >> (7 - x % 8)) & 1; };
  auto row_has = [&](int32_t row, int value) {
    for (int32_t x = 0; x < width; ++x)
      if (bit(row, x) == value) return true;
    return false;
  };
  const int32_t and_rows = and_xor ? rows / 2 : rows;
  for (int32_t r = and_rows - 1; r >= 0; --r)
    if (row_has(r, 0)) return r;
  if (and_xor)
    for (int32_t r = rows - 1; r >= and_rows; --r)
      if (row_has(r, 1)) return r - and_rows;
  return -1;
}

}  // namespace kelmar
