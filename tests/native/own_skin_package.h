#pragma once
// The program's own skin as the build packs it (KELMAR_SKIN_PACKAGE), loaded
// once for the tests of a program that reads it.
#include "base/file.h"
#include "skin/data/compressed_stored_skin.h"
#include "skin/data/skin_data.h"

namespace kelmar {

inline const TksSkinData& OwnSkinPackage() {
  static const TksSkinData* skin = [] {
    auto* stored = new TksCompressedStoredSkin;
    stored->CompressedData() = ReadWholeFile(KELMAR_SKIN_PACKAGE);
    auto* data = new TksSkinData;
    data->LoadCompressedSkin(*stored);
    delete stored;
    return data;
  }();
  return *skin;
}

}  // namespace kelmar
