#include "misc/CxBackupCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <tuple>
#include <vector>

#include "misc/CxDebugUtil.h"
#include "misc/CxSafeReplace.h"
#include "misc/CxUniqueFd.h"

namespace tabrel {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSuffix = ".bak";
constexpr std::size_t kStampLength = 15;  // YYYYMMDD-HHMMSS

std::string SystemError() {
    return std::strerror(errno);
}

std::string LocalStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[kStampLength + 1] = {};
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Where a copy's name places it among the copies of base: its time, then its number (1
// for none); nullopt for a name that is not a copy of base.
std::optional<std::tuple<std::string, unsigned>> CopyOrder(std::string_view name,
                                                           std::string_view base) {
    if (!name.starts_with(base) || !name.ends_with(kSuffix) ||
        name.size() < base.size() + 1 + kStampLength + kSuffix.size() || name[base.size()] != '.') {
        return std::nullopt;
    }
    name.remove_prefix(base.size() + 1);
    name.remove_suffix(kSuffix.size());
    const std::string_view stamp = name.substr(0, kStampLength);
    if (!AllDigits(stamp.substr(0, 8)) || stamp[8] != '-' || !AllDigits(stamp.substr(9))) {
        return std::nullopt;
    }
    std::string_view rest = name.substr(kStampLength);
    unsigned number = 1;
    if (!rest.empty()) {
        if (rest[0] != '-' || !AllDigits(rest.substr(1))) {
            return std::nullopt;
        }
        rest.remove_prefix(1);
        const auto [end, failed] = std::from_chars(rest.data(), rest.data() + rest.size(), number);
        if (failed != std::errc() || end != rest.data() + rest.size()) {
            return std::nullopt;
        }
    }
    return std::tuple{std::string(stamp), number};
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool CopyBytes(int from, int to, std::string& error) {
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t n = ::read(from, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            error = "it could not be read (" + SystemError() + ")";
            return false;
        }
        if (n == 0) {
            return true;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t written =
                ::write(to, buffer.data() + done, static_cast<size_t>(n - done));
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                error = "the copy could not be written (" + SystemError() + ")";
                return false;
            }
            done += written;
        }
    }
}

// The copies of the file at target, each with its place in their order.
std::vector<std::pair<std::tuple<std::string, unsigned>, fs::path>> FindCopies(
    const fs::path& target) {
    const std::string base = target.filename().string();
    std::vector<std::pair<std::tuple<std::string, unsigned>, fs::path>> copies;
    std::error_code failed;
    fs::directory_iterator entries(target.parent_path().empty() ? "." : target.parent_path(),
                                   failed);
    for (; !failed && entries != fs::directory_iterator(); entries.increment(failed)) {
        const auto order = CopyOrder(entries->path().filename().string(), base);
        if (order && entries->is_regular_file(failed) && !entries->is_symlink(failed)) {
            copies.emplace_back(*order, entries->path());
        }
    }
    return copies;
}

// The highest number of a copy of target made at stamp; 0 when there is none.
unsigned LastNumber(const fs::path& target, const std::string& stamp) {
    unsigned last = 0;
    for (const auto& [order, path] : FindCopies(target)) {
        if (std::get<0>(order) == stamp) {
            last = std::max(last, std::get<1>(order));
        }
    }
    return last;
}

// Removes the oldest copies of the file at target until keep are left.
void RemoveOldCopies(const fs::path& target, std::size_t keep) {
    auto copies = FindCopies(target);
    std::error_code failed;
    if (copies.size() <= keep) {
        return;
    }
    std::sort(copies.begin(), copies.end());
    for (std::size_t i = 0; i + keep < copies.size(); ++i) {
        if (fs::remove(copies[i].second, failed)) {
            CX_LOG(kLogProgress, "Removed the old backup copy %s", copies[i].second.string());
        }
    }
}

}  // namespace

std::optional<std::string> MakeBackupCopy(const std::string& path, std::size_t keep,
                                          std::string& error) {
    std::error_code failed;
    const fs::path target = fs::canonical(path, failed);
    if (failed) {
        error = "it could not be found (" + failed.message() + ")";
        return std::nullopt;
    }
    const CxUniqueFd source(::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    struct stat info {};
    if (!source.IsOpen() || ::fstat(source.Get(), &info) != 0) {
        error = "it could not be opened (" + SystemError() + ")";
        return std::nullopt;
    }
    const std::string stamp = LocalStamp();
    const std::string stem = target.string() + "." + stamp;
    // Numbered after the newest copy of this second, so that a name the rotation freed is
    // never taken again by a newer copy (which would then sort as the oldest).
    unsigned number = LastNumber(target, stamp) + 1;
    std::string copy;
    do {
        copy = stem + (number == 1 ? "" : "-" + std::to_string(number)) + std::string(kSuffix);
        ++number;
    } while (Exists(copy));
    CxSafeReplace replacement;
    if (!replacement.Begin(copy)) {
        error = "no file can be made in its folder";
        return std::nullopt;
    }
    if (!CopyBytes(source.Get(), replacement.GetTempFd(), error)) {
        return std::nullopt;
    }
    if (!replacement.Commit()) {
        error = "the copy could not be written";
        return std::nullopt;
    }
    ::chmod(copy.c_str(), info.st_mode & 07777);  // as private as the original
    CX_LOG(kLogNotice, "Kept a backup copy of %s as %s", target.string(), copy);
    RemoveOldCopies(target, keep);
    return copy;
}

}  // namespace tabrel
