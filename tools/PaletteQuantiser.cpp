// Median-cut palette reduction with a nearest-colour mapping.
#include "tools/PaletteQuantiser.h"

#include <algorithm>
#include <array>
#include <map>
#include <unordered_map>

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kNearWhite = 0xFEFEFE;
// The eye tells greens apart best and blues worst.
constexpr std::array<int64_t, 3> kWeight = {3, 4, 2};

struct Sample {
    uint32_t rgb;
    uint32_t count;
};

int channel(uint32_t rgb, int c)
{
    return static_cast<int>(rgb >> (16 - 8 * c) & 0xFF);
}

int64_t distance(uint32_t a, uint32_t b)
{
    int64_t d = 0;
    for (int c = 0; c < 3; ++c) {
        const int64_t e = channel(a, c) - channel(b, c);
        d += kWeight[c] * e * e;
    }
    return d;
}

struct Box {
    std::vector<Sample> samples;
    uint64_t population = 0;
    int widest = 0; // channel with the largest range
    int range = 0;

    void measure()
    {
        population = 0;
        range = -1;
        for (const Sample& s : samples)
            population += s.count;
        for (int c = 0; c < 3; ++c) {
            const auto [lo, hi] = std::minmax_element(
                samples.begin(), samples.end(), [c](const Sample& a, const Sample& b) {
                    return channel(a.rgb, c) < channel(b.rgb, c);
                });
            const int r = channel(hi->rgb, c) - channel(lo->rgb, c);
            if (r > range)
                range = r, widest = c;
        }
    }

    uint32_t mean() const
    {
        uint32_t rgb = 0;
        for (int c = 0; c < 3; ++c) {
            uint64_t sum = 0;
            for (const Sample& s : samples)
                sum += static_cast<uint64_t>(channel(s.rgb, c)) * s.count;
            rgb = rgb << 8 | static_cast<uint32_t>((sum + population / 2) / population);
        }
        return rgb;
    }
};

// Splits at the weighted median of the widest channel; ties in that channel
// are ordered by the whole colour so the order never depends on the sort.
std::pair<Box, Box> split(Box box)
{
    const int c = box.widest;
    std::sort(box.samples.begin(), box.samples.end(), [c](const Sample& a, const Sample& b) {
        const int ca = channel(a.rgb, c), cb = channel(b.rgb, c);
        return ca != cb ? ca < cb : a.rgb < b.rgb;
    });
    uint64_t seen = 0;
    size_t cut = 1;
    for (; cut < box.samples.size() - 1; ++cut) {
        seen += box.samples[cut - 1].count;
        if (2 * seen >= box.population)
            break;
    }
    Box low, high;
    low.samples.assign(box.samples.begin(), box.samples.begin() + static_cast<std::ptrdiff_t>(cut));
    high.samples.assign(box.samples.begin() + static_cast<std::ptrdiff_t>(cut), box.samples.end());
    low.measure();
    high.measure();
    return {std::move(low), std::move(high)};
}

std::vector<uint32_t> medianCut(const std::map<uint32_t, uint32_t>& histogram, size_t slots)
{
    std::vector<Box> boxes;
    if (!histogram.empty() && slots > 0) {
        Box all;
        for (const auto& [rgb, count] : histogram)
            all.samples.push_back({rgb, count});
        all.measure();
        boxes.push_back(std::move(all));
    }
    while (boxes.size() < slots) {
        // Large, spread-out boxes first: they carry the most visible error.
        size_t best = boxes.size();
        uint64_t bestScore = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].samples.size() < 2)
                continue;
            const uint64_t score = boxes[i].population * static_cast<uint64_t>(boxes[i].range + 1);
            if (score > bestScore)
                bestScore = score, best = i;
        }
        if (best == boxes.size())
            break;
        auto [low, high] = split(std::move(boxes[best]));
        boxes[best] = std::move(low);
        boxes.insert(boxes.begin() + static_cast<std::ptrdiff_t>(best) + 1, std::move(high));
    }
    std::vector<uint32_t> colours;
    for (const Box& b : boxes)
        colours.push_back(b.mean());
    return colours;
}

} // namespace

IndexedImage quantise(const std::vector<uint32_t>& rgb, int width, int height,
                      const QuantiseOptions& options)
{
    IndexedImage image;
    image.width = width;
    image.height = height;
    const size_t entries = std::clamp<size_t>(options.entries, 2, 256);

    std::vector<uint32_t> fixed = {kBlack, kWhite};
    for (uint32_t k : options.keep)
        if (std::find(fixed.begin(), fixed.end(), k) == fixed.end() && fixed.size() < entries)
            fixed.push_back(k & kWhite);
    std::map<uint32_t, uint32_t> histogram;
    for (uint32_t p : rgb) {
        p &= kWhite;
        if (std::find(fixed.begin(), fixed.end(), p) == fixed.end())
            ++histogram[p];
    }

    image.palette = fixed;
    for (uint32_t c : medianCut(histogram, entries - fixed.size()))
        image.palette.push_back(!options.allowWhite && c == kWhite ? kNearWhite : c);
    const size_t used = image.palette.size();
    image.palette.resize(entries, kBlack);

    std::unordered_map<uint32_t, uint8_t> nearest;
    image.pixels.reserve(rgb.size());
    for (uint32_t p : rgb) {
        p &= kWhite;
        auto it = nearest.find(p);
        if (it == nearest.end()) {
            size_t best = 0;
            int64_t bestDistance = distance(p, image.palette[0]);
            for (size_t i = 1; i < used; ++i) {
                if (i == 1 && !options.allowWhite)
                    continue;
                const int64_t d = distance(p, image.palette[i]);
                if (d < bestDistance)
                    bestDistance = d, best = i;
            }
            it = nearest.emplace(p, static_cast<uint8_t>(best)).first;
        }
        image.pixels.push_back(it->second);
    }
    return image;
}
