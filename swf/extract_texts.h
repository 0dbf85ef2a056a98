// The texts that the SWF reader and the exporters write into the information
// and message lists of the extraction window, in UTF-8.
#pragma once

namespace swf::text {

// Header lines.
inline constexpr const char* kSignature = "标志：";
inline constexpr const char* kVersion = "版本：";
inline constexpr const char* kFileLength = "文件长度：";
inline constexpr const char* kRectByte = "bit位：";
inline constexpr const char* kRectBits = "bit数：";
inline constexpr const char* kRectRest = "字节数：";
inline constexpr const char* kFrameRate = "帧速度：";
inline constexpr const char* kFrameCount = "总帧数";

// Census lines.
inline constexpr const char* kIdsFound = "共发现ID：";
inline constexpr const char* kId = "ID:";
inline constexpr const char* kInAll = "共有";

// Messages and captions.
inline constexpr const char* kCannotExtract = "不能提取信息!";
inline constexpr const char* kCannotRead = "无法读取";
inline constexpr const char* kStream = "流";

}  // namespace swf::text
