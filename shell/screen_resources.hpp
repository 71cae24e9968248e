#pragma once
// Fits the screen-dependent resources to the display mode just set.

// Installs the palette, measures the screen, gives every player of the level a
// camera at its car, and loads the cockpit, sky and menu bitmaps for this size.
void LoadScreenResources();
