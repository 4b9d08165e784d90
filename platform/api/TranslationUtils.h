// BTranslationUtils: decoding an image file from a stream into a bitmap.
#pragma once

#include "platform/api/Bitmap.h"
#include "platform/api/DataIO.h"

class BTranslatorRoster;

class BTranslationUtils {
public:
    // Reads the whole stream and decodes a BMP file (4- and 8-bit run-length
    // compression included) or a PNG file into a new B_RGB32 bitmap the caller
    // owns. Null for anything else: an empty, truncated or unknown file, a
    // stream above 64 MiB, a picture above 16384 pixels a side or 2048 x 2048
    // in all. Opaque pixels keep their exact bytes; pixels left fully
    // transparent (skipped by run-length moves) become B_TRANSPARENT_32_BIT;
    // partly transparent ones keep their colour with their alpha byte.
    // The roster is not used.
    static BBitmap* GetBitmap(BPositionIO* stream, BTranslatorRoster* roster = nullptr);
};
