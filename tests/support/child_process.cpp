#include "support/child_process.h"

#ifdef _WIN32
#include <windows.h>

#include "sys/cmdline.h"
#include "sys/utf.h"
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace testsupport {

#ifdef _WIN32

namespace {

// A handle that the child inherits: the null device, read or written.
HANDLE NullDevice(DWORD access) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(L"NUL", access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                       0, nullptr);
}

std::string WithUnixLineEnds(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

}  // namespace

ChildRun RunChild(const std::filesystem::path& program, const std::vector<std::string>& args,
                  const std::filesystem::path& dir, ErrorOutput errors) {
    const std::filesystem::path exe = std::filesystem::absolute(program);
    std::vector<std::u16string> words{exe.u16string()};
    for (const std::string& a : args) words.push_back(sys::Utf8ToUtf16(a));
    // wchar_t is a UTF-16 unit here.
    const std::u16string joined = sys::JoinCommandLine(words);
    std::wstring line(joined.begin(), joined.end());

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read_end = nullptr;
    HANDLE write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inherit, 0)) return {};
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = NullDevice(GENERIC_READ);
    startup.hStdOutput = write_end;
    const bool merged = errors == ErrorOutput::WithOutput;
    startup.hStdError = merged ? write_end : NullDevice(GENERIC_WRITE);
    PROCESS_INFORMATION process{};
    const bool started =
        CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                       dir.empty() ? nullptr : dir.c_str(), &startup, &process);
    // Only the child may hold the write end now, so the reads below end with it.
    CloseHandle(write_end);
    CloseHandle(startup.hStdInput);
    if (!merged) CloseHandle(startup.hStdError);
    ChildRun run;
    if (!started) {
        CloseHandle(read_end);
        return run;
    }
    std::string output;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(read_end, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        output.append(buffer, got);
    }
    CloseHandle(read_end);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(process.hProcess, &code)) run.exit_code = static_cast<int>(code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    run.output = WithUnixLineEnds(output);
    return run;
}

#else

ChildRun RunChild(const std::filesystem::path& program, const std::vector<std::string>& args,
                  const std::filesystem::path& dir, ErrorOutput errors) {
    // Everything the child needs is made before fork: between fork and exec
    // only async-signal-safe calls are allowed.
    const std::filesystem::path exe = std::filesystem::absolute(program);
    std::vector<char*> argv{const_cast<char*>(exe.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int fds[2];
    if (pipe(fds) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        const int null_device = open("/dev/null", O_RDWR);
        if (null_device < 0 || (!dir.empty() && chdir(dir.c_str()) != 0)) _exit(127);
        dup2(null_device, STDIN_FILENO);
        dup2(fds[1], STDOUT_FILENO);
        dup2(errors == ErrorOutput::WithOutput ? fds[1] : null_device, STDERR_FILENO);
        close(fds[0]);
        close(fds[1]);
        close(null_device);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(fds[1]);
    ChildRun run;
    if (pid < 0) {
        close(fds[0]);
        return run;
    }
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(fds[0], buffer, sizeof buffer)) != 0) {
        if (got > 0) {
            run.output.append(buffer, static_cast<size_t>(got));
        } else if (errno != EINTR) {
            break;
        }
    }
    close(fds[0]);
    int status = 0;
    pid_t waited = 0;
    do {
        waited = waitpid(pid, &status, 0);
    } while (waited < 0 && errno == EINTR);
    if (waited == pid && WIFEXITED(status)) run.exit_code = WEXITSTATUS(status);
    return run;
}

#endif

}  // namespace testsupport
