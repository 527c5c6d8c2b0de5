// Build step: turns console fonts (PSF2, gzip'd as Debian ships them) into the renderer's glyph
// tables, one glyph per Windows-1251 byte, looked up through the font's own Unicode table.
//   psf_to_glyphs OUT.cpp NAME FONT.psf.gz [NAME FONT.psf.gz ...]
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "Cp1251.h"

namespace {

struct Psf {
    std::uint32_t count = 0, bytesPerGlyph = 0, height = 0, width = 0;
    std::vector<std::uint8_t> glyphs;
    std::map<unsigned, std::uint32_t> glyphOf;  // code point -> glyph
};

std::vector<std::uint8_t> ReadGzip(const char* path) {
    std::vector<std::uint8_t> bytes;
    gzFile file = gzopen(path, "rb");
    if (file == nullptr) {
        return bytes;
    }
    std::uint8_t chunk[65536];
    int got = 0;
    while ((got = gzread(file, chunk, sizeof chunk)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    gzclose(file);
    return bytes;
}

std::uint32_t Word(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

unsigned DecodeUtf8(const std::vector<std::uint8_t>& b, std::size_t& i) {
    const unsigned lead = b[i++];
    const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    unsigned code = extra == 0 ? lead : lead & (0x3Fu >> extra);
    for (int k = 0; k < extra && i < b.size(); ++k) {
        code = (code << 6) | (b[i++] & 0x3Fu);
    }
    return code;
}

bool ParsePsf(const std::vector<std::uint8_t>& b, Psf& psf) {
    if (b.size() < 32 || Word(b, 0) != 0x864AB572u || (Word(b, 12) & 1) == 0) {
        return false;  // only PSF2 with a Unicode table
    }
    const std::uint32_t header = Word(b, 8);
    psf.count = Word(b, 16);
    psf.bytesPerGlyph = Word(b, 20);
    psf.height = Word(b, 24);
    psf.width = Word(b, 28);
    const std::size_t tableAt = header + std::size_t{psf.count} * psf.bytesPerGlyph;
    if (psf.width > 16 || tableAt > b.size()) {
        return false;
    }
    psf.glyphs.assign(b.begin() + header, b.begin() + static_cast<long>(tableAt));
    std::uint32_t glyph = 0;
    for (std::size_t i = tableAt; i < b.size() && glyph < psf.count;) {
        if (b[i] == 0xFF) {
            ++glyph;
            ++i;
        } else if (b[i] == 0xFE) {
            ++i;  // a sequence of combining characters: not a single code point's glyph
            while (i < b.size() && b[i] != 0xFF) {
                ++i;
            }
        } else {
            psf.glyphOf.emplace(DecodeUtf8(b, i), glyph);
        }
    }
    return true;
}

// The byte's character, or the replacement character for the control bytes and for what the
// font lacks: a byte the printer does not understand still leaves a visible mark.
std::uint32_t GlyphOfByte(const Psf& psf, unsigned byte) {
    const std::string text = Cp1251ToUtf8(std::string(1, static_cast<char>(byte)));
    std::vector<std::uint8_t> utf8(text.begin(), text.end());
    std::size_t i = 0;
    const unsigned code = DecodeUtf8(utf8, i);
    auto it = code >= 0x20 ? psf.glyphOf.find(code) : psf.glyphOf.end();
    if (it == psf.glyphOf.end()) {
        it = psf.glyphOf.find(0xFFFD);
    }
    return it == psf.glyphOf.end() ? psf.glyphOf.at('?') : it->second;
}

void WriteFont(std::ofstream& out, const std::string& name, const Psf& psf) {
    const std::uint32_t rowBytes = (psf.width + 7) / 8;
    out << "const std::uint16_t k" << name << "Rows[] = {\n";
    for (unsigned byte = 0; byte < 256; ++byte) {
        const std::uint8_t* glyph = &psf.glyphs[GlyphOfByte(psf, byte) * psf.bytesPerGlyph];
        for (std::uint32_t y = 0; y < psf.height; ++y) {
            unsigned row = glyph[y * rowBytes] << 8;
            if (rowBytes > 1) {
                row |= glyph[y * rowBytes + 1];
            }
            out << row << ",";
        }
        out << "\n";
    }
    out << "};\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: %s OUT.cpp NAME FONT.psf.gz ...\n", argv[0]);
        return 2;
    }
    std::ofstream out(argv[1]);
    out << "// Made by psf_to_glyphs from the console fonts; not edited by hand.\n"
        << "#include \"GlyphFont.h\"\n\nnamespace {\n";
    std::vector<std::string> tail;
    for (int i = 2; i < argc; i += 2) {
        Psf psf;
        if (!ParsePsf(ReadGzip(argv[i + 1]), psf)) {
            std::fprintf(stderr, "%s: not a PSF2 font with a Unicode table\n", argv[i + 1]);
            return 1;
        }
        WriteFont(out, argv[i], psf);
        tail.push_back("const GlyphFont k" + std::string(argv[i]) + "Glyphs{" +
                       std::to_string(psf.width) + ", " + std::to_string(psf.height) + ", k" +
                       argv[i] + "Rows};\n");
    }
    out << "}  // namespace\n\n";
    for (const auto& line : tail) {
        out << line;
    }
    return out ? 0 : 1;
}
