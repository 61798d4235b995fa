#include "tests/resources/resource_reader.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

std::string resource_dir() { return PLINKFIELD_RESOURCE_DIR; }

Bytes read_bytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    EXPECT_TRUE(f.good()) << "cannot open " << path;
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

std::string read_text(const std::string& path) {
    const Bytes b = read_bytes(path);
    return std::string(b.begin(), b.end());
}

Bitmap read_bitmap(const std::string& path) {
    const Bytes b = read_bytes(path);
    Bitmap bmp;
    if (b.size() < 54) {
        ADD_FAILURE() << path << ": too short";
        return bmp;
    }
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(le32(b, 2), b.size()) << path << ": file size field";
    EXPECT_EQ(le32(b, 14), 40u) << path << ": BITMAPINFOHEADER";
    const auto w = static_cast<std::int32_t>(le32(b, 18)), h = static_cast<std::int32_t>(le32(b, 22));
    EXPECT_GT(h, 0) << path << ": rows must run bottom-up";
    EXPECT_EQ(le16(b, 26), 1u);
    const int bits = static_cast<int>(le16(b, 28));
    EXPECT_EQ(le32(b, 30), 0u) << path << ": must be uncompressed";
    const std::uint32_t stride = static_cast<std::uint32_t>(((w * bits + 31) / 32) * 4);
    EXPECT_EQ(le32(b, 34), stride * static_cast<std::uint32_t>(h)) << path << ": image size field";
    std::uint32_t colours = le32(b, 46);
    if (bits == 8 && colours == 0) colours = 256;
    const std::uint32_t offset = le32(b, 10);
    EXPECT_EQ(offset, 54 + 4 * (bits == 8 ? colours : 0)) << path << ": pixel offset";
    EXPECT_EQ(b.size(), offset + stride * static_cast<std::uint32_t>(h)) << path << ": total size";
    if (bits != 24 && bits != 8) {
        ADD_FAILURE() << path << ": " << bits << " bits per pixel";
        return bmp;
    }
    if (b.size() < offset + stride * static_cast<std::uint32_t>(h)) return bmp;
    bmp.width = w;
    bmp.height = h;
    bmp.bits = bits;
    bmp.palette_size = bits == 8 ? static_cast<int>(colours) : 0;
    bmp.rgb.resize(static_cast<std::size_t>(w * h * 3));
    for (int y = 0; y < h; ++y) {
        const std::size_t row = offset + stride * static_cast<std::uint32_t>(h - 1 - y);
        for (int x = 0; x < w; ++x) {
            std::size_t src;
            if (bits == 24) {
                src = row + static_cast<std::size_t>(3 * x);
            } else {
                const std::uint8_t index = b[row + static_cast<std::size_t>(x)];
                EXPECT_LT(index, colours) << path << ": pixel outside the palette";
                src = 54 + 4u * index;
            }
            for (int c = 0; c < 3; ++c)
                bmp.rgb[static_cast<std::size_t>((y * w + x) * 3 + c)] = b[src + static_cast<std::size_t>(2 - c)];
        }
    }
    return bmp;
}

Wave read_wave(const std::string& path) {
    const Bytes b = read_bytes(path);
    Wave wav;
    if (b.size() < 44) {
        ADD_FAILURE() << path << ": too short";
        return wav;
    }
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(le32(b, 4), b.size() - 8) << path << ": RIFF size";
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 12), "WAVE");
    EXPECT_EQ(std::string(b.begin() + 12, b.begin() + 16), "fmt ");
    EXPECT_EQ(le32(b, 16), 16u);
    wav.format = static_cast<int>(le16(b, 20));
    wav.channels = static_cast<int>(le16(b, 22));
    wav.rate = static_cast<int>(le32(b, 24));
    wav.bits = static_cast<int>(le16(b, 34));
    const std::uint32_t block = static_cast<std::uint32_t>(wav.channels * wav.bits / 8);
    EXPECT_EQ(le16(b, 32), block) << path << ": block align";
    EXPECT_EQ(le32(b, 28), block * static_cast<std::uint32_t>(wav.rate)) << path << ": byte rate";
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
    wav.data_bytes = le32(b, 40);
    EXPECT_EQ(b.size(), 44 + wav.data_bytes + (wav.data_bytes & 1)) << path << ": data chunk and its pad byte";
    if (b.size() < 44 + wav.data_bytes || (wav.bits != 8 && wav.bits != 16)) return wav;
    for (std::size_t i = 44; i + wav.bits / 8 <= 44 + wav.data_bytes; i += static_cast<std::size_t>(wav.bits / 8)) {
        if (wav.bits == 8)
            wav.samples.push_back((b[i] - 128.0) / 128.0);
        else
            wav.samples.push_back(static_cast<std::int16_t>(le16(b, i)) / 32768.0);
    }
    return wav;
}

