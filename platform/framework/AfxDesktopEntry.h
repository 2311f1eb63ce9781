#pragma once

// Names the program's desktop entry (without ".desktop"), through which Wayland compositors and
// X11 desktops find the program's name and icon for its windows. Called before the windowing
// application starts.
void AfxSetDesktopFileName(const char* name);
