// Bitmaps: filled in with the bitmap painter.