double border_difference(const Bitmap& sprite, const Bitmap& scene, int x0, int y0) {
    double sum = 0;
    long n = 0;
    for (int y = 0; y < sprite.height; ++y)
        for (int x = 0; x < sprite.width; ++x) {
            if (x != 0 && y != 0 && x != sprite.width - 1 && y != sprite.height - 1) continue;
            for (int c = 0; c < 3; ++c) {
                sum += std::abs(sprite.at(x, y, c) - scene.at(x0 + x, y0 + y, c));
                ++n;
            }
        }
    return n ? sum / static_cast<double>(n) : 0.0;
}

namespace {

std::uint32_t be32(const Bytes& b, std::size_t at) {
    return (static_cast<std::uint32_t>(b.at(at)) << 24) | (b.at(at + 1) << 16) | (b.at(at + 2) << 8) | b.at(at + 3);
}

int paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

}  // namespace

Png read_png(const std::string& path) {
    const Bytes b = read_bytes(path);
    Png png;
    static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (b.size() < 8 || std::memcmp(b.data(), signature, 8) != 0) {
        ADD_FAILURE() << path << ": not a PNG";
        return png;
    }
    Bytes compressed;
    int width = 0, height = 0;
    bool ended = false;
    for (std::size_t at = 8; at + 12 <= b.size() && !ended;) {
        const std::uint32_t length = be32(b, at);
        if (at + 12 + length > b.size()) break;
        const std::string type(b.begin() + static_cast<long>(at) + 4, b.begin() + static_cast<long>(at) + 8);
        const std::uint8_t* data = b.data() + at + 8;
        const auto crc = static_cast<std::uint32_t>(crc32(0, b.data() + at + 4, 4 + length));
        EXPECT_EQ(crc, be32(b, at + 8 + length)) << path << ": CRC of " << type;
        if (type == "IHDR") {
            width = static_cast<int>(be32(b, at + 8));
            height = static_cast<int>(be32(b, at + 12));
            EXPECT_EQ(data[8], 8) << path << ": bit depth";
            EXPECT_TRUE(data[9] == 2 || data[9] == 6) << path << ": colour type RGB or RGBA";
            EXPECT_EQ(data[12], 0) << path << ": interlacing";
            if (data[8] != 8 || (data[9] != 2 && data[9] != 6) || data[12] != 0) return png;
            png.alpha = data[9] == 6;
        } else if (type == "IDAT") {
            compressed.insert(compressed.end(), data, data + length);
        } else if (type == "IEND") {
            ended = true;
        }
        at += 12 + length;
    }
    EXPECT_TRUE(ended) << path << ": no IEND";
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096) {
        ADD_FAILURE() << path << ": size " << width << " x " << height;
        return png;
    }
    const std::size_t bpp = png.alpha ? 4 : 3, stride = static_cast<std::size_t>(width) * bpp;
    Bytes raw((stride + 1) * static_cast<std::size_t>(height));
    uLongf raw_size = raw.size();
    if (uncompress(raw.data(), &raw_size, compressed.data(), compressed.size()) != Z_OK || raw_size != raw.size()) {
        ADD_FAILURE() << path << ": image data does not inflate to its size";
        return png;
    }
    Bytes pixels(stride * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const std::uint8_t filter = raw[static_cast<std::size_t>(y) * (stride + 1)];
        const std::uint8_t* in = raw.data() + static_cast<std::size_t>(y) * (stride + 1) + 1;
        std::uint8_t* row = pixels.data() + static_cast<std::size_t>(y) * stride;
        const std::uint8_t* up = y > 0 ? row - stride : nullptr;
        for (std::size_t i = 0; i < stride; ++i) {
            const int a = i >= bpp ? row[i - bpp] : 0, u = up ? up[i] : 0, c = i >= bpp && up ? up[i - bpp] : 0;
            int predicted = 0;
            switch (filter) {
                case 0: break;
                case 1: predicted = a; break;
                case 2: predicted = u; break;
                case 3: predicted = (a + u) / 2; break;
                case 4: predicted = paeth(a, u, c); break;
                default: ADD_FAILURE() << path << ": filter " << int(filter); return Png{};
            }
            row[i] = static_cast<std::uint8_t>(in[i] + predicted);
        }
    }
    png.width = width;
    png.height = height;
    if (png.alpha) {
        png.rgba = std::move(pixels);
        return png;
    }
    png.rgba.reserve(static_cast<std::size_t>(width * height) * 4);
    for (std::size_t i = 0; i < pixels.size(); i += 3) png.rgba.insert(png.rgba.end(), {pixels[i], pixels[i + 1], pixels[i + 2], 255});
    return png;
}

Bitmap read_opaque_png(const std::string& path) {
    const Png png = read_png(path);
    Bitmap bmp;
    EXPECT_FALSE(png.alpha) << path << ": an opaque picture has no alpha channel";
    bmp.width = png.width;
    bmp.height = png.height;
    bmp.bits = 24;
    bmp.rgb.reserve(static_cast<std::size_t>(png.width * png.height) * 3);
    for (std::size_t i = 0; i < png.rgba.size(); i += 4) bmp.rgb.insert(bmp.rgb.end(), {png.rgba[i], png.rgba[i + 1], png.rgba[i + 2]});
    return bmp;
}
