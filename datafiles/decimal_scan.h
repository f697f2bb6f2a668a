#pragma once
// The decimal number grammar of text data files, read the same way on every
// platform and correctly rounded:
//   number   -> [sign] mantissa [exponent]
//   mantissa -> digits ["." [digits]] | "." digits
//   exponent -> ("e" | "E") [sign] digits      (only when digits follow)
// There are no hexadecimal numbers and no words such as inf or nan. Numbers
// beyond the double range become infinite, those below it zero, as strtod
// makes them.
#include <cstddef>

struct DecimalScan {
    size_t length = 0;      // bytes of the number; 0 when no number was converted
    bool atDataEnd = false; // the scan ran into the end of the text, so more
                            // text could have made the number longer
    double value = 0;
};

// Scans the number at the start of text (size bytes, no terminator needed).
DecimalScan ScanDecimalNumber(const char* text, size_t size);
