// Embeds a file's bytes into the object file at build time: name[] and name_end[] bound
// them. The file path must be absolute; the build lists it as a dependency of the source.
#pragma once

#if defined(_WIN32)
#define TARVA_INCBIN_SECTION ".section .rdata,\"dr\"\n"
#define TARVA_INCBIN_RESTORE ".text\n" // PE has no .previous
#define TARVA_INCBIN_HIDE(name)
#else
#define TARVA_INCBIN_SECTION ".section .rodata\n"
#define TARVA_INCBIN_RESTORE ".previous\n"
#define TARVA_INCBIN_HIDE(name) ".hidden " #name "\n"
#endif

// clang-format off
#define TARVA_INCBIN(name, file)                                                                   \
    __asm__(TARVA_INCBIN_SECTION                                                                   \
            ".balign 16\n"                                                                         \
            TARVA_INCBIN_HIDE(name) ".globl " #name "\n"                                           \
            #name ":\n"                                                                            \
            ".incbin \"" file "\"\n"                                                               \
            TARVA_INCBIN_HIDE(name##_end) ".globl " #name "_end\n"                                 \
            #name "_end:\n"                                                                        \
            ".byte 0\n"                                                                            \
            TARVA_INCBIN_RESTORE);                                                                 \
    /* the assembler names, without the underscore 32-bit Windows puts before C names */        \
    extern "C" const unsigned char name[] __asm__(#name);                                          \
    extern "C" const unsigned char name##_end[] __asm__(#name "_end");
// clang-format on
