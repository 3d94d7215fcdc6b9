#include "startup/desktop/desktop_program.h"

int main(int argc, char** argv) {
    return kvalon::run_desktop_program(argc, argv);
}
