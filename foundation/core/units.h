// Unit factors of the print layout. Points are printer's points (72.27 to
// the inch), decipoints tenths of them. Portable: no Windows headers.
#pragma once

inline double PointsToInches(double v) { return v * 0.013837; }
inline double MillimetresToPoints(double v) { return v * 2.849; }
inline double InchesToMillimetres(double v) { return v * 25.4; }
inline double MillimetresToInches(double v) { return v * 0.03937; }
inline double InchesToDecipoints(double v) { return v * 722.7; }
inline double DecipointsToMillimetres(double v) { return v * 0.0351; }
inline double DecipointsToInches(double v) { return v * 0.0013837; }
inline double MillimetresToDecipoints(double v) { return v * 28.49; }
inline double InchesToPoints(double v) { return v * 72.27; }
inline double PointsToMillimetres(double v) { return v * 0.351; }
