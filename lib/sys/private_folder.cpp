#include "sys/private_folder.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace sys {

namespace {

// The user's runtime folder where the system has one (it goes at logout, so a
// process killed before its end leaves nothing for long), else the
// temporary folder.
fs::path Base(std::error_code& ec) {
#ifndef _WIN32
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && fs::path(runtime).is_absolute() && fs::is_directory(runtime, ec)) {
        return runtime;
    }
#endif
    return fs::temp_directory_path(ec);
}

// Removes its folder when the process ends, as static objects are destroyed.
class OwnedFolder {
public:
    OwnedFolder() {
        std::error_code ec;
        const fs::path temp = Base(ec);
        if (ec) return;
        std::mt19937 random{std::random_device{}()};
        // A name taken by another process is never reused: create_directory
        // reports whether it made the folder.
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            char name[32];
            std::snprintf(name, sizeof name, "zepplayer-%08x", static_cast<unsigned>(random()));
            if (fs::create_directory(temp / name, ec) && !ec) path_ = temp / name;
        }
        if (!path_.empty()) fs::permissions(path_, fs::perms::owner_all, ec);
    }
    ~OwnedFolder() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove_all(path_, ignored);
    }
    OwnedFolder(const OwnedFolder&) = delete;
    OwnedFolder& operator=(const OwnedFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

}  // namespace

std::optional<fs::path> PrivateFolder() {
    static const OwnedFolder folder;
    if (folder.path().empty()) return std::nullopt;
    return folder.path();
}

}  // namespace sys
