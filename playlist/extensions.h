// File names and extensions as the player sees them. A path's file name is
// the text after its last "\" or ":"; its extension is the text from the
// last "." of the file name to the end (empty when the file name has no
// "."). An extension belongs to a list when, upper-cased, it occurs anywhere
// inside the list's text; an empty extension belongs to no list.
#pragma once

#include <string>
#include <string_view>

// Files taken into the playlist from a drop or a search.
inline constexpr char kMediaExtensions[] = ".SWF.AVI.MP2.MP3.MPEG.MPG.ASF.MID.WM.WMV.WAV.DAT";
// Playlist files taken from a drop.
inline constexpr char kPlaylistExtensions[] = ".M3U.LIS.PLS.KPL";

// The byte form is for text in a single-byte code page or ASCII names; text
// in a double-byte code page is best handled in its wide form.
std::string_view FileNamePart(std::string_view path);
std::wstring_view FileNamePart(std::wstring_view path);

// Upper-cased (ASCII letters only) extension, "" when there is none.
std::string UpperExtension(std::string_view path);
std::wstring UpperExtension(std::wstring_view path);

// The substring test of the extension against an ASCII list text.
bool ExtensionInList(std::string_view path, std::string_view list);
bool ExtensionInList(std::wstring_view path, std::string_view list);

inline bool IsMediaFile(std::string_view path) { return ExtensionInList(path, kMediaExtensions); }
inline bool IsMediaFile(std::wstring_view path) { return ExtensionInList(path, kMediaExtensions); }
inline bool IsPlaylistFile(std::string_view path) { return ExtensionInList(path, kPlaylistExtensions); }
inline bool IsPlaylistFile(std::wstring_view path) { return ExtensionInList(path, kPlaylistExtensions); }
