#pragma once
// The calculator's display state: how numbers are read and written. The menus
// change it; the calculation line and the plot read lines in numberBase. It
// lives for the whole run and starts afresh each time: base 10, digit grouping
// on, exponential notation off.

// 2, 8, 10 or 16: the base in which lines are read and results are written.
extern int numberBase;
// 0, or the new base while a base change re-evaluates the line; results are
// then written in it instead of numberBase.
extern int pendingDisplayBase;
// Results are written with digit grouping.
extern int digitGrouping;
// Every base-10 result is written with an exponent.
extern int exponentialNotation;
