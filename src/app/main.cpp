#include "ui/BalkorApplication.h"

int main(int argc, char** argv) {
    return RunBalkor(argc, argv);
}
