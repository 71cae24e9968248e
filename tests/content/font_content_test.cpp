// Fonts: filled in with the font tool.
