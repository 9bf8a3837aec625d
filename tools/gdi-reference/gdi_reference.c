/* The reference renderer: draws a list of device-pixel operations with the
 * platform's own drawing calls into a 32-bit DIB section selected into a
 * memory context, and writes the pixels. Built with MinGW-w64 and run under
 * Wine without a display: memory contexts need no display driver.
 *
 * Input (stdin), one operation a line, '#' starts a comment:
 *   case NAME W H          a new W x H picture, all white, fresh context
 *   pen null | pen WIDTH RRGGBB
 *   brush null | brush RRGGBB
 *   rect L T R B | ellipse L T R B | line X0 Y0 X1 Y1
 *   polygon X Y X Y ...
 *   region-polygon X Y X Y ...   fill the polygon's region with the brush
 *   region-ellipse L T R B       fill the elliptic region with the brush
 *   font FACE HEIGHT WEIGHT  FACE with '_' for spaces; HEIGHT as given to
 *                            the font request (negative: character height)
 *   text X Y STRING          rest of the line, drawn transparent or opaque
 *   bkmode opaque|transparent, textcolor RRGGBB, bkcolor RRGGBB
 *   stockfont                the stock fixed font (the log console's)
 *   extent STRING            writes "extent W H ascent A descent D STRING"
 *   end                      writes the picture
 * Output (stdout, binary): for each picture the line "picture NAME W H"
 * followed by W * H little-endian 32-bit 0x00RRGGBB pixels, rows top down. */
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#define MAX_POINTS 256

struct Canvas {
    HDC dc;
    HBITMAP bitmap, old_bitmap;
    HPEN pen;
    HBRUSH brush;
    HFONT font;
    DWORD* bits;
    int w, h;
    char name[128];
};

