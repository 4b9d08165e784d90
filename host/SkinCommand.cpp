// `wobrix-host skin ADDON --out DIR`: decodes every picture an add-on carries
// in its resources and writes each as a PNG, to look at the skin outside a host.
#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "Commands.h"
#include "host/driver/HostError.h"
#include "host/driver/files/OutputFile.h"
#include "platform/api/BFile.h"
#include "platform/api/BResources.h"
#include "platform/api/Bitmap.h"
#include "platform/api/DataIO.h"
#include "platform/api/TranslationUtils.h"

namespace {

constexpr uint32_t kImageType = 0x52415754; // 'RAWT'

// Through writeThroughTemporary, so a failed or interrupted run leaves no
// half PNG.
void writePng(const BBitmap& picture, const std::string& path)
{
    const BRect b = picture.Bounds();
    const int width = static_cast<int>(b.right - b.left) + 1;
    const int height = static_cast<int>(b.bottom - b.top) + 1;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_surface_flush(surface);
    auto* to = cairo_image_surface_get_data(surface);
    const int toStride = cairo_image_surface_get_stride(surface);
    const auto* from = static_cast<const uint8_t*>(picture.Bits());
    for (int y = 0; y < height; y++)
        std::memcpy(to + y * toStride, from + y * picture.BytesPerRow(),
                    static_cast<size_t>(width) * 4);
    cairo_surface_mark_dirty(surface);
    // Released also when the write throws.
    const std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> owned(
        surface, &cairo_surface_destroy);
    writeThroughTemporary(path, [surface](const std::string& temporary) -> std::string {
        const cairo_status_t status = cairo_surface_write_to_png(surface, temporary.c_str());
        return status == CAIRO_STATUS_SUCCESS ? "" : cairo_status_to_string(status);
    });
}

std::string pictureFileName(int32_t id, const char* name)
{
    std::string stem = std::filesystem::path(name ? name : "").stem().string();
    for (char& c : stem)
        if (c == '/' || c == '\\')
            c = '_';
    return std::to_string(id) + (stem.empty() ? "" : "-" + stem) + ".png";
}

void writeSkin(const std::string& addon, const std::string& outDir)
{
    BFile file(addon.c_str(), B_READ_ONLY);
    if (file.InitCheck() != B_OK)
        throw HostError(addon + ": cannot open the file");
    BResources resources(&file, false);
    if (resources.InitCheck() != B_OK)
        throw HostError(addon + ": no resources");
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    if (error)
        throw HostError(outDir + ": cannot create the folder: " + error.message());

    int written = 0;
    int failed = 0;
    type_code type = 0;
    int32_t id = 0;
    const char* name = nullptr;
    size_t size = 0;
    for (int32_t i = 0; resources.GetResourceInfo(i, &type, &id, &name, &size); i++) {
        if (type != kImageType)
            continue;
        const void* data = resources.LoadResource(type, id, &size);
        BMemoryIO stream(data, size);
        std::unique_ptr<BBitmap> picture(BTranslationUtils::GetBitmap(&stream));
        if (!picture) {
            std::fprintf(stderr, "wobrix-host: picture %d (%s) cannot be decoded\n", id, name);
            failed++;
            continue;
        }
        const std::string path =
            (std::filesystem::path(outDir) / pictureFileName(id, name)).string();
        writePng(*picture, path);
        const BRect b = picture->Bounds();
        std::printf("%d %-26s %4d x %-4d %s\n", id, name, static_cast<int>(b.right - b.left) + 1,
                    static_cast<int>(b.bottom - b.top) + 1, path.c_str());
        written++;
    }
    if (written == 0 && failed == 0)
        throw HostError(addon + ": no pictures among its resources");
    if (failed > 0)
        throw HostError(std::to_string(failed) + " picture(s) could not be decoded");
}

} // namespace

void addSkinCommand(CLI::App& app)
{
    struct Options {
        std::string addon;
        std::string out;
    };
    auto opt = std::make_shared<Options>();
    CLI::App* cmd = app.add_subcommand(
        "skin", "Write every picture an add-on carries in its resources as a PNG");
    cmd->add_option("ADDON", opt->addon, "Add-on file (.so)")->required();
    cmd->add_option("--out", opt->out, "Folder for the PNGs; made when missing")->required();
    cmd->callback([opt] { writeSkin(opt->addon, opt->out); });
}
