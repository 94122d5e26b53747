#pragma once
// The program's start-up on a backend, shared by main() and the tests: registers the
// classes the descriptions name, gives the application its title and icon, creates the
// main window and then the About window. A failure while a window is read passes on.
#include <string_view>

class TApplication;
class TPlatformBackend;

void StartVelmorath(TApplication& application, TPlatformBackend& backend, std::string_view programPath);
// Resolves the fonts the windows use ahead of reading them (from any thread).
void PrepareVelmorathFonts();
// Registers the widget kit's and the picture support's classes for streaming.
void RegisterApplicationClasses();
