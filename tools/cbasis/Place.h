// Path arguments of the tree commands, fixed once before the library runs
// (creating directories moves the process's current directory), and the
// checks those commands make on them. Every file-system call here takes an
// error code: none throws.
#pragma once

#include <filesystem>
#include <string>

#include "platform/atl/Strings.h"

namespace cbasis {

// A path argument: as typed, as an absolute POSIX path with "." and ".."
// resolved in its text, and in the library's form without trailing
// separators.
struct Place {
    std::string typed;
    std::filesystem::path posix;
    CString library;
};

// False, with the reason, for a path the library cannot name (see
// ToLibrary) or one on an unmapped drive.
bool Resolve(const std::string& typed, Place& place, std::string& reason);

// A POSIX path at or below place, in the form the user typed place: "out"
// and /abs/out/a/b give "out/a/b". Other paths come back as they are.
std::string Shown(const Place& place, const std::filesystem::path& posix);

bool IsDirectory(const std::filesystem::path& path);
// True when the entry itself exists (a dangling link counts).
bool Exists(const std::filesystem::path& path);
// True when inner is outer or lies below it, links resolved.
bool LiesInside(const std::filesystem::path& inner, const std::filesystem::path& outer);

}  // namespace cbasis
