#include "slideshow/newscroller.h"

// The owning window writes XPage and YPage itself.
void TNewScroller::SetPageSize() {}
