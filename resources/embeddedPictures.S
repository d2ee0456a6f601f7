/* The BMP files of resources/orvane.rc, byte for byte, each under two symbols:
   orvanePicture<id> (the bytes) and orvanePicture<id>Size (their count, 32 bits).
   Hidden, so that a plug-in linking them does not export them. */
#define ORVANE_PICTURE(id, file)                                                \
    .globl orvanePicture##id, orvanePicture##id##Size;                         \
    .hidden orvanePicture##id, orvanePicture##id##Size;                        \
    .balign 4;                                                                 \
    orvanePicture##id##Size: .long orvanePicture##id##End - orvanePicture##id; \
    orvanePicture##id: .incbin file;                                           \
    orvanePicture##id##End:

    .section .rodata
#include "embeddedPictureList.inc"

    /* Data only: the stack need not be executable. */
    .section .note.GNU-stack,"",@progbits
