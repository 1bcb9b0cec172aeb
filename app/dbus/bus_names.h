#pragma once
// The names under which hosts reach the control on the session bus. Hosts
// bind to them, so they are fixed once and never change between versions.

namespace quillet {

inline constexpr char kBusServiceName[] = "afxQuillet.Editor";
inline constexpr char kBusObjectPath[] = "/afxForm";
inline constexpr char kBusInterfaceName[] = "afxQuillet.Editor";

// Error replies: a member's failure with the error's message; a call refused
// while a database load or save runs; a text beyond the bus's message limit.
inline constexpr char kBusErrorFailed[] = "afxQuillet.Error.Failed";
inline constexpr char kBusErrorBusy[] = "afxQuillet.Error.Busy";
inline constexpr char kBusErrorTooLarge[] = "afxQuillet.Error.TooLarge";

}  // namespace quillet
