#include "framework/handles.h"

#include <commctrl.h>

namespace kelmar {

void ImageListDeleter::operator()(HIMAGELIST h) const { ImageList_Destroy(h); }

}  // namespace kelmar
