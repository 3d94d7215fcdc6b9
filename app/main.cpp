#include "startup/batch_program.h"

int main(int argc, char** argv) {
    return kvalon::run_program(argc, argv);
}
