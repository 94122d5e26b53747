#pragma once
// How many screen pixels the desktop windows give each surface pixel along each axis.
#include <string>

inline constexpr int kMaxScale = 3;

// From the environment's values (null when unset): VELMORATH_SCALE when set, an integer
// from 1 to kMaxScale (anything else is refused: `refusal` says why and the scale is 1);
// otherwise GDK_SCALE when it is a positive integer (at most kMaxScale is used); otherwise 1.
int ScaleFromEnvironment(const char* velmorathScale, const char* gdkScale, std::string& refusal);
