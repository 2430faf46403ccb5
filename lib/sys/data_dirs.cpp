#include "sys/data_dirs.h"

#include <cstdlib>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace sys {

namespace {

constexpr char kPlayerFolder[] = "zepplayer";

#ifdef _WIN32

std::wstring Environment(const wchar_t* name) {
    wchar_t value[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(value, length) : std::wstring();
}

fs::path ExecutableFolder() {
    wchar_t name[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, name, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return fs::path(std::wstring(name, length)).parent_path();
}

#else

// The data folder of an installed tree or of the build tree, both of which
// keep the programs in bin/ beside share/.
fs::path BesideExecutable() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || !exe.is_absolute()) return {};
    return exe.parent_path().parent_path() / "share" / kPlayerFolder;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The XDG rule: a list of absolute folders separated by ':', empty entries
// and relative ones ignored.
void AddFolders(std::vector<fs::path>& folders, const std::string& list) {
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        const fs::path folder = list.substr(start, end - start);
        if (folder.is_absolute()) folders.push_back(folder / kPlayerFolder);
        start = end + 1;
    }
}

#endif

}  // namespace

std::vector<fs::path> PlayerDataFolders() {
    std::vector<fs::path> folders;
#ifdef _WIN32
    if (fs::path exe = ExecutableFolder(); !exe.empty()) folders.push_back(exe);
    if (std::wstring local = Environment(L"LOCALAPPDATA"); !local.empty()) {
        folders.push_back(fs::path(local) / kPlayerFolder);
    }
#else
    if (fs::path beside = BesideExecutable(); !beside.empty()) folders.push_back(beside);
    std::string home_data = Environment("XDG_DATA_HOME");
    if (!fs::path(home_data).is_absolute()) {
        const std::string home = Environment("HOME");
        home_data = home.empty() ? "" : home + "/.local/share";
    }
    AddFolders(folders, home_data);
    const std::string shared = Environment("XDG_DATA_DIRS");
    AddFolders(folders, shared.empty() ? "/usr/local/share:/usr/share" : shared);
    folders.push_back(fs::path(ZEP_INSTALL_DATADIR) / kPlayerFolder);
#endif
    return folders;
}

}  // namespace sys
