// Stands in for the picture writer of HTML export until that is linked in:
// its own definition replaces this weak one.
#include "engine/model/dv_data.h"

namespace quillet {

[[gnu::weak]] std::string TCustomDVData::SavePicture(bool, const std::string&, const std::string&, int&, bool, TColor,
                                                     const TGraphic&) {
  throw EDocViewError("Pictures of HTML pages cannot be saved");
}

}  // namespace quillet
