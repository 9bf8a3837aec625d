/* The main of every program built with morlu_main: the program defines only
 * app_main. */
#include "morlu/canvas.h"

int main(int argc, char** argv) {
    return morlu_main(argc, argv, app_main);
}
