// pelcalc: resampling of 24-bit packed device-independent bitmaps, with a
// progress box, and single-pixel access.
//
// A picture is a packed DIB in one malloc() block: a 40-byte
// BITMAPINFOHEADER followed by bottom-up rows of blue, green, red bytes, each
// row padded to a multiple of 4 bytes. The handle is the block's address. Every
// picture this library returns is a new block owned by the caller, who frees it
// with free() (the main program's ImgKitMemFree does exactly that).
//
// Texts are UTF-8; a null pointer means "absent".
#pragma once

#if defined(PELCALC_BUILDING_LIBRARY)
#define PELCALC_API __attribute__((visibility("default")))
#else
#define PELCALC_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Resamples a 24-bit picture to exactly newWidth x newHeight.
// mode 0 = nearest neighbour, 1 = high quality (area average when both sides
// shrink, bicubic when the height grows and the width does not shrink); any
// other mode, direction or size returns 0. Shows a progress box with a cancel
// button unless caption and message are both absent or empty. Returns the new
// picture, or 0 on failure or cancel. One resampling runs at a time per
// process: a call made while another is running (from another thread, or
// re-entered from the events this call keeps flowing) returns 0 at once.
PELCALC_API void* PcImageSize(const void* image, const char* caption, const char* message, int newWidth,
                              int newHeight, int mode);

// A new 24-bit picture of width x height with uninitialised pixels, or 0.
PELCALC_API void* PcGetImageMem(int width, int height);

// Reads the pixel at (x, y), y = 0 being the top row. Returns 0, or 1 when the
// picture is absent, not 24-bit, or (x, y) lies outside it.
PELCALC_API int PcGetPx(const void* image, int x, int y, unsigned char* blue, unsigned char* green,
                        unsigned char* red);

// Writes the pixel at (x, y); same results and checks as PcGetPx.
PELCALC_API int PcSetPx(void* image, int x, int y, unsigned char blue, unsigned char green,
                        unsigned char red);

#ifdef __cplusplus
}
#endif
