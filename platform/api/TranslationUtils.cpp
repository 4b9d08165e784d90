// Decoding through a gdk-pixbuf loader fed from memory.
#include "platform/api/TranslationUtils.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/api/Bitmap.h"
#include "platform/pixels/ImageCheck.h"

namespace {

constexpr off_t kMostBytes = 64 << 20;

bool readAll(BPositionIO* stream, std::vector<uint8_t>* out)
{
    const off_t end = stream->Seek(0, SEEK_END);
    if (end < 0 || end > kMostBytes)
        return false;
    out->resize(static_cast<size_t>(end));
    size_t done = 0;
    while (done < out->size()) {
        const ssize_t got =
            stream->ReadAt(static_cast<off_t>(done), out->data() + done, out->size() - done);
        if (got <= 0)
            return false;
        done += static_cast<size_t>(got);
    }
    return true;
}

// A new reference, or null. Each format goes to its own loader, so no
// other loader installed on the system ever sees our data.
GdkPixbuf* decode(const std::vector<uint8_t>& data)
{
    const image_check::Format format = image_check::format(data.data(), data.size());
    GError* error = nullptr;
    GdkPixbufLoader* loader =
        gdk_pixbuf_loader_new_with_type(format == image_check::Format::Bmp ? "bmp" : "png", &error);
    g_clear_error(&error);
    if (loader == nullptr)
        return nullptr;
    bool ok = gdk_pixbuf_loader_write(loader, data.data(), data.size(), &error) != FALSE;
    g_clear_error(&error);
    // Closing is needed even after a failed write, to release the loader's state.
    ok = gdk_pixbuf_loader_close(loader, &error) != FALSE && ok;
    g_clear_error(&error);
    GdkPixbuf* pixbuf = ok ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr;
    if (pixbuf != nullptr)
        g_object_ref(pixbuf);
    g_object_unref(loader);
    return pixbuf;
}

BBitmap* toBitmap(GdkPixbuf* pixbuf)
{
    const int width = gdk_pixbuf_get_width(pixbuf);
    const int height = gdk_pixbuf_get_height(pixbuf);
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf) != FALSE;
    if (width < 1 || height < 1 || width * int64_t{height} > image_check::kMostPixels ||
        gdk_pixbuf_get_colorspace(pixbuf) != GDK_COLORSPACE_RGB ||
        gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 || channels != (alpha ? 4 : 3)) {
        return nullptr;
    }
    auto* bitmap = new BBitmap(
        BRect(0, 0, static_cast<float>(width - 1), static_cast<float>(height - 1)), B_RGB32);
    if (bitmap->InitCheck() != B_OK) {
        delete bitmap;
        return nullptr;
    }
    const guint8* in = gdk_pixbuf_read_pixels(pixbuf);
    const int inStride = gdk_pixbuf_get_rowstride(pixbuf);
    auto* out = static_cast<uint8_t*>(bitmap->Bits());
    for (int y = 0; y < height; ++y) {
        const guint8* s = in + static_cast<size_t>(y) * static_cast<size_t>(inStride);
        uint8_t* d = out + static_cast<size_t>(y) * static_cast<size_t>(bitmap->BytesPerRow());
        for (int x = 0; x < width; ++x, s += channels, d += 4) {
            const uint8_t a = alpha ? s[3] : 255;
            if (a == 0) {
                std::memcpy(d, &B_TRANSPARENT_32_BIT, 4);
                continue;
            }
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
            d[3] = a;
        }
    }
    return bitmap;
}

} // namespace

BBitmap* BTranslationUtils::GetBitmap(BPositionIO* stream, BTranslatorRoster*)
{
    std::vector<uint8_t> data;
    if (stream == nullptr || !readAll(stream, &data) || data.empty())
        return nullptr;
    if (!image_check::acceptable(data.data(), data.size()))
        return nullptr;
    GdkPixbuf* pixbuf = decode(data);
    if (pixbuf == nullptr)
        return nullptr;
    BBitmap* bitmap = toBitmap(pixbuf);
    g_object_unref(pixbuf);
    return bitmap;
}
