#pragma once
// The text of a text item, treated alike in its two forms: bytes in the code
// page of the item's text style, or, when the item has dvioUnicode, UTF-16LE
// code units two bytes each (an odd last byte is not a unit and is ignored).
//
// Positions are 1-based and count bytes of 8-bit text and code units of
// UTF-16 text, as caret offsets do. No routine here splits a double-byte
// character (stepped by the lead bytes of `codePage`) or a surrogate pair: a
// position inside one is taken as the start of that character, and a range
// that ends inside one takes the whole character.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/base/item_types.h"
#include "platform/gfx/canvas.h"

namespace quillet {

// The system has the Unicode measuring and stepping functions. Always so on
// this platform; kept so that code reads like the routines it mirrors.
constexpr bool DVNT = true;

// "Can't perform Unicode operation" for a byte length that is not a whole
// number of UTF-16 units.
[[noreturn]] void DVRaiseUni();
void DVCheckUni(size_t byteLength);

// The code units of UTF-16LE bytes, and back.
std::u16string DVU_Units(std::string_view bytes);
std::string DVU_UnitBytes(std::u16string_view units);

inline bool DVU_IsUnicode(TDVItemOptions options) { return (options & dvioUnicode) != 0; }

// Characters: the byte length, halved for Unicode.
int DVU_Length(std::string_view s, TDVItemOptions options);
// `count` characters from character `index` (an index below 1 counts as 1;
// the range is cut at the end of the text).
std::string DVU_Copy(std::string_view s, int index, int count, TDVItemOptions options, int codePage);
void DVU_Delete(std::string& s, int index, int count, TDVItemOptions options, int codePage);
// Inserts `source` (in the same form as s) before character `index`; past
// the end it is appended.
void DVU_Insert(std::string_view source, std::string& s, int index, TDVItemOptions options, int codePage);
// Character `index` is a space (for Unicode: the unit 32).
bool DVU_IsSpace(std::string_view s, int index, TDVItemOptions options);

// Character stepping, as the caret moves: the position of the next / the
// previous character. Double-byte characters and surrogate pairs are one
// step, and so is a UTF-16 character with the combining marks after it.
// Next at the end answers Length + 1; Prev at the first character answers 1.
int DVU_NextCharIndex(std::string_view s, int index, TDVItemOptions options, int codePage);
int DVU_PrevCharIndex(std::string_view s, int index, TDVItemOptions options, int codePage);

// The 0-based index of the first code unit of UTF-16LE `text` equal to ch, or -1.
int DVU_StrScanW(std::string_view text, char16_t ch);
// Swaps the two bytes of every whole UTF-16 unit (big-endian text).
void DVU_SwapWordBytes(std::string& s);

// Measurement through the canvas, with its current font; 8-bit text is in
// the code page of the font's character set.
int32_t DVU_TextWidth(std::string_view s, TCanvas& canvas, TDVItemOptions options);
// How many characters fit into maxExtent pixels (a double-byte character or a
// surrogate pair fits whole or not at all). `dx`, when given, receives the x
// after each character, one entry per byte / code unit. Empty text: 0.
int DVU_GetTextExtentExPoint(TCanvas& canvas, std::string_view s, int32_t maxExtent, TDVItemOptions options,
                             std::vector<int32_t>* dx);
// The same, and `size` receives the extent of the whole text.
int DVU_GetTextExtentExPointPC(TCanvas& canvas, std::string_view s, TSize& size, TDVItemOptions options,
                               std::vector<int32_t>* dx, int32_t maxExtent);

// Caret x at every character boundary (Length + 1 entries) of a text that may
// mix directions, from the canvas's character placement. False, with
// posArray untouched, when the canvas gives no placement (or 8-bit text does
// not map one byte to one UTF-16 unit): the caller then measures in logical order.
bool DVU_GetTextCaretPos(TCanvas& canvas, std::string_view s, std::vector<int32_t>& posArray,
                         TDVItemOptions options);
// Draws characters selStart..selEnd (1-based, inclusive) of a mixed-direction
// text in its visual runs, each clipped to and filled over its rectangle from
// `top` to `top + height` (with the canvas's brush). False at once when biDi
// is false, and false when the canvas gives no placement: the caller then
// draws the selection as one run.
bool DVU_DrawSelectedTextEx(int32_t left, int32_t top, int32_t height, std::string_view s, TCanvas& canvas,
                            int selStart, int selEnd, TDVItemOptions options, bool biDi);

}  // namespace quillet
