#pragma once
// A test form with the program's own skin loaded, and what the tests of the
// skinned controls share: pumping, keys, pictures of controls and pieces of
// the skin's controls picture.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/application.h"
#include "framework/forms.h"
#include "skin/controls/skin_controls_win32.h"
#include "win/pump.h"

namespace kelmar::test {

// A key as the message loop delivers it: dialog keys go through the form.
inline void PressKey(TWinControl* focused, WORD key) {
  PostMessageW(focused->Handle(), WM_KEYDOWN, key, 1);
  PostMessageW(focused->Handle(), WM_KEYUP, key, 0xC0000001);
  Application().ProcessMessages();
}

// Holds Shift in the thread's keyboard state while it lives.
class ShiftHeld {
 public:
  ShiftHeld() {
    GetKeyboardState(saved_);
    BYTE held[256];
    GetKeyboardState(held);
    held[VK_SHIFT] = 0x80;
    SetKeyboardState(held);
  }
  ~ShiftHeld() { SetKeyboardState(saved_); }

 private:
  BYTE saved_[256];
};

inline Pixel Rgb(Pixel p) { return p & 0xFFFFFFu; }
inline Pixel SysPixel(int index) { return PixelFromColor(GetSysColor(index)) & 0xFFFFFFu; }

// What the control paints, as its window's own picture.
inline Image Shot(TWinControl* control) {
  TBitmap bitmap(control->Width(), control->Height());
  SendMessageW(control->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(bitmap.Dc()), PRF_CLIENT);
  Image image(control->Width(), control->Height());
  const ImageView pixels = bitmap.Pixels();
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) image.At(x, y) = Rgb(pixels.At(x, y));
  return image;
}

class SkinControls : public ::testing::Test {
 protected:
  void SetUp() override {
    form = Application().CreateForm<TForm>(nullptr, std::string("SkinControlsForm"));
    form->SetBounds(120, 120, 420, 220);
    form->Show();
    stored = new TksCompressedStoredSkinComponent(form, "stored");
    stored->CompressedData() = EmbeddedSkinPackage();
    skin = new TksSkinDataComponent(form, "skin");
    skin->SetCompressedStoredSkin(stored);
    ASSERT_FALSE(skin->Skin().Empty);
  }
  void TearDown() override {
    ReleaseCapture();
    delete form;
    Application().ProcessMessages();
  }

  template <typename T>
  T* Add(T* control, int left, int top, int width, int height, TWinControl* parent = nullptr,
         bool skinned = true) {
    if (skinned) control->SetSkinData(skin);
    control->SetBounds(left, top, width, height);
    control->SetParent(parent ? parent : form);
    return control;
  }
  // The part of the controls picture (active picture 1) at r.
  Image Piece(const Rect& r) const {
    const Image& picture = skin->Skin().ActivePictures.at(1);
    Image image(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
      for (int x = 0; x < r.Width(); ++x) image.At(x, y) = Rgb(picture.At(r.left + x, r.top + y));
    return image;
  }
  void MoveAway() {
    SetCursorPos(5, 5);
    Wait(60);
  }
  // Time passes on the controls' clock only here.
  void Wait(DWORD ms) { Elapse(clock, ms); }
  template <typename F>
  bool WaitUntil(F done, DWORD limit_ms) {
    return ElapseUntil(clock, done, limit_ms);
  }

  TManualClock clock;
  TForm* form = nullptr;
  TksCompressedStoredSkinComponent* stored = nullptr;
  TksSkinDataComponent* skin = nullptr;
};

}  // namespace kelmar::test
