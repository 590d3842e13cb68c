// Links background.bmp into the read-only data of the program.
#include "resources/background.h"

#define BACKGROUND_STRINGIFY(x) #x
#define BACKGROUND_PATH(x) BACKGROUND_STRINGIFY(x)

__asm__(".section .rdata,\"dr\"\n"
        ".balign 4\n"
        ".globl _background_bmp\n"
        "_background_bmp:\n"
        ".incbin \"" BACKGROUND_PATH(BACKGROUND_BMP_FILE) "\"\n"
        ".text\n");
