#pragma once
// The value axis of the graph and the statistics of the data set.

struct GraphScale {
    double step = 0;    // grid line spacing in value units; 0: no usable scale
    double axisMin = 0; // value at the bottom edge of the plot area
    double axisMax = 0; // value at the top edge of the plot area
    double dataMin = 0; // smallest value, infinities included
    double dataMax = 0; // largest value, infinities included
    double mean = 0;    // sum / count, non-finite values included
    int labelChars = 0; // characters of the longest value label (" %.4g ")

    // Recomputes every field from the values; every caller passes 8 divisions.
    void SetData(const double* values, int count, int divisions);
};
extern GraphScale graphScale;

// The smallest of ..., 0.1, 0.2, 0.25, 0.5, 1, 2, 2.5, 5, 10, ... not below raw.
double NiceStep(double raw);
