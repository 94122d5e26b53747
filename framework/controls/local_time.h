#pragma once
// The local date and time now, as a date-time value to the millisecond. It comes from the
// running window system's backend, so the headless backend's virtual clock drives it in
// tests; without a window system it is the C library's local time.
#include "framework/core/date_time.h"

TDateTime Now();
