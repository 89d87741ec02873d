#include "imageio/dib.h"

namespace kelmar {

void ByteWriter::Header(const DibHeader& h) {
  U32(uint32_t(kDibHeaderSize));
  I32(h.width);
  I32(h.height);
  U16(h.planes);
  U16(h.bit_count);
  U32(h.compression);
  U32(h.size_image);
  I32(h.x_pels_per_meter);
  I32(h.y_pels_per_meter);
  U32(h.clr_used);
  U32(h.clr_important);
}

}  // namespace kelmar
