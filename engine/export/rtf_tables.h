#pragma once
// The tables at the head of an RTF file: fonts and colours, and the code page
// and character sets they are written in.
#include <string>

#include "engine/base/dv_lists.h"

namespace quillet {

class TCustomDVData;
class TDVStyle;
class TFontInfos;
class TStream;

// The code page the file names in \ansicpg: the style sheet's, the system
// code page when that is 0.
int RTFDocCodePage(const TDVStyle& dvStyle);
// The character set a font is written with. The default set becomes the set
// of the file's code page: readers take \fcharset1 literally and misread
// double-byte text under it.
int RTFFontCharset(int charset, int docCodePage);

// Entry k of fontTable is the first text style with font k's name and
// character set; entry i of styleToFont is text style i's font.
void MakeFontTable(const TFontInfos& textStyles, int docCodePage, TDVIntegerList& fontTable,
                   TDVIntegerList& styleToFont);
// With clear, starts the list with the 17 colours every table begins with;
// then adds (once each) the colours of the styles and of every non-text item
// of the document.
void MakeRTFColorTable(const TCustomDVData& data, const TDVStyle& dvStyle, TDVColorList& colorList, bool clear);

// "{\fonttbl...}" and "{\colortbl;...}".
void SaveFontTable(TStream& stream, const TFontInfos& textStyles, const TDVIntegerList& fontTable,
                   int docCodePage);
void SaveColorTable(TStream& stream, const TDVColorList& colorList);

}  // namespace quillet
