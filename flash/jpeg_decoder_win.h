// JPEG decoding for the engine with the Windows Imaging Component.
#pragma once

namespace flash {

// Makes the engine decode JPEG bitmaps with WIC (once per process).
void InstallWicJpegDecoder();

}  // namespace flash
