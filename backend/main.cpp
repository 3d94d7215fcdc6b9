#include "backend/backend_program.h"

int main(int argc, char** argv) {
    return kvalon::run_backend(argc, argv);
}
