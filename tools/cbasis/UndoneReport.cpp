#include "UndoneReport.h"

#include <cstdio>

#include "Wording.h"
#include "platform/kernel/Errors.h"

namespace cbasis {
namespace {

constexpr size_t kPathsShown = 3;

thread_local UndoneReport* t_current = nullptr;

// What the entries of one kind are, for a count of them.
std::string Describe(PlatformUndone kind, DWORD error, size_t count) {
    const bool many = count != 1;
    if (error == ERROR_FILENAME_EXCED_RANGE) return many ? "paths too long" : "path too long";
    switch (kind) {
    case PlatformUndone::BadName:
        return std::string(many ? "names" : "name") +
               " a library path cannot carry (holding \\ : * ? \" < > | or a control character)";
    case PlatformUndone::Special: return many ? "special files (FIFO, socket or device)" : "special file (FIFO, socket or device)";
    case PlatformUndone::Unreadable: return std::string(many ? "entries" : "entry") + " that could not be read";
    case PlatformUndone::NotWritten: return std::string(many ? "entries" : "entry") + " not written";
    case PlatformUndone::NotRenamed: return std::string(many ? "entries" : "entry") + " not renamed";
    case PlatformUndone::NotDeleted: return std::string(many ? "entries" : "entry") + " not deleted";
    case PlatformUndone::NotEntered:
        return std::string(many ? "directories" : "directory") +
               " not entered (a link or a file stands in the place of a directory)";
    case PlatformUndone::NameTaken:
        return std::string(many ? "entries" : "entry") +
               " meeting in one new name (the first took it, the next was refused)";
    }
    return "entries";
}

}  // namespace

UndoneReport::UndoneReport() : m_outer(t_current) {
    t_current = this;
    m_previous = PlatformSetUndoneHook([this](PlatformUndone kind, const std::string& path, DWORD error) {
        Key key{static_cast<int>(kind), error};
        if (m_seen.insert({key, path}).second) m_groups[key].push_back(path);
    });
}

UndoneReport::~UndoneReport() {
    PlatformSetUndoneHook(std::move(m_previous));
    t_current = m_outer;
}

bool UndoneReport::AnyUndone() { return t_current && !t_current->Empty(); }

void UndoneReport::NameAsTyped(const Place& place) {
    if (t_current) t_current->m_places.push_back(place);
}

std::string UndoneReport::Typed(const std::string& posix) const {
    // The innermost place the path lies in says it best.
    const Place* best = nullptr;
    for (const Place& place : m_places) {
        std::string shown = Shown(place, posix);
        if (shown != posix && (!best || place.posix.string().size() > best->posix.string().size())) best = &place;
    }
    return best ? Shown(*best, posix) : posix;
}

void UndoneReport::Print(const char* command) const {
    for (const auto& [key, paths] : m_groups) {
        auto kind = static_cast<PlatformUndone>(key.first);
        std::string line = "cbasis " + std::string(command) + ": left undone: " + std::to_string(paths.size()) + " " +
                           Describe(kind, key.second, paths.size());
        bool withReason = key.second != 0 && key.second != ERROR_FILENAME_EXCED_RANGE &&
                          kind != PlatformUndone::BadName && kind != PlatformUndone::Special &&
                          kind != PlatformUndone::NotEntered && kind != PlatformUndone::NameTaken;
        if (withReason) line += " (" + Reason(key.second) + ")";
        for (size_t i = 0; i < paths.size() && i < kPathsShown; ++i) line += (i ? ", " : ": ") + Typed(paths[i]);
        if (paths.size() > kPathsShown) line += " and " + std::to_string(paths.size() - kPathsShown) + " more";
        std::fprintf(stderr, "%s\n", line.c_str());
    }
}

}  // namespace cbasis
