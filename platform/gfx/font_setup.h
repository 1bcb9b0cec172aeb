#pragma once

namespace quillet {

// Points fontconfig at the project's own configuration, which maps the font
// family names that documents use onto installed fonts, so that text measures
// the same on every machine. Call before the first font is created.
void InstallProjectFontConfig();

}  // namespace quillet
