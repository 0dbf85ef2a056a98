// Readers of embedded fonts (DefineFont, DefineFont2, DefineFont3), static
// text (DefineText, DefineText2) and edit text fields (DefineEditText), each
// from the tag body after the character id.
#pragma once

#include "flash/movie.h"
#include "swf/byte_reader.h"

namespace flash {

// font_version is 1 to 3 for DefineFont to DefineFont3.
Font ReadFont(swf::ByteReader& in, int font_version);
// text_version is 1 or 2 for DefineText and DefineText2.
Text ReadText(swf::ByteReader& in, int text_version);
EditText ReadEditText(swf::ByteReader& in);

// The text of an HTML text field without its tags; line and paragraph
// breaks become '\n', the five basic entities are decoded.
std::string PlainTextOfHtml(const std::string& html);

}  // namespace flash
