// The cairo canvas of the comparison benchmark: start before drawing, stop after.
#pragma once

void cairo_canvas_start();
void cairo_canvas_stop();
