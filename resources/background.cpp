// Links background.bmp into the read-only data of the program.
#include "resources/background.h"

#define BACKGROUND_STRINGIFY(x) #x
#define BACKGROUND_PATH(x) BACKGROUND_STRINGIFY(x)
// The C name of the symbol: "_background_bmp" on 32-bit Windows, "background_bmp" on 64-bit.
#define BACKGROUND_SYMBOL BACKGROUND_PATH(__USER_LABEL_PREFIX__) "background_bmp"

__asm__(".section .rdata,\"dr\"\n"
        ".balign 4\n"
        ".globl " BACKGROUND_SYMBOL "\n"
        BACKGROUND_SYMBOL ":\n"
        ".incbin \"" BACKGROUND_PATH(BACKGROUND_BMP_FILE) "\"\n"
        ".text\n");
