// The 24 named colours and the check every primitive makes of its colour.
#include "runtime_state.h"

using morlu::platform::rgb;

const PaletteEntry palette[PALETTE_SIZE] = {
    {"black", rgb(0, 0, 0)},           {"white", rgb(255, 255, 255)},      {"red", rgb(255, 0, 0)},
    {"green", rgb(0, 255, 0)},         {"blue", rgb(0, 0, 255)},           {"yellow", rgb(255, 255, 0)},
    {"magenta", rgb(255, 0, 255)},     {"cyan", rgb(0, 255, 255)},         {"purple", rgb(153, 0, 204)},
    {"navy blue", rgb(0, 51, 153)},    {"dusty plum", rgb(153, 102, 153)}, {"ice blue", rgb(153, 255, 255)},
    {"turquoise", rgb(153, 255, 204)}, {"orange", rgb(255, 102, 0)},       {"brown", rgb(153, 102, 51)},
    {"pink", rgb(255, 153, 204)},      {"chalk", rgb(255, 255, 153)},      {"gold", rgb(204, 153, 51)},
    {"peach", rgb(255, 153, 102)},     {"forest green", rgb(0, 102, 51)},  {"sea green", rgb(51, 204, 153)},
    {"olive", rgb(153, 153, 51)},      {"50% gray", rgb(128, 128, 128)},   {"20% gray", rgb(204, 204, 204)},
};

int check_color(int index) {
    if (index >= 0 && index < PALETTE_SIZE) return index;
    log_printf("Illegal color %d; using RED.\n", index);
    return COLOR_RED;
}
