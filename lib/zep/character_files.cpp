#include "zep/character_files.h"

#include <cstdint>
#include <span>
#include <system_error>

#include "sys/files.h"
#include "zep/region_format.h"

namespace fs = std::filesystem;

namespace player {

namespace {

std::string Printable(const fs::path& path) {
    const std::u8string name = path.u8string();
    return {name.begin(), name.end()};
}

fs::path CharacterBase(const fs::path& dir, const std::string& name) {
    return dir / fs::path(std::u8string(name.begin(), name.end()));
}

bool WriteFile(const fs::path& path, const std::string& bytes, FileWrite how,
               std::string& error) {
    std::error_code ec;
    const std::span<const uint8_t> data(reinterpret_cast<const uint8_t*>(bytes.data()),
                                        bytes.size());
    const bool written = how == FileWrite::Replace ? sys::ReplaceFileContents(path, data, ec)
                                                   : sys::WriteScratchFile(path, data, ec);
    if (written) return true;
    error = "cannot write '" + Printable(path) + "': " + ec.message();
    return false;
}

}  // namespace

fs::path CharacterScriptIn(const fs::path& dir, const std::string& name) {
    fs::path script = CharacterBase(dir, name);
    script += ".zep";
    return script;
}

bool WriteCharacterFiles(const StoredCharacter& character, const fs::path& dir,
                         std::string& error, FileWrite how) {
    const fs::path base = CharacterBase(dir, character.name);
    for (size_t n = 0; n < character.regions.size(); ++n) {
        fs::path name = base;
        name += rgn::RegionFileSuffix(n);
        if (!WriteFile(name, character.regions[n], how, error)) return false;
    }
    fs::path surplus = base;
    surplus += rgn::RegionFileSuffix(character.regions.size());
    std::error_code ignored;
    fs::remove(surplus, ignored);
    return WriteFile(CharacterScriptIn(dir, character.name), character.script, how, error);
}

}  // namespace player
