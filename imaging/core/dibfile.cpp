#include "imaging/core/dibfile.h"

namespace tsl {

int WriteEmbeddedDibImage(ByteStream& f, const uint8_t* block, size_t size) {
  return _TDIB().Write(&f, block, size);
}

}  // namespace tsl
