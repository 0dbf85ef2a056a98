// JPEG decoding for the engine with the Windows Imaging Component.
#pragma once

namespace swf {

// Makes DecodeJpeg decode JPEG bitmaps with WIC (once per process).
void InstallWicJpegDecoder();

}  // namespace swf
