#include "skin/data/text_fit.h"

namespace kelmar {
namespace {

bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

void RemoveLastCharacter(std::u16string& text) {
  size_t n = 1;
  if (text.size() >= 2 && IsLowSurrogate(text.back()) && IsHighSurrogate(text[text.size() - 2])) n = 2;
  text.resize(text.size() - n);
}

}  // namespace

void FitTextWithEllipsis(std::u16string& text, int max_width,
                         const std::function<int(std::u16string_view)>& text_width) {
  if (text_width(text) <= max_width) return;
  static constexpr std::u16string_view kEllipsis = u"...";
  while (!text.empty()) {
    RemoveLastCharacter(text);
    if (text_width(text + std::u16string(kEllipsis)) <= max_width) break;
  }
  text += kEllipsis;
}

}  // namespace kelmar
