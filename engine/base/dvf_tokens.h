#pragma once
// Reading and writing the pieces of DVF lines: whole lines, space-separated
// tokens, integers, quoted style names, tags and hexadecimal bodies.
//
// A line ends with CR LF. A token ends at a space or at the end of the line,
// and a reader skips exactly one space after it. Readers take the rest of a
// line as a std::string_view and advance it past what they read; the end of
// the view is the end of the line.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/base/shared_routines.h"

namespace quillet {

class TStream;
class TDVStyle;

// ---- Writing ----

// The bytes of s.
void DVFWrite(TStream& stream, std::string_view s);
// s and CR LF.
void DVFWriteLine(TStream& stream, std::string_view s);
// 8-bit text for a data line: CR and LF become spaces, so that the text
// never splits its record or stands where a header is expected.
std::string DVFSafeLine(std::string_view s);
// s, then ") " when continueLine is true, else CR LF.
void DVFWriteLineX(TStream& stream, std::string_view s, bool continueLine);

// A text style for a record: with useStyleNames and a style that exists, its
// StyleName in double quotes with any quote inside doubled; otherwise the
// number in decimal (negative numbers always so).
std::string DVFSaveText(const TDVStyle& dvStyle, bool useStyleNames, int32_t styleNo);
// The same for a paragraph style.
std::string DVFSavePara(const TDVStyle& dvStyle, bool useStyleNames, int32_t paraNo);
// An item's paragraph style: -1 when forceSameAsPrev, else paraNo.
// useStyleNames is the document's dvfoUseStyleNames.
std::string DVFItemSavePara(int32_t paraNo, const TDVStyle& dvStyle, bool useStyleNames, bool forceSameAsPrev);

// A tag as one token. Integer tags are written in decimal. A string tag that
// is none or empty is written "0". Any other string tag is written unchanged
// unless it would not read back as itself: when it is "0", contains a space,
// CR or LF, or starts with "%", it is written as "%" followed by the tag with
// each space, "%", CR and LF as %20, %25, %0D, %0A, and a first character "0"
// as %30. DVFReadTag decodes a token only when it is exactly the form
// written here for some tag, so a plain tag from older files that starts with
// "%" reads back as itself unless it happens to be such a form.
std::string DVFSaveTag(bool tagsArePChars, const TDVTag& tag);

// The whole stream, from its start, as hexadecimal text: two upper-case
// digits per byte. The stream's position ends at its end.
std::string DVFStream2TextString(TStream& stream);
// A data line of bytes: hexadecimal text and CR LF, or, in binary mode, a
// block (a 4-byte little-endian length, then the bytes).
void DVFWriteDataLine(TStream& stream, std::span<const uint8_t> bytes, bool binary);

// ---- Reading ----

// The characters up to the next space or the end; true when s is not empty.
bool DVFReadString(std::string_view& p, std::string& s);
// An optional "-" and decimal digits up to a space or the end. Fails, with p
// unchanged, when there are no digits, a non-digit follows them, or the value
// does not fit in 32 bits.
bool DVFReadInteger(std::string_view& p, int32_t& value);
// A double-quoted string in which a doubled quote stands for one, then one
// space is skipped. Fails with p unchanged when p does not start with a
// quote; an unterminated string fails with p at the end of the line. s is
// empty after a failure.
bool DVFReadText(std::string_view& p, std::string& s);
// A token. With string tags "0" gives none and an escaped form (see
// DVFSaveTag) is decoded; anything else is taken as it is. With integer tags
// the token must be a 32-bit decimal number. False when the token is empty or
// not a valid integer tag.
bool DVFReadTag(std::string_view& p, bool tagsArePChars, TDVTag& tag);

// The index of the first style with exactly this name; 0 when none has it.
int32_t TextNameToIndex(const TDVStyle& dvStyle, std::string_view name);
int32_t ParaNameToIndex(const TDVStyle& dvStyle, std::string_view name);
// A style number, or, when there is none, a quoted style name looked up by
// name (an unknown name gives 0). False when neither can be read. The number
// is not checked against the styles that exist; the caller does that.
bool DVFReadTextStyle(const TDVStyle& dvStyle, std::string_view& p, int32_t& styleNo);
bool DVFReadParaStyle(const TDVStyle& dvStyle, std::string_view& p, int32_t& paraNo);

// Hexadecimal text (either case) into the stream, which is sized to half the
// text's length and left positioned at its start. False for an odd length or
// at the first character that is not a hexadecimal digit; the bytes converted
// before it stay in the stream.
bool DVFTextString2Stream(std::string_view s, TStream& stream);

}  // namespace quillet
