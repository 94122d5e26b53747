#pragma once
// Writes a bitmap as an 8-bit RGB image file in the portable network graphics format,
// for screenshots and for looking at what a failing test drew.
#include <string>

class TBitmap;

// Raises EStreamError "Cannot create file %s" when the file cannot be written.
void SaveBitmapToPng(const TBitmap& bitmap, const std::string& path);
