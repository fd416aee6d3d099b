#include "tools/assets/FontRasterizer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>

namespace VbAssets {

namespace {

// Empty space around every cell: keeps bilinear filtering and the smaller mip levels from mixing
// neighbouring glyphs.
constexpr int kPadding = 4;

bool IsLowerCase(uint32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFF && c != 0xF7) || (c >= 0x430 && c <= 0x44F) ||
           c == 0x451;
}

void AddRange(std::vector<uint32_t>& out, uint32_t first, uint32_t last) {
    for (uint32_t c = first; c <= last; ++c)
        out.push_back(c);
}

std::vector<uint32_t> LatinCharacters() {
    std::vector<uint32_t> out;
    AddRange(out, 0x21, 0x7E);
    AddRange(out, 0xA0, 0xFF);
    for (uint32_t c : {0x2013u, 0x2014u, 0x2018u, 0x2019u, 0x201Cu, 0x201Du, 0x2026u, 0x2116u})
        out.push_back(c);
    return out;
}

std::vector<uint32_t> CyrillicCharacters() {
    std::vector<uint32_t> out{0x401};
    AddRange(out, 0x410, 0x44F);
    out.push_back(0x451);
    return out;
}

struct FreeTypeLibrary {
    FreeTypeLibrary() {
        if (FT_Init_FreeType(&library) != 0)
            throw std::runtime_error("font: FreeType cannot start");
    }
    ~FreeTypeLibrary() { FT_Done_FreeType(library); }
    FreeTypeLibrary(const FreeTypeLibrary&) = delete;
    FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;
    FT_Library library = nullptr;
};

struct FreeTypeFace {
    FreeTypeFace(FT_Library library, const std::string& file) {
        if (FT_New_Face(library, file.c_str(), 0, &face) != 0)
            throw std::runtime_error("font: cannot load the face " + file);
    }
    ~FreeTypeFace() { FT_Done_Face(face); }
    FreeTypeFace(const FreeTypeFace&) = delete;
    FreeTypeFace& operator=(const FreeTypeFace&) = delete;
    FT_Face face = nullptr;
};

// One rasterised glyph before packing: its coverage in a cell-high box and where the cell lies in the atlas.
struct Cell {
    uint32_t code = 0;
    int width = 0;
    std::vector<uint8_t> coverage; // width x cellHeight
    uint32_t x = 0;
    uint32_t y = 0;
};

Cell RenderCell(FT_Face face, uint32_t code, int cellHeight, int baseline, int outline) {
    FT_UInt index = FT_Get_Char_Index(face, code);
    if (index == 0)
        throw std::runtime_error("font: the face has no glyph for U+" + std::to_string(code));
    if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_NO_HINTING) != 0)
        throw std::runtime_error("font: FreeType cannot render U+" + std::to_string(code));
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    const int advance = static_cast<int>(std::ceil(slot->advance.x / 64.0));
    const int inkLeft = slot->bitmap_left - outline;
    const int inkRight = slot->bitmap_left + static_cast<int>(bitmap.width) + outline;
    // Ink that overhangs the advance widens the cell: the font has no bearings, so the cell is the advance.
    const int left = std::min(0, inkLeft);
    Cell cell;
    cell.code = code;
    cell.width = std::max(std::max(advance, inkRight) - left, 1);
    cell.coverage.assign(size_t(cell.width) * cellHeight, 0);
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const int y = baseline - slot->bitmap_top + static_cast<int>(row);
        if (y < 0 || y >= cellHeight)
            continue; // ink beyond the face's ascender or descender
        const uint8_t* source = bitmap.buffer + ptrdiff_t(row) * bitmap.pitch;
        for (unsigned column = 0; column < bitmap.width; ++column) {
            const int x = slot->bitmap_left + static_cast<int>(column) - left;
            cell.coverage[size_t(y) * cell.width + x] = source[column];
        }
    }
    return cell;
}

// Places the cells in rows of equal height, in code order; returns the atlas height, or 0 when the cells do
// not fit below maxHeight.
uint32_t Pack(std::vector<Cell>& cells, uint32_t width, int cellHeight, uint32_t maxHeight) {
    uint32_t x = kPadding;
    uint32_t y = kPadding;
    for (Cell& cell : cells) {
        if (x + cell.width + kPadding > width) {
            x = kPadding;
            y += cellHeight + kPadding;
        }
        if (x + cell.width + kPadding > width)
            return 0;
        cell.x = x;
        cell.y = y;
        x += cell.width + kPadding;
    }
    const uint32_t used = y + cellHeight + kPadding;
    uint32_t height = 1;
    while (height < used)
        height *= 2;
    return height <= maxHeight ? height : 0;
}

// Coverage spread by the outline's radius: each pixel takes the strongest coverage within the disc around it.
std::vector<uint8_t> Dilate(const std::vector<uint8_t>& coverage, uint32_t width, uint32_t height, int radius) {
    std::vector<uint8_t> out(coverage.size(), 0);
    std::vector<std::pair<int, int>> offsets;
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (dx * dx + dy * dy <= radius * radius + radius)
                offsets.emplace_back(dx, dy);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            uint8_t strongest = 0;
            for (const auto& [dx, dy] : offsets) {
                const int sx = int(x) + dx;
                const int sy = int(y) + dy;
                if (sx >= 0 && sy >= 0 && sx < int(width) && sy < int(height))
                    strongest = std::max(strongest, coverage[size_t(sy) * width + sx]);
            }
            out[size_t(y) * width + x] = strongest;
        }
    return out;
}

} // namespace

