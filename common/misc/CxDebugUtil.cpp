#include "misc/CxDebugUtil.h"

#include <fmt/format.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <system_error>

#include "misc/CxAssert.h"
#include "misc/CxText.h"

namespace tabrel {

namespace {

// The part of a source file name after its last path separator; "<null>" for none.
std::string_view ShortSourceName(const char* sourceFile) {
    if (sourceFile == nullptr) {
        return "<null>";
    }
    std::string_view name(sourceFile);
    const auto cut = name.find_last_of("\\/");
    if (cut != std::string_view::npos) {
        name.remove_prefix(cut + 1);
    }
    return name.substr(0, 255);
}

std::int64_t FileSizeOf(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? -1 : static_cast<std::int64_t>(size);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

void CxDebugUtil::SetFolder(std::string_view folder) {
    m_szFolder = CutText(folder, kMaxFolder);
}

void CxDebugUtil::SetLevel(int level) {
    m_nLevel = level > 3 ? 3 : (level < 0 ? 0 : level);
}

std::string CxDebugUtil::FormatLine(int level, const char* sourceFile, int line,
                                    std::string_view message) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return fmt::format(
        "[{:04d}/{:02d}/{:02d} {:02d}:{:02d}:{:02d}][{:<20}({:<4})][{:05x}][{}] - {}",
        local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
        local.tm_sec, ShortSourceName(sourceFile), line, static_cast<unsigned>(gettid()),
        level == 0 ? "!!!" : "   ", message.substr(0, kMaxMessage));
}

void CxDebugUtil::WriteLine(int level, const char* sourceFile, int line, std::string_view message) {
    const std::string path = GetPath();
    const char* openMode = "ab";
    if (FileSizeOf(path) > kRotateAbove) {
        // Start afresh only once the old content is safe in the copy; if the copy fails,
        // keep appending rather than lose it.
        std::error_code error;
        std::filesystem::copy_file(path, path + ".old.log",
                                   std::filesystem::copy_options::overwrite_existing, error);
        if (!error) {
            openMode = "wb";
        }
    }
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), openMode));
    if (!file) {
        return;  // no folder or no permission: the message is dropped
    }
    const std::string text = FormatLine(level, sourceFile, line, message) + "\r\n";
    std::fwrite(text.data(), 1, text.size(), file.get());
}

CxDebugUtil& DebugLog() {
    static CxDebugUtil log;
    return log;
}

void CxAssertFailed(const char* condition, const char* file, int line) {
    DebugLog().Print(kLogFailure, file, line, "Assertion failed: %s", condition);
    throw CxAssertionError(condition);
}

}  // namespace tabrel
