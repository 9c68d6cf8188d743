// The plug-in's random numbers: the C runtime's 15-bit linear congruential generator, kept here so
// that every build draws the same sequence from the same start.
#ifndef VTR3_RANDOM_H
#define VTR3_RANDOM_H

// The next raw value, 0 to 32767. The state starts at 1 and is never reseeded.
int VTR3RandomRaw();

// An integer from lo up to, but not including, hi; lo when hi is not above lo.
int VTR3Random(int lo, int hi);

#endif
