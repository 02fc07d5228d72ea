#pragma once
// Path lookup without regard to letter case, for folders and files copied from Windows, whose
// names keep the letter case they had there ("Address/ADDRESS.DAT" for "address/address.dat").

#include <optional>
#include <string>
#include <string_view>

namespace tabrel {

// The entry of folder whose name equals name without regard to ASCII letter case: the exact
// name when it exists, else the first such entry in byte order. nullopt when none exists or
// the folder cannot be read.
std::optional<std::string> FindEntryNoCase(const std::string& folder, std::string_view name);

// Joins relative (components separated by '/' or '\') to base, finding each component with
// FindEntryNoCase. Empty and "." components are skipped. From the first component that
// cannot be found on, the components are kept as written. The result ends with '/' when
// relative does (or when relative is empty and base does).
std::string ResolvePathNoCase(std::string_view base, std::string_view relative);

// As ResolvePathNoCase, but nullopt when a component cannot be found.
std::optional<std::string> FindPathNoCase(std::string_view base, std::string_view relative);

// The user's home folder ($HOME, else the password database's entry) without a trailing '/'
// (except for "/" itself); empty when it is not known.
std::string GetHomeFolder();

// folder + '/' + name, without doubling a '/' that folder already ends with.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace tabrel
