#pragma once
// The tab family's enumerations and event signatures, shared by the strip's geometry, the
// tab control and the page control. Ordinals are stored in form descriptions: keep the order.
#include "framework/core/color.h"
#include "framework/core/geometry.h"
#include "framework/typeinfo/event.h"
#include "widgets/frame_types.h"

enum TWkTabOrientation { toTop, toLeft, toBottom, toRight };
enum TWkTabStyle { tsSingleSlant, tsDoubleSlant, tsCutCorner, tsRoundCorners };
enum TWkTabSequence { tsStandard, tsReverse };
enum TWkImagePosition { ipLeft, ipTop, ipRight, ipBottom, ipBack, ipStretch };
enum TWkHorizontalAlignment { haLeft, haCenter, haRight };
enum TWkVerticalAlignment { vaTop, vaCenter, vaBottom };
enum TWkTextStyle { tsHotTrack, tsSelected, tsUnselected, tsDisabledHighlight, tsDisabledShadow };
enum TWkHotTrackStyle { htsTab, htsText };
VM_DECLARE_ENUM(TWkTabOrientation);
VM_DECLARE_ENUM(TWkTabStyle);
VM_DECLARE_ENUM(TWkTabSequence);
VM_DECLARE_ENUM(TWkImagePosition);
VM_DECLARE_ENUM(TWkHorizontalAlignment);
VM_DECLARE_ENUM(TWkVerticalAlignment);
VM_DECLARE_ENUM(TWkTextStyle);
VM_DECLARE_ENUM(TWkHotTrackStyle);

class TCanvas;
using TWkTabChangingEvent = TEvent<void(TObject*, int, bool&)>;
using TWkTabCloseEvent = TEvent<void(TObject*, bool&)>;
using TWkGetTextColorEvent = TEvent<void(TObject*, int, TWkTextStyle, TColor&, bool&)>;
using TWkPaintBackgroundEvent = TEvent<void(TObject*, TCanvas*, const TRect&, bool&)>;
using TWkPaintTabBackgroundEvent = TEvent<void(TObject*, TCanvas*, int, const TRect&, bool&)>;
using TWkPaintCardBackgroundEvent = TEvent<void(TObject*, TCanvas*, int, const TRect&, bool&)>;
