// The halvika executable.
#include "HalvikaProgram.h"

int main(int argc, char** argv) {
    return halvika::HalvikaProgram::run(argc, argv);
}
