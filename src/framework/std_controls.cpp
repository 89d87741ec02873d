#include "framework/std_controls.h"

#include <commctrl.h>

namespace kelmar {

// ------------------------------------------------------------------ TButton

void TButton::CreateParams(TCreateParams& params) {
  params.ClassName = WC_BUTTONW;
  params.Style |= WS_TABSTOP | BS_PUSHBUTTON;
}

void TButton::CommandNotify(WORD code) {
  if (code == BN_CLICKED) Click();
}

// ----------------------------------------------------------- TCheckRadioBox

void TCheckRadioBox::CreateParams(TCreateParams& params) {
  params.ClassName = WC_BUTTONW;
  params.Style |= WS_TABSTOP | (radio_ ? BS_RADIOBUTTON : BS_CHECKBOX);
}

void TCheckRadioBox::HandleCreated() {
  SendMessageW(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckRadioBox::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (checked && radio_ && Parent()) {
    for (TControl* c : Parent()->Controls()) {
      auto* other = dynamic_cast<TCheckRadioBox*>(c);
      if (other && other != this && other->radio_ && other->group_ == group_) other->SetChecked(false);
    }
  }
}

void TCheckRadioBox::CommandNotify(WORD code) {
  if (code != BN_CLICKED) return;
  // A radio button stays checked when clicked again; a check box toggles.
  SetChecked(radio_ ? true : !checked_);
  Click();
}

HBRUSH TCheckRadioBox::CtlColor(HDC dc) {
  TColor color = Parent() ? Parent()->Color() : Color();
  background_.Reset(CreateSolidBrush(color));
  SetBkColor(dc, color);
  SetTextColor(dc, Font().Color());
  return background_;
}

// ------------------------------------------------------------------- TPanel

void TPanel::CreateParams(TCreateParams& params) { params.Style |= WS_CLIPCHILDREN; }

void TPanel::PaintWindow(TCanvas& canvas) {
  Rect r = ClientRect();
  canvas.FillRect(r, Color());
  if (bevel_ != TBevel::bvNone) {
    RECT rc = ToRECT(r);
    DrawEdge(canvas.Handle(), &rc, bevel_ == TBevel::bvLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  }
  if (!Caption().empty()) {
    UINT align = caption_alignment_ == TAlignment::taCenter ? DT_CENTER
                 : caption_alignment_ == TAlignment::taRightJustify ? DT_RIGHT : DT_LEFT;
    Rect text{r.left + 4, r.top, r.right - 4, r.bottom};
    canvas.DrawText(Font(), text, Caption(), align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
}

// ------------------------------------------------------------------- TLabel

void TLabel::AdjustSize() {
  HDC screen = GetDC(nullptr);
  SIZE size = TCanvas(screen).TextExtent(Font(), Caption());
  ReleaseDC(nullptr, screen);
  int right = BoundsRect().right;
  if (alignment_ == TAlignment::taRightJustify)
    SetBounds(right - size.cx, Top(), size.cx, size.cy);
  else
    SetBounds(Left(), Top(), size.cx, size.cy);
}

void TLabel::CaptionChanged() {
  AdjustSize();
  Invalidate();
}

void TLabel::Paint(TCanvas& canvas) {
  Rect r = ClientRect();
  if (!Transparent()) canvas.FillRect(r, Color());
  UINT align = alignment_ == TAlignment::taCenter ? DT_CENTER
               : alignment_ == TAlignment::taRightJustify ? DT_RIGHT : DT_LEFT;
  canvas.DrawText(Font(), r, Caption(), align | DT_SINGLELINE | DT_NOPREFIX);
}

// ------------------------------------------------------------------- TImage

void TImage::SetPicture(BitmapHandle picture) {
  picture_ = std::move(picture);
  Invalidate();
}

void TImage::Paint(TCanvas& canvas) {
  if (!picture_) return;
  BITMAP info{};
  GetObjectW(picture_, sizeof(info), &info);
  MemoryDcHandle dc(CreateCompatibleDC(canvas.Handle()));
  ScopedSelect select(dc, picture_);
  BitBlt(canvas.Handle(), 0, 0, info.bmWidth, info.bmHeight, dc, 0, 0, SRCCOPY);
}

}  // namespace kelmar
