// Older hosts look the entry point up as "main". C++ forbids a function of that name
// with this signature, so on ELF the symbol is made an assembler alias of VSTPluginMain,
// in the object that defines it. The Windows build exports the alias through its
// module-definition file instead.
#pragma once

#if defined(__ELF__)
#define TARVA_DEFINE_MAIN_ALIAS()                                                                  \
    asm(".globl main\n"                                                                            \
        ".type main, @function\n"                                                                  \
        ".set main, VSTPluginMain\n")
#else
#define TARVA_DEFINE_MAIN_ALIAS()
#endif
