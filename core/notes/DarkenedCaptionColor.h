#pragma once

// The caption bar colour of a note with a darkened caption: every non-zero red, green and
// blue component of color (0x00BBGGRR) is lowered by 3 * step, but not below 0; zero
// components stay zero. The high byte of the result is 0.
int DarkenedCaptionColor(int color, int step);
