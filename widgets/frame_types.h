#pragma once
// Types the kit's bordered controls share with the frame functions.
#include "framework/typeinfo/type_info.h"

// Ordinals are stored in form descriptions: keep the order.
enum TFrameStyle {
  fsNone, fsFlat, fsGroove, fsBump, fsLowered, fsButtonDown, fsRaised, fsButtonUp, fsStatus, fsPopup, fsFlatBold
};
VM_DECLARE_ENUM(TFrameStyle);

// Ordinal n is set bit n, so the stored set values are 1, 2, 4 and 8.
enum TSide { sdLeft, sdTop, sdRight, sdBottom };
VM_DECLARE_ENUM(TSide);
using TSides = TSet<TSide>;

inline constexpr TSides AllSides{sdLeft, sdTop, sdRight, sdBottom};

// Horizontal placement of a control's text; ordinals are stored in form descriptions.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
VM_DECLARE_ENUM(TAlignment);

// Whether a hot-track colour is used as it is or by its opposite hue.
enum TWkHotTrackColorType { htctComplement, htctActual };
VM_DECLARE_ENUM(TWkHotTrackColorType);

enum TOrientation { orHorizontal, orVertical };
VM_DECLARE_ENUM(TOrientation);
