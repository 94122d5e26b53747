#pragma once
// The picture support's start-up: makes its classes known to the form loader by name and
// its graphic classes to the picture registry, and chooses the JPEG output depth from the
// screen. The program and tests call it before loading a form; calling it again changes
// nothing.
void RegisterPictureClasses();
