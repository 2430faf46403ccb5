// felmar: turns the black pixels of a picture's top-left 254 by 254 square
// into a region file, named after the picture with ".rgn" appended.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <variant>
#include <vector>

#include "picture/picture.h"
#include "picture/trace.h"
#include "sys/cmdline.h"
#include "sys/files.h"
#include "sys/utf.h"
#include "zep/region_encode.h"
#include "zep/region_format.h"

namespace {

namespace fs = std::filesystem;

// The picture's name as the system opens it and as messages show it.
struct PictureName {
    fs::path path;
    std::string shown;
};

// The word as typed, in UTF-8, so that a name in any script opens on every
// platform. A name that is no UTF-8 cannot pass through the words' UTF-16 (its
// bytes became U+FFFD), so then the bytes as given are the name.
PictureName NameOf(const std::u16string& word, const char* bytes) {
    std::string utf8;
    for (const char32_t c : sys::Utf16ToCodePoints(word)) sys::AppendUtf8(utf8, c);
    const bool lost = word.find(static_cast<char16_t>(sys::kReplacementChar)) != word.npos;
    if (lost && bytes != nullptr && utf8 != bytes) return {fs::path(std::string(bytes)), bytes};
    return {fs::path(std::u8string(utf8.begin(), utf8.end())), utf8};
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::u16string> words = sys::CommandLineWords(argc, argv);
    if (words.size() != 2) {
        std::printf("Usage: felmar input.bmp\n");
        return 1;
    }
    const PictureName picture_name = NameOf(words[1], argc == 2 ? argv[1] : nullptr);

    const rgn::PictureResult picture = rgn::LoadPicture(picture_name.path);
    if (!std::holds_alternative<rgn::BlackSquare>(picture)) {
        std::printf("Cannot load bmp '%s'\n", picture_name.shown.c_str());
        return 1;
    }
    // The picture's black pixels are the shape, encoded with no region in
    // between; with none there is no file.
    std::vector<uint8_t> file_image;
    if (!rgn::EncodeRegion(file_image, std::get<rgn::BlackSquare>(picture).black)) {
        std::printf("Internal error #2\n");
        return 1;
    }
    // Written beside the old file and renamed over it, so a failure leaves
    // the old file as it was.
    fs::path output_path = picture_name.path;
    output_path += ".rgn";
    std::error_code ec;
    if (!sys::ReplaceFileContents(output_path, file_image, ec)) {
        std::printf("Cannot write file '%s.rgn'\n", picture_name.shown.c_str());
        return 1;
    }
    return 0;
}
