/* Typed characters become events: a typewriter.
 *
 * Every character typed in the window is a MORLU_KBD event carrying the
 * character's code. The program keeps a page of 8 lines of 20 characters and
 * shows each character in a cell of its own with canvas_printf; the yellow cell
 * is where the next one goes. Enter starts a new line and Backspace takes back
 * the last character. Characters that do not fit on the page are ignored.
 */
#include <morlu/canvas.h>

#define ROWS 8
#define COLUMNS 20
#define CELL_WIDTH 28
#define CELL_HEIGHT 44
#define PAGE_LEFT (-COLUMNS * CELL_WIDTH / 2)
#define PAGE_TOP 190

struct Page {
    char text[ROWS][COLUMNS];
    int length[ROWS]; /* characters on each line */
    int row;          /* the line being typed */
};

/* Act on one typed character: Enter (13), Backspace (8) or a printable one. */
static void type_character(struct Page* page, char key) {
    int* length = &page->length[page->row];
    if (key == '\r') {
        if (page->row + 1 < ROWS) page->row++;
    } else if (key == '\b') {
        if (*length > 0) {
            (*length)--;
        } else if (page->row > 0) {
            page->row--;
        }
    } else if ((unsigned char)key >= ' ' && key != 127) {
        if (*length == COLUMNS && page->row + 1 < ROWS) length = &page->length[++page->row];
        if (*length < COLUMNS) page->text[page->row][(*length)++] = key;
    }
}

static void draw_frame(const struct Page* page) {
    canvas_clear();
    canvas_text(0, PAGE_LEFT, 215, 20, "Type here: Enter starts a line, Backspace erases");
    for (int row = 0; row < ROWS; ++row) {
        for (int column = 0; column < COLUMNS; ++column) {
            const int left = PAGE_LEFT + column * CELL_WIDTH;
            const int top = PAGE_TOP - row * CELL_HEIGHT;
            const int right = left + CELL_WIDTH - 1, bottom = top - CELL_HEIGHT + 1;
            const int is_cursor = row == page->row && column == page->length[row];
            const int is_typed = column < page->length[row];
            if (is_cursor || is_typed) canvas_rectangle(is_cursor ? 5 : 16, left, top, right, bottom, 0);
            canvas_rectangle(23, left, top, right, bottom, 1); /* the cell's grey outline */
            if (is_typed) canvas_printf(9, left + 5, top - 34, 26, "%c", page->text[row][column]);
        }
    }
    canvas_printf(0, PAGE_LEFT, -215, 16, "line %d, column %d", page->row + 1, page->length[page->row] + 1);
}

int app_main(uintptr_t instance, uintptr_t previous_instance, const char* command_line, int show_state) {
    canvas_open(instance, previous_instance, command_line, show_state);
    canvas_set_logging(0);
    struct Page page = {0};
    draw_frame(&page);
    for (;;) {
        int x = 0, y = 0;
        char key = 0;
        const int event = canvas_await_event(&x, &y, &key);
        if (event == MORLU_QUIT) break;
        if (event == MORLU_KBD) type_character(&page, key);
        draw_frame(&page);
    }
    canvas_close();
    return 0;
}