std::vector<uint32_t> Characters(CharacterSet set) {
    std::vector<uint32_t> out;
    if (set != CharacterSet::Cyrillic)
        out = LatinCharacters();
    if (set == CharacterSet::Cyrillic || set == CharacterSet::Full || set == CharacterSet::UpperFull) {
        std::vector<uint32_t> cyrillic = CyrillicCharacters();
        out.insert(out.end(), cyrillic.begin(), cyrillic.end());
    }
    if (set == CharacterSet::UpperLatin || set == CharacterSet::UpperFull)
        out.erase(std::remove_if(out.begin(), out.end(), IsLowerCase), out.end());
    std::sort(out.begin(), out.end());
    return out;
}

RasterFont RasterizeFont(const FontStyle& style) {
    if (style.pixelHeight <= 0 || style.outline < 0)
        throw std::runtime_error("font: the pixel height must be above 0 and the outline not below 0");
    std::vector<uint32_t> codes = style.characters;
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    if (!codes.empty() && codes.back() > 0xFFFF)
        throw std::runtime_error("font: characters beyond U+FFFF do not fit the font file");

    FreeTypeLibrary library;
    FreeTypeFace face(library.library, style.faceFile);
    if (FT_Set_Pixel_Sizes(face.face, 0, FT_UInt(style.pixelHeight)) != 0)
        throw std::runtime_error("font: the face " + style.faceFile + " cannot be scaled");
    const double scale = double(style.pixelHeight) / face.face->units_per_EM;
    const int ascender = static_cast<int>(std::ceil(face.face->ascender * scale));
    const int descender = static_cast<int>(std::ceil(-face.face->descender * scale));

    RasterFont font;
    font.cellHeight = ascender + descender + 2 * style.outline;
    font.baseline = ascender + style.outline;
    std::vector<Cell> cells;
    for (uint32_t code : codes)
        cells.push_back(RenderCell(face.face, code, font.cellHeight, font.baseline, style.outline));
    if (FT_Load_Char(face.face, ' ', FT_LOAD_NO_HINTING) != 0)
        throw std::runtime_error("font: the face " + style.faceFile + " has no blank");
    font.space = float(face.face->glyph->advance.x / 64.0 / font.cellHeight);
    font.lineHeight = float(face.face->height * scale / font.cellHeight);

    const std::vector<uint32_t> widths =
        style.atlasWidth != 0 ? std::vector<uint32_t>{style.atlasWidth} : std::vector<uint32_t>{512, 1024};
    for (uint32_t width : widths) {
        font.height = Pack(cells, width, font.cellHeight, width == 512 && widths.size() > 1 ? 512 : 1024);
        font.width = width;
        if (font.height != 0)
            break;
    }
    if (font.height == 0)
        throw std::runtime_error("font: the glyphs of " + style.faceFile + " at " +
                                 std::to_string(style.pixelHeight) + " px do not fit a 1024 x 1024 atlas");

    font.fill.assign(size_t(font.width) * font.height, 0);
    for (const Cell& cell : cells) {
        for (int y = 0; y < font.cellHeight; ++y)
            std::copy_n(&cell.coverage[size_t(y) * cell.width], cell.width,
                        &font.fill[size_t(cell.y + y) * font.width + cell.x]);
        VbFormats::FontGlyph glyph;
        glyph.code = static_cast<uint16_t>(cell.code);
        glyph.u = float(cell.x) / float(font.width);
        glyph.v = float(font.height - (cell.y + font.cellHeight)) / float(font.height);
        glyph.width = float(cell.width) / float(font.width);
        glyph.height = float(font.cellHeight) / float(font.height);
        glyph.widthFactor = float(cell.width) / float(font.cellHeight);
        font.glyphs.push_back(glyph);
    }
    // The padding is wider than the outline, so spreading the whole atlas never reaches a neighbour.
    if (style.outline > 0)
        font.border = Dilate(font.fill, font.width, font.height, style.outline);
    return font;
}

VelmoraFormats::Picture RasterFont::Atlas(FontColour fillColour, FontColour borderColour) const {
    VelmoraFormats::Picture picture(width, height, 4);
    const bool outlined = !border.empty();
    for (size_t p = 0; p < fill.size(); ++p) {
        uint8_t* pixel = &picture.pixels[p * 4];
        const int f = fill[p];
        const int a = outlined ? std::max<int>(f, border[p]) : f;
        // Transparent texels keep the colour of the edge next to them, so filtering brings in no dark fringe.
        const FontColour& empty = outlined ? borderColour : fillColour;
        const int t = a == 0 ? 0 : (outlined ? (f * 255 + a / 2) / a : 255);
        const uint8_t fillRgb[3] = {fillColour.r, fillColour.g, fillColour.b};
        const uint8_t edgeRgb[3] = {empty.r, empty.g, empty.b};
        for (int c = 0; c < 3; ++c)
            pixel[c] = uint8_t((fillRgb[c] * t + edgeRgb[c] * (255 - t) + 127) / 255);
        pixel[3] = uint8_t(a);
    }
    return picture;
}

} // namespace VbAssets
