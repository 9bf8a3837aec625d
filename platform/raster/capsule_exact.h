// Capsules near the surface, filled with exact integer arithmetic: the fast
// path of fill_capsule, for the wide lines and outlines a program draws.
#pragma once

#include "spans.h"
#include "wide_pen.h"

namespace morlu::raster {

// Fill the capsule as fill_capsule does, if its half-pixel coordinates and
// width are small enough for the exact path to give the same pixels; returns
// false, having drawn nothing, otherwise.
bool fill_capsule_exactly(const SpanWriter& out, const Capsule& c);

}  // namespace morlu::raster
