#pragma once
// The mathematical functions of the expression language, written here from
// additions, multiplications, divisions and square roots only, so that the
// Windows and the Linux build give bit-identical results for the same input
// (the C runtimes' own sin, pow and friends differ in their last bits).
// They follow the usual IEEE conventions for zeros, infinities and NaN.

double PortableSin(double x);
double PortableCos(double x);
double PortableTan(double x);
double PortableAsin(double x);
double PortableAcos(double x);
double PortableAtan(double x);
double PortableExp(double x);
double PortableLog(double x);   // natural logarithm
double PortableLog10(double x); // base-10 logarithm
double PortablePow(double x, double y);
