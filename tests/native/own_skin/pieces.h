#pragma once
// The pieces the skin's control records place in their pictures: every
// rectangle a record gives in its picture's own coordinates (those given
// relative to a piece, like a combo box's "buttonrect", are left out).
#include <string>
#include <vector>

#include "base/geometry.h"
#include "skin/data/skin_data.h"

namespace kelmar {

struct SkinPiece {
  std::string record;
  int picture;  // the record's index into the active pictures, as given
  Rect rect;
};

inline std::vector<SkinPiece> ControlPieces(const TksSkinData& skin) {
  std::vector<SkinPiece> pieces;
  for (const auto& record : skin.ControlData) {
    auto add = [&](std::initializer_list<Rect> rects) {
      for (const Rect& r : rects) pieces.push_back({record->IDName, record->pictureindex, r});
    };
    add({record->skinrect});
    if (const auto* b = dynamic_cast<const TksDataSkinButtonControl*>(record.get()))
      add({b->activeskinrect, b->downskinrect, b->disabledskinrect});
    if (const auto* c = dynamic_cast<const TksDataSkinCheckRadioControl*>(record.get()))
      add({c->checkimagerect, c->uncheckimagerect, c->activecheckimagerect, c->activeuncheckimagerect,
           c->unenabledcheckimagerect, c->unenableduncheckimagerect});
    if (const auto* c = dynamic_cast<const TksDataSkinComboBox*>(record.get()))
      add({c->itemrect, c->focusitemrect, c->activebuttonrect, c->downbuttonrect, c->unenabledbuttonrect});
    if (const auto* l = dynamic_cast<const TksDataSkinListBox*>(record.get()))
      add({l->itemrect, l->activeitemrect, l->focusitemrect});
    if (const auto* s = dynamic_cast<const TksDataSkinScrollBarControl*>(record.get()))
      add({s->activeupbuttonrect, s->downupbuttonrect, s->activedownbuttonrect, s->downdownbuttonrect, s->thumbrect,
           s->activethumbrect, s->downthumbrect, s->glyphrect});
  }
  return pieces;
}

}  // namespace kelmar
