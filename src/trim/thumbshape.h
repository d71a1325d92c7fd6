#pragma once

#include "trim/rangeslidertypes.h"

// The thumb outlines of the range slider. Shapes are drawn on a small grid and scaled by
// ThumbScale; the min and max thumbs are mirror images turned to face the tick side.

inline constexpr int ThumbScale = 3;

// The outline of a style on the small grid, hot spot first.
TmkPointsArray BaseThumbShape(TmkThumbStyle style);

// Mirrors (x negated, point order reversed), turns by quarter turns ((x, y) -> (-y, x) each),
// moves negative minima to 0 and scales by ThumbScale; the hot spot goes along.
TmkPointsArray TransformThumbShape(TmkPointsArray shape, bool mirrored, int quarterTurns);

struct TmkThumbShapes {
    TmkPointsArray minThumb;
    TmkPointsArray maxThumb;
};
TmkThumbShapes MakeThumbShapes(TmkThumbStyle style, TmkOrientation orientation,
                               TmkTickStyle tickStyle);
