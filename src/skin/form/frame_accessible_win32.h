#pragma once
// The skinned window as screen readers see it: its client object, named by
// the caption, whose children are the caption buttons the frame draws
// (simple parts, since they have no windows) and then the child windows.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/accessible.h"

namespace kelmar {

class TksSkinForm;
class TksSkinStdButtonObject;

class TksFrameAccessible : public TAccessibleSource {
 public:
  explicit TksFrameAccessible(TksSkinForm& frame) : frame_(frame) {}

  // WM_GETOBJECT and the default actions of the window.
  bool Handle(TMessage& m) { return host_.Handle(m); }

  HWND AccWindow() const override;
  int AccChildCount() const override;
  IDispatch* AccChildObject(int child) const override;
  std::wstring AccName(int child) const override;
  long AccRole(int child) const override;
  long AccState(int child) const override;
  std::wstring AccDefaultAction(int child) const override;
  void AccRunDefaultAction(int child) override;
  Rect AccLocation(int child) const override;
  int AccFocus() const override;

 private:
  // The visible caption buttons, in the frame's order.
  std::vector<TksSkinStdButtonObject*> Buttons() const;
  // Child number `child` as a caption button, or null.
  TksSkinStdButtonObject* ButtonAt(int child) const;

  TksSkinForm& frame_;
  TAccessibleHost host_{*this};
};

}  // namespace kelmar
