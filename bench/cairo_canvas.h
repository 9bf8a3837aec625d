// The cairo canvas of the comparison benchmark: start before drawing, stop after.
#pragma once

void cairo_canvas_start();
void cairo_canvas_stop();
// Finish whatever drawing cairo still holds, so the frame's pixels are in memory.
void cairo_canvas_flush();
