// The tab control's records, its two colour groups and its cache of tab regions.
#include <algorithm>

#include "framework/core/exceptions.h"
#include "framework/typeinfo/class_info.h"
#include "widgets/property_write.h"
#include "widgets/tab_control.h"

// ---- class infos ----

const TClassInfo& TWkTabColors::ClassInfo() {
  static const TClassInfo info =
      DefineClass<TWkTabColors, TPersistent>("TWkTabColors")
          .Property("HighlightBar", &TWkTabColors::HighlightBar, &TWkTabColors::SetHighlightBar, Default(clHighlight))
          .Property("Shadow", &TWkTabColors::Shadow, &TWkTabColors::SetShadow, Default(clBtnFace))
          .Property("Unselected", &TWkTabColors::Unselected, &TWkTabColors::SetUnselected, Default(clWindow));
  return info;
}

const TClassInfo& TWkTextColors::ClassInfo() {
  static const TClassInfo info =
      DefineClass<TWkTextColors, TPersistent>("TWkTextColors")
          .Property("DisabledHighlight", &TWkTextColors::DisabledHighlight, &TWkTextColors::SetDisabledHighlight,
                    Default(clBtnHighlight))
          .Property("DisabledShadow", &TWkTextColors::DisabledShadow, &TWkTextColors::SetDisabledShadow,
                    Default(clBtnShadow))
          .Property("Selected", &TWkTextColors::Selected, &TWkTextColors::SetSelected, Default(clBtnText))
          .Property("Unselected", &TWkTextColors::Unselected, &TWkTextColors::SetUnselected, Default(clBtnText));
  return info;
}

// ---- writers ----

void TWkTabColors::SetHighlightBar(TColor value) { WriteProperty(*this, FHighlightBar, value, weChanged); }
void TWkTabColors::SetShadow(TColor value) { WriteProperty(*this, FShadow, value, weChanged); }
void TWkTabColors::SetUnselected(TColor value) { WriteProperty(*this, FUnselected, value, weChanged); }

void TWkTabColors::CopyFrom(const TPersistent* source) {
  const auto* other = dynamic_cast<const TWkTabColors*>(source);
  if (other == nullptr) return TPersistent::CopyFrom(source);
  FHighlightBar = other->FHighlightBar;
  FShadow = other->FShadow;
  FUnselected = other->FUnselected;
  Changed();
}

void TWkTextColors::SetDisabledHighlight(TColor value) { WriteProperty(*this, FDisabledHighlight, value, weChanged); }
void TWkTextColors::SetDisabledShadow(TColor value) { WriteProperty(*this, FDisabledShadow, value, weChanged); }
void TWkTextColors::SetSelected(TColor value) { WriteProperty(*this, FSelected, value, weChanged); }
void TWkTextColors::SetUnselected(TColor value) { WriteProperty(*this, FUnselected, value, weChanged); }

void TWkTextColors::CopyFrom(const TPersistent* source) {
  const auto* other = dynamic_cast<const TWkTextColors*>(source);
  if (other == nullptr) return TPersistent::CopyFrom(source);
  FDisabledHighlight = other->FDisabledHighlight;
  FDisabledShadow = other->FDisabledShadow;
  FSelected = other->FSelected;
  FUnselected = other->FUnselected;
  Changed();
}

// ---- the records ----

TWkTabData& TWkTabDataList::Add(const TWkTabData& data) {
  FItems.push_back(std::make_unique<TWkTabData>(data));
  return *FItems.back();
}

// ---- the region cache ----

void TWkTabRegionCache::SetCapacity(int value) {
  if (value == 0 || value < -1) throw EInvalidOperation("Capacity must be -1 (to cache all regions) or > 0");
  FCapacity = value;
  Trim();
}

const TRegion* TWkTabRegionCache::Find(const TRect& rect) {
  auto it = std::find_if(FItems.begin(), FItems.end(), [&](const TWkTabRegionCacheItem& i) { return i.Rect == rect; });
  if (it == FItems.end()) return nullptr;
  FItems.splice(FItems.begin(), FItems, it);
  return &FItems.front().Region;
}

const TRegion& TWkTabRegionCache::Add(const TRect& rect, TRegion region) {
  FItems.push_front({rect, std::move(region)});
  Trim();
  return FItems.front().Region;
}

void TWkTabRegionCache::Trim() {
  if (FCapacity < 0) return;
  while (int(FItems.size()) > FCapacity) FItems.pop_back();
}
