#pragma once
// The codes the host passes to the editor's style conversions: its font
// commands, protection and revision marks for text styles, its alignment,
// indent and colour commands for paragraph styles.
#include <cstdint>

#include "engine/model/style_conversion.h"

namespace quillet {

// Text styles.
constexpr int32_t TEXT_BOLD = 1;
constexpr int32_t TEXT_ITALIC = 2;
constexpr int32_t TEXT_UNDERLINE = 3;
constexpr int32_t TEXT_APPLYFONTNAME = 4;
constexpr int32_t TEXT_APPLYFONT = 5;
constexpr int32_t TEXT_APPLYFONTSIZE = 6;
constexpr int32_t TEXT_COLOR = 7;
constexpr int32_t TEXT_BACKCOLOR = 8;
constexpr int32_t TEXT_STRIKEOUT = 9;
constexpr int32_t TEXT_PROTECTION = 10;
constexpr int32_t CELL_PROTECTION = 11;
constexpr int32_t CELL_EDITABLE = 12;
// The editor's own revision codes.
constexpr int32_t TEXT_TraceDelete = Orvane_TraceSaveDelet;
constexpr int32_t TEXT_TraceInsert = Orvane_TraceSaveInsert;

// Paragraph styles.
constexpr int32_t PARA_ALIGNMENT = 1;
constexpr int32_t PARA_INDENTINC = 2;
constexpr int32_t PARA_INDENTDEC = 3;
constexpr int32_t PARA_COLOR = 4;
constexpr int32_t PARA_LEFTINDENT = 5;
constexpr int32_t PARA_RIGHTINDENT = 6;
constexpr int32_t PARA_FIRSTINDENT = 7;

}  // namespace quillet
