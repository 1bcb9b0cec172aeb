// The integer properties of each item class by name, one table per class.
#include <array>

#include "engine/model/break_item.h"
#include "engine/model/bullet_item.h"
#include "engine/model/control_item.h"
#include "engine/model/picture_item.h"

namespace quillet {

namespace {

template <int32_t Lo, int32_t Hi>
bool InRange(int32_t v) {
  return v >= Lo && v <= Hi;
}

constexpr int32_t kMaxSide = 32767;

const std::array<TDVIntProp<TDVRectItemInfo>, 4> kRectProps{{
    {"VAlign", [](const TDVRectItemInfo& o) { return int32_t{o.VAlign}; },
     [](TDVRectItemInfo& o, int32_t v) {
       if (!InRange<dvvaBaseline, dvvaMiddle>(v)) return false;
       o.VAlign = static_cast<TDVVAlign>(v);
       return true;
     }},
    {"VShift", [](const TDVRectItemInfo& o) { return o.VShift; },
     [](TDVRectItemInfo& o, int32_t v) {
       o.VShift = v;
       return true;
     }},
    {"VShiftAbs", [](const TDVRectItemInfo& o) { return int32_t{o.VShiftAbs}; },
     [](TDVRectItemInfo& o, int32_t v) {
       o.VShiftAbs = v != 0;
       return true;
     }},
    {"MinHeightOnPage", [](const TDVRectItemInfo& o) { return o.MinHeightOnPage; },
     [](TDVRectItemInfo& o, int32_t v) {
       if (v < 0) return false;
       o.MinHeightOnPage = v;
       return true;
     }},
}};

const std::array<TDVIntProp<TDVGraphicItemInfo>, 2> kGraphicProps{{
    {"ImageWidth", [](const TDVGraphicItemInfo& o) { return o.ImageWidth; },
     [](TDVGraphicItemInfo& o, int32_t v) {
       if (!InRange<0, kMaxSide>(v)) return false;
       o.ImageWidth = v;
       return true;
     }},
    {"ImageHeight", [](const TDVGraphicItemInfo& o) { return o.ImageHeight; },
     [](TDVGraphicItemInfo& o, int32_t v) {
       if (!InRange<0, kMaxSide>(v)) return false;
       o.ImageHeight = v;
       return true;
     }},
}};

const std::array<TDVIntProp<TDVBreakItemInfo>, 3> kBreakProps{{
    {"LineWidth", [](const TDVBreakItemInfo& o) { return int32_t{o.LineWidth}; },
     [](TDVBreakItemInfo& o, int32_t v) {
       if (!InRange<1, 255>(v)) return false;
       o.LineWidth = static_cast<uint8_t>(v);
       return true;
     }},
    {"Style", [](const TDVBreakItemInfo& o) { return int32_t{o.Style}; },
     [](TDVBreakItemInfo& o, int32_t v) {
       if (!InRange<dvbsLine, dvbs3d>(v)) return false;
       o.Style = static_cast<TDVBreakStyle>(v);
       return true;
     }},
    {"Color", [](const TDVBreakItemInfo& o) { return static_cast<int32_t>(o.Color); },
     [](TDVBreakItemInfo& o, int32_t v) {
       o.Color = static_cast<TColor>(v);
       return true;
     }},
}};

const std::array<TDVIntProp<TDVBulletItemInfo>, 1> kBulletProps{{
    {"ImageIndex", [](const TDVBulletItemInfo& o) { return o.ImageIndex; },
     [](TDVBulletItemInfo& o, int32_t v) {
       if (v < 0) return false;
       o.ImageIndex = v;
       return true;
     }},
}};

const std::array<TDVIntProp<TDVHotspotItemInfo>, 1> kHotspotProps{{
    {"HotImageIndex", [](const TDVHotspotItemInfo& o) { return o.HotImageIndex; },
     [](TDVHotspotItemInfo& o, int32_t v) {
       if (v < 0) return false;
       o.HotImageIndex = v;
       return true;
     }},
}};

const std::array<TDVIntProp<TDVControlItemInfo>, 1> kControlProps{{
    {"PercentWidth", [](const TDVControlItemInfo& o) { return o.PercentWidth; },
     [](TDVControlItemInfo& o, int32_t v) {
       if (!InRange<0, 100>(v)) return false;
       o.PercentWidth = v;
       return true;
     }},
}};

}  // namespace

bool TDVRectItemInfo::GetIntPropertyByName(std::string_view name, int32_t& value) const {
  return GetFrom<TDVRectItemInfo>(kRectProps, *this, name, value);
}
bool TDVRectItemInfo::SetIntPropertyByName(std::string_view name, int32_t value) {
  return SetIn<TDVRectItemInfo>(kRectProps, *this, name, value) == 1;
}

bool TDVGraphicItemInfo::GetIntPropertyByName(std::string_view name, int32_t& value) const {
  return GetWithBase<TDVGraphicItemInfo, TDVRectItemInfo>(kGraphicProps, *this, name, value);
}
bool TDVGraphicItemInfo::SetIntPropertyByName(std::string_view name, int32_t value) {
  return SetWithBase<TDVGraphicItemInfo, TDVRectItemInfo>(kGraphicProps, *this, name, value);
}

bool TDVBreakItemInfo::GetIntPropertyByName(std::string_view name, int32_t& value) const {
  return GetFrom<TDVBreakItemInfo>(kBreakProps, *this, name, value);
}
bool TDVBreakItemInfo::SetIntPropertyByName(std::string_view name, int32_t value) {
  return SetIn<TDVBreakItemInfo>(kBreakProps, *this, name, value) == 1;
}

bool TDVBulletItemInfo::GetIntPropertyByName(std::string_view name, int32_t& value) const {
  return GetWithBase<TDVBulletItemInfo, TDVRectItemInfo>(kBulletProps, *this, name, value);
}
bool TDVBulletItemInfo::SetIntPropertyByName(std::string_view name, int32_t value) {
  return SetWithBase<TDVBulletItemInfo, TDVRectItemInfo>(kBulletProps, *this, name, value);
}

bool TDVHotspotItemInfo::GetIntPropertyByName(std::string_view name, int32_t& value) const {
  return GetWithBase<TDVHotspotItemInfo, TDVBulletItemInfo>(kHotspotProps, *this, name, value);
}
bool TDVHotspotItemInfo::SetIntPropertyByName(std::string_view name, int32_t value) {
  return SetWithBase<TDVHotspotItemInfo, TDVBulletItemInfo>(kHotspotProps, *this, name, value);
}

bool TDVControlItemInfo::GetIntPropertyByName(std::string_view name, int32_t& value) const {
  return GetWithBase<TDVControlItemInfo, TDVRectItemInfo>(kControlProps, *this, name, value);
}
bool TDVControlItemInfo::SetIntPropertyByName(std::string_view name, int32_t value) {
  return SetWithBase<TDVControlItemInfo, TDVRectItemInfo>(kControlProps, *this, name, value);
}

}  // namespace quillet
