// The pictures of the extraction window's resource rows, drawn by code:
// sound, bitmap, JPEG and tag, in the order of swf::ResourceIcon.
#pragma once

#include <windows.h>
#include <commctrl.h>

// An image list of the four pictures at size × size pixels (32 for the
// large-icon view, 16 for the others). The caller owns it.
HIMAGELIST CreateResourceImageList(int size);
