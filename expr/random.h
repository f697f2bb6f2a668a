#pragma once
// The process-wide pseudo-random generator: draws 0 to 32767. It is the
// program's own, so that Windows and Linux draw the same sequence for a seed.

void SeedRandom(unsigned seed);
// The generator's state: seeding with it later resumes the same sequence.
unsigned CurrentRandomState();
int DrawRandom();
