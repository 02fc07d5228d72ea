#include "misc/CxPath.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "misc/CxText.h"

namespace tabrel {

namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// Resolves relative below base; found tells whether every component exists.
std::string Resolve(std::string_view base, std::string_view relative, bool& found) {
    found = true;
    std::string path(base);
    std::size_t pos = 0;
    while (pos < relative.size()) {
        std::size_t end = pos;
        while (end < relative.size() && !IsSeparator(relative[end])) {
            ++end;
        }
        const std::string_view component = relative.substr(pos, end - pos);
        pos = end + 1;
        if (component.empty() || component == ".") {
            continue;
        }
        if (found) {
            if (auto entry = FindEntryNoCase(path.empty() ? std::string(".") : path, component)) {
                path = path.empty() ? *entry : JoinPath(path, *entry);
                continue;
            }
            found = false;
        }
        path = path.empty() ? std::string(component) : JoinPath(path, component);
    }
    const bool trailing = relative.empty() ? false : IsSeparator(relative.back());
    if (trailing && (path.empty() || path.back() != '/')) {
        path += '/';
    }
    return path;
}

}  // namespace

std::string GetHomeFolder() {
    std::string home;
    if (const char* value = std::getenv("HOME"); value != nullptr) {
        home = value;
    }
    if (home.empty()) {
        std::vector<char> buffer(16384);
        passwd entry{};
        passwd* found = nullptr;
        if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
            found != nullptr && found->pw_dir != nullptr) {
            home = found->pw_dir;
        }
    }
    while (home.size() > 1 && home.back() == '/') {
        home.pop_back();
    }
    return home;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    path += name;
    return path;
}

std::optional<std::string> FindEntryNoCase(const std::string& folder, std::string_view name) {
    if (name.empty()) {
        return std::nullopt;
    }
    if (Exists(JoinPath(folder, name))) {
        return std::string(name);
    }
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    std::optional<std::string> best;
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        std::string entry = it->path().filename().string();
        if (EqualsNoCase(entry, name) && (!best || entry < *best)) {
            best = std::move(entry);
        }
    }
    return best;
}

std::string ResolvePathNoCase(std::string_view base, std::string_view relative) {
    bool found = false;
    return Resolve(base, relative, found);
}

std::optional<std::string> FindPathNoCase(std::string_view base, std::string_view relative) {
    bool found = false;
    std::string path = Resolve(base, relative, found);
    if (!found) {
        return std::nullopt;
    }
    return path;
}

}  // namespace tabrel