static COLORREF colour(const char* hex) {
    unsigned long v = strtoul(hex, NULL, 16);
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

static void release_objects(struct Canvas* c) {
    SelectObject(c->dc, GetStockObject(BLACK_PEN));
    SelectObject(c->dc, GetStockObject(WHITE_BRUSH));
    SelectObject(c->dc, GetStockObject(SYSTEM_FONT));
    if (c->pen) DeleteObject(c->pen);
    if (c->brush) DeleteObject(c->brush);
    if (c->font) DeleteObject(c->font);
    c->pen = NULL;
    c->brush = NULL;
    c->font = NULL;
}

static void close_canvas(struct Canvas* c) {
    if (!c->dc) return;
    release_objects(c);
    SelectObject(c->dc, c->old_bitmap);
    DeleteObject(c->bitmap);
    DeleteDC(c->dc);
    c->dc = NULL;
}

static int open_canvas(struct Canvas* c, const char* name, int w, int h) {
    BITMAPINFO info;
    void* bits = NULL;
    close_canvas(c);
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h; /* top-down rows */
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    c->dc = CreateCompatibleDC(NULL);
    c->bitmap = CreateDIBSection(c->dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (!c->dc || !c->bitmap || !bits) return 0;
    c->old_bitmap = SelectObject(c->dc, c->bitmap);
    c->bits = bits;
    c->w = w;
    c->h = h;
    snprintf(c->name, sizeof c->name, "%s", name);
    memset(bits, 0xFF, (size_t)w * (size_t)h * 4);
    GdiFlush();
    return 1;
}

static void write_canvas(struct Canvas* c) {
    int i;
    GdiFlush();
    printf("picture %s %d %d\n", c->name, c->w, c->h);
    fflush(stdout);
    for (i = 0; i < c->w * c->h; ++i) c->bits[i] &= 0x00FFFFFF;
    fwrite(c->bits, 4, (size_t)c->w * (size_t)c->h, stdout);
    fflush(stdout);
}

static void set_pen(struct Canvas* c, char* args) {
    char hex[16] = "0";
    int width = 1;
    HPEN pen;
    if (strncmp(args, "null", 4) == 0) {
        pen = NULL;
        SelectObject(c->dc, GetStockObject(NULL_PEN));
    } else {
        sscanf(args, "%d %15s", &width, hex);
        pen = CreatePen(PS_SOLID, width, colour(hex));
        SelectObject(c->dc, pen);
    }
    if (c->pen) DeleteObject(c->pen);
    c->pen = pen;
}

static void set_brush(struct Canvas* c, char* args) {
    HBRUSH brush;
    if (strncmp(args, "null", 4) == 0) {
        brush = NULL;
        SelectObject(c->dc, GetStockObject(NULL_BRUSH));
    } else {
        brush = CreateSolidBrush(colour(args));
        SelectObject(c->dc, brush);
    }
    if (c->brush) DeleteObject(c->brush);
    c->brush = brush;
}

static void set_font(struct Canvas* c, char* args) {
    char face[64] = "";
    int height = 0, weight = 0;
    char* p;
    HFONT font;
    sscanf(args, "%63s %d %d", face, &height, &weight);
    for (p = face; *p; ++p)
        if (*p == '_') *p = ' ';
    font = CreateFontA(height, 0, 0, 0, weight, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
    SelectObject(c->dc, font);
    if (c->font) DeleteObject(c->font);
    c->font = font;
}

static void draw_polygon(struct Canvas* c, char* args) {
    POINT pts[MAX_POINTS];
    int n = 0, used = 0;
    long x, y;
    while (n < MAX_POINTS && sscanf(args, "%ld %ld%n", &x, &y, &used) == 2) {
        pts[n].x = x;
        pts[n].y = y;
        ++n;
        args += used;
    }
    Polygon(c->dc, pts, n);
}

/* The region the platform builds for a polygon or an ellipse, filled with
 * the brush: how it turns shapes into pixels apart from its pens. */
static void fill_region(struct Canvas* c, HRGN region) {
    HBRUSH brush = (HBRUSH)GetCurrentObject(c->dc, OBJ_BRUSH);
    if (!region) return;
    FillRgn(c->dc, region, brush);
    DeleteObject(region);
}

static void draw_polygon_region(struct Canvas* c, char* args) {
    POINT pts[MAX_POINTS];
    int n = 0, used = 0;
    long x, y;
    while (n < MAX_POINTS && sscanf(args, "%ld %ld%n", &x, &y, &used) == 2) {
        pts[n].x = x;
        pts[n].y = y;
        ++n;
        args += used;
    }
    fill_region(c, CreatePolygonRgn(pts, n, ALTERNATE));
}

static void draw_text(struct Canvas* c, char* args) {
    int x = 0, y = 0, used = 0;
    if (sscanf(args, "%d %d %n", &x, &y, &used) < 2) return;
    TextOutA(c->dc, x, y, args + used, (int)strlen(args + used));
}

static void measure(struct Canvas* c, char* args) {
    SIZE size = {0, 0};
    TEXTMETRICA tm;
    GetTextExtentPoint32A(c->dc, args, (int)strlen(args), &size);
    GetTextMetricsA(c->dc, &tm);
    printf("extent %ld %ld ascent %ld descent %ld %s\n", size.cx, size.cy, tm.tmAscent, tm.tmDescent, args);
    fflush(stdout);
}

static void run_line(struct Canvas* c, char* op, char* args) {
    long a, b, d, e;
    if (strcmp(op, "case") == 0) {
        char name[128];
        int w = 0, h = 0;
        if (sscanf(args, "%127s %d %d", name, &w, &h) == 3 && w > 0 && h > 0 && !open_canvas(c, name, w, h)) {
            fprintf(stderr, "cannot make a %d x %d picture\n", w, h);
            exit(1);
        }
        return;
    }
    if (!c->dc) return;
    if (strcmp(op, "end") == 0)
        write_canvas(c);
    else if (strcmp(op, "pen") == 0)
        set_pen(c, args);
    else if (strcmp(op, "brush") == 0)
        set_brush(c, args);
    else if (strcmp(op, "font") == 0)
        set_font(c, args);
    else if (strcmp(op, "stockfont") == 0)
        SelectObject(c->dc, GetStockObject(ANSI_FIXED_FONT));
    else if (strcmp(op, "polygon") == 0)
        draw_polygon(c, args);
    else if (strcmp(op, "region-polygon") == 0)
        draw_polygon_region(c, args);
    else if (strcmp(op, "text") == 0)
        draw_text(c, args);
    else if (strcmp(op, "extent") == 0)
        measure(c, args);
    else if (strcmp(op, "textcolor") == 0)
        SetTextColor(c->dc, colour(args));
    else if (strcmp(op, "bkcolor") == 0)
        SetBkColor(c->dc, colour(args));
    else if (strcmp(op, "bkmode") == 0)
        SetBkMode(c->dc, strncmp(args, "opaque", 6) == 0 ? OPAQUE : TRANSPARENT);
    else if (sscanf(args, "%ld %ld %ld %ld", &a, &b, &d, &e) == 4) {
        if (strcmp(op, "rect") == 0)
            Rectangle(c->dc, a, b, d, e);
        else if (strcmp(op, "ellipse") == 0)
            Ellipse(c->dc, a, b, d, e);
        else if (strcmp(op, "region-ellipse") == 0)
            fill_region(c, CreateEllipticRgn(a, b, d, e));
        else if (strcmp(op, "line") == 0) {
            MoveToEx(c->dc, a, b, NULL);
            LineTo(c->dc, d, e);
        }
    }
}

int main(void) {
    static char line[8192];
    struct Canvas canvas;
    memset(&canvas, 0, sizeof canvas);
    _setmode(_fileno(stdout), _O_BINARY);
    while (fgets(line, sizeof line, stdin)) {
        char *op = line, *args;
        line[strcspn(line, "\r\n")] = 0;
        while (*op == ' ') ++op;
        if (*op == 0 || *op == '#') continue;
        args = op + strcspn(op, " ");
        if (*args) *args++ = 0;
        run_line(&canvas, op, args);
    }
    close_canvas(&canvas);
    return 0;
}
