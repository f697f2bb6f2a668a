#include "numtext/display_state.h"

int numberBase = 10;
int pendingDisplayBase = 0;
int digitGrouping = 1;
int exponentialNotation = 0;
