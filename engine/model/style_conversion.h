#pragma once
// The editor's style-conversion callback: commands and revision tracking ask
// through it for the text style that a change should give to text. The host
// answers the revision codes with its reviewer's marking styles.
#include <cstdint>
#include <functional>

namespace quillet {

// Sender, current style number, caller's code, whether the style is applied
// to text, and the new style number (holding the current one on entry).
using TDVStyleConversionEvent =
    std::function<void(void* sender, int32_t styleNo, int32_t userData, bool appliedToText, int32_t& newStyleNo)>;

// Codes the revision tracking passes: text marked as deleted and as inserted
// by the current reviewer.
constexpr int32_t Orvane_TraceSaveDelet = 100;
constexpr int32_t Orvane_TraceSaveInsert = 101;

}  // namespace quillet
