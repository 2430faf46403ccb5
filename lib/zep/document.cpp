#include "zep/document.h"

#include <new>
#include <string>
#include <utility>
#include <vector>

#include "sys/files.h"
#include "zep/canvas.h"
#include "zep/script.h"

namespace fs = std::filesystem;

namespace player {

namespace {

// The extension starts at the last '.' of the last path component, so a
// dotted folder name never lends one to a file name without a dot.
size_t ExtensionLength(const fs::path& path) {
    const auto name = path.filename().native();
    const size_t dot = name.rfind('.');
    return dot == name.npos ? 0 : name.size() - dot;
}

bool IsScriptExtension(const fs::path& path, size_t length) {
    static constexpr char kExtension[] = ".zep";
    if (length != sizeof kExtension - 1) return false;
    const auto& name = path.native();
    for (size_t i = 0; i < length; ++i) {
        auto c = name[name.size() - length + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<decltype(c)>(c - 'A' + 'a');
        if (c != kExtension[i]) return false;
    }
    return true;
}

fs::path RegionFileName(const fs::path& base, size_t number) {
    fs::path name = base;
    name += rgn::RegionFileSuffix(number);
    return name;
}

// The document at path, or false with the reason in ec.
bool ReadDocumentInto(const fs::path& path, std::vector<StrokeCommand>& commands,
                      std::vector<fs::path>& region_files, std::error_code& ec) {
    const size_t extension = ExtensionLength(path);
    if (!IsScriptExtension(path, extension)) {
        ec = std::make_error_code(std::errc::not_supported);
        return false;
    }
    // Every region file name is as long as the one for 00; a name that does
    // not fit is refused rather than cut, which would open another file.
    const fs::path base = fs::path(path.native().substr(0, path.native().size() - extension));
    if (!sys::CheckPath(path, ec) || !sys::CheckPath(RegionFileName(base, 0), ec)) return false;
    {
        std::string text;
        if (!sys::ReadWholeFile(path, text, ec)) return false;
        commands = ParseScript(text);
    }
    for (size_t n = 0; n < kMaxRegionFiles; ++n) {
        fs::path name = RegionFileName(base, n);
        if (!sys::PathExists(name)) break;
        region_files.push_back(std::move(name));
    }
    return true;
}

}  // namespace

std::optional<Document> ReadDocument(const fs::path& path, std::error_code& ec) {
    try {
        Document document;
        if (ReadDocumentInto(path, document.commands, document.region_files, ec)) {
            ec.clear();
            return document;
        }
    } catch (const std::bad_alloc&) {
        ec = std::make_error_code(std::errc::not_enough_memory);
    }
    return std::nullopt;
}

std::string ReadFailureReason(const std::error_code& ec) {
    if (ec == std::errc::not_supported) return "not a ZEP script (its name does not end in .zep)";
    return ec.message();
}

}  // namespace player
