/* Shapes, colours and text: a picture made of the five drawing calls.
 *
 * The picture's origin is its centre: x runs from -300 (left) to 300 (right)
 * and y from -250 (bottom) to 250 (top). Colours are palette indices 0..23; the
 * strip at the bottom shows all 24 with their numbers. A width of 0 fills a
 * shape, a larger width outlines it.
 *
 * Nothing here reacts to the user: the loop waits for events and redraws the
 * same picture until the window is closed or Ctrl+Q quits.
 */
#include <morlu/canvas.h>

/* A house, a sun and some text, then the palette strip. */
static void draw_picture(void) {
    canvas_clear();
    canvas_text(0, -280, 215, 24, "Shapes, colours and text");

    /* Colour first, then the corners; the last argument is the width. */
    canvas_rectangle(19, -299, -70, 299, -120, 0);       /* grass: forest green, filled */
    canvas_rectangle(16, -250, 60, -90, -70, 0);         /* wall: chalk */
    canvas_rectangle(0, -250, 60, -90, -70, 2);          /* the wall's outline: black, 2 wide */
    canvas_triangle(2, -270, 60, -170, 150, -70, 60, 0); /* roof: red */
    canvas_rectangle(14, -190, -10, -150, -70, 0);       /* door: brown */
    canvas_rectangle(11, -235, 30, -200, -5, 0);         /* window pane: ice blue */
    canvas_line(0, -218, 30, -218, -5, 1);               /* window bars */
    canvas_line(0, -235, 12, -200, 12, 1);

    /* The sun (yellow) and eight gold rays, 3 pixels wide, in the directions
     * (dx, dy). */
    static const int dx[8] = {1, 1, 0, -1, -1, -1, 0, 1};
    static const int dy[8] = {0, 1, 1, 1, 0, -1, -1, -1};
    canvas_circle(5, 190, 140, 40);
    for (int ray = 0; ray < 8; ++ray)
        canvas_line(17, 190 + 50 * dx[ray], 140 + 50 * dy[ray], 190 + 70 * dx[ray], 140 + 70 * dy[ray], 3);

    /* Text starts at its lower left corner; "\n" starts a new line. */
    canvas_text(9, 0, 40, 20, "circle, triangle,\nrectangle, line\nand text");

    /* The palette: swatch, black outline, and its number in white or black. */
    for (int color = 0; color < 24; ++color) {
        const int x = -288 + (color % 12) * 48;
        const int y = color < 12 ? -135 : -190;
        canvas_rectangle(color, x, y, x + 42, y - 45, 0);
        canvas_rectangle(0, x, y, x + 42, y - 45, 1);
        canvas_printf(color == 0 || color == 9 ? 1 : 0, x + 4, y - 40, 14, "%d", color);
    }
}

int app_main(uintptr_t instance, uintptr_t previous_instance, const char* command_line, int show_state) {
    canvas_open(instance, previous_instance, command_line, show_state);
    canvas_set_logging(0); /* no log line for every shape drawn */
    draw_picture();
    int x = 0, y = 0;
    char key = 0;
    while (canvas_await_event(&x, &y, &key) != MORLU_QUIT) draw_picture();
    canvas_close();
    return 0;
}
