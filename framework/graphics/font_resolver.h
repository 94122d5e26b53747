#pragma once
// Finds the font file for a font description through fontconfig, trying the substitutes the
// system's two face names need on a desktop that lacks them.
#include <string>
#include <vector>

struct TFontFile {
  std::string Path;
  int Index = 0;
  std::string Family;
  // fontconfig's weight of the face found, converted to the 100..900 scale (700 = bold).
  int Weight = 400;
  bool Italic = false;
};

// The names to try, in order: the name itself, then its substitutes.
std::vector<std::string> FontFamilyCandidates(const std::string& name);

// The face of the first candidate family fontconfig actually has (bold asks for weight 700);
// when none of them is installed, fontconfig's best match for the name. Raises
// EOutOfResources when fontconfig finds no font at all.
// fontconfig's configuration does not change while the program runs, so each answer is
// kept. Safe to call from any thread.
TFontFile ResolveFontFile(const std::string& name, bool bold, bool italic);

struct TFontRequest {
  std::string Name;
  bool Bold = false, Italic = false;
};
// Loads fontconfig's configuration and resolves `faces`, so that a later ResolveFontFile
// for them answers at once: start-up runs it beside the display's set-up.
void PrepareFontResolver(const std::vector<TFontRequest>& faces);
