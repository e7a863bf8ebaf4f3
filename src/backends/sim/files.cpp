#include "backends/sim/files.h"

#include <algorithm>
#include <vector>

namespace quillop::platform::sim {

namespace {

// Longest path the ANSI calls convert (MAX_PATH characters, the NUL aside); longer ones fail
// with kErrorFilenameExcedRange.
constexpr std::size_t kMaxPath = 260;
// Longest path OpenFile takes: OFSTRUCT's path field, NUL included.
constexpr std::size_t kOfsMaxPathName = 128;

constexpr std::uint32_t kRead = 1;
constexpr std::uint32_t kWrite = 2;
constexpr std::uint32_t kDelete = 4;
constexpr std::uint32_t kDeleteRight = 0x00010000;
constexpr std::uint32_t kGenericAll = 0x10000000;
constexpr std::uint32_t kSettableAttributes =
    kFileAttributeReadonly | kFileAttributeHidden | kFileAttributeSystem | kFileAttributeArchive;

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The full path with "\" separators, "." and ".." resolved, no trailing "\" except a root's;
// relative paths start at C:\ (the sim's current directory).
std::string normalise(std::string_view path) {
    std::string p(path);
    std::replace(p.begin(), p.end(), '/', '\\');
    std::string drive = "C:";
    std::size_t start = 0;
    if (p.size() >= 2 && p[1] == ':') {
        drive = std::string(1, upper(p[0])) + ":";
        start = 2;
    }
    std::vector<std::string> parts;
    std::size_t i = start;
    while (i <= p.size()) {
        const std::size_t j = std::min(p.find('\\', i), p.size());
        const std::string part = p.substr(i, j - i);
        if (part == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = j + 1;
    }
    std::string out = drive + "\\";
    for (std::size_t k = 0; k < parts.size(); ++k) {
        out += (k == 0 ? "" : "\\") + parts[k];
    }
    return out;
}

std::string key_of(std::string_view normalised) {
    std::string k(normalised);
    std::transform(k.begin(), k.end(), k.begin(), upper);
    return k;
}

std::string parent_of(const std::string& key) {
    const std::size_t slash = key.rfind('\\');
    if (slash == std::string::npos || slash + 1 == key.size()) {
        return {}; // a root has no parent
    }
    return slash == 2 ? key.substr(0, 3) : key.substr(0, slash);
}

std::string name_of(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool has_wildcards(std::string_view s) {
    return s.find_first_of("*?") != std::string_view::npos;
}

bool bad_name(std::string_view path) {
    // Characters no file name may hold (the drive's colon aside).
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (c == '<' || c == '>' || c == '"' || c == '|' || c == '*' || c == '?' ||
            (c == ':' && i != 1)) {
            return true;
        }
    }
    return false;
}

bool matches(std::string_view pattern, std::string_view name) {
    if (pattern == "*.*") {
        pattern = "*";
    }
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t star = std::string_view::npos;
    std::size_t mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || upper(pattern[p]) == upper(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

// The data rights an access mask asks for, as read/write/delete bits.
std::uint32_t rights_of(std::uint32_t access) {
    std::uint32_t r = 0;
    if ((access & (kGenericRead | kGenericAll | 0x1)) != 0) {
        r |= kRead;
    }
    if ((access & (kGenericWrite | kGenericAll | 0x2 | 0x4)) != 0) {
        r |= kWrite;
    }
    if ((access & (kDeleteRight | kGenericAll)) != 0) {
        r |= kDelete;
    }
    return r;
}

std::uint32_t shares_of(std::uint32_t share) {
    return share & (kFileShareRead | kFileShareWrite | kFileShareDelete);
}

std::string flags_text(std::uint32_t v) {
    return hex_text(v);
}

} // namespace

Files::Files(CallLog& log, Faults& faults) : log_(log), faults_(faults) {}

void Files::AddDirectory(std::string_view path) {
    const std::string full = normalise(path);
    std::string key = key_of(full);
    std::vector<std::string> chain;
    for (std::string k = key; !k.empty(); k = parent_of(k)) {
        chain.push_back(k);
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (entries_.count(*it) == 0) {
            Entry e;
            e.path = full.substr(0, it->size());
            e.directory = true;
            entries_[*it] = e;
        }
    }
}

void Files::AddFile(std::string_view path, std::string bytes, std::uint32_t attributes) {
    const std::string full = normalise(path);
    const std::string key = key_of(full);
    const std::string parent = parent_of(key);
    if (!parent.empty()) {
        AddDirectory(full.substr(0, parent.size()));
    }
    Entry e;
    e.path = full;
    e.attributes = attributes & kSettableAttributes;
    e.bytes = std::move(bytes);
    entries_[key] = std::move(e);
}

void Files::Remove(std::string_view path) {
    const std::string key = key_of(normalise(path));
    for (auto it = entries_.begin(); it != entries_.end();) {
        const bool inside = it->first == key || (it->first.size() > key.size() &&
                                                 it->first.compare(0, key.size(), key) == 0 &&
                                                 it->first[key.size()] == '\\');
        it = inside ? entries_.erase(it) : std::next(it);
    }
}

bool Files::Exists(std::string_view path) const {
    return entries_.count(key_of(normalise(path))) != 0;
}

std::optional<std::string> Files::Contents(std::string_view path) const {
    auto it = entries_.find(key_of(normalise(path)));
    if (it == entries_.end() || it->second.directory) {
        return std::nullopt;
    }
    return it->second.bytes;
}

std::uint32_t Files::Attributes(std::string_view path) const {
    auto it = entries_.find(key_of(normalise(path)));
    if (it == entries_.end()) {
        return kInvalidFileAttributes;
    }
    const Entry& e = it->second;
    if (e.directory) {
        return kFileAttributeDirectory | e.attributes;
    }
    return e.attributes == 0 ? kFileAttributeNormal : e.attributes;
}

int Files::HoldOpen(std::string_view path, std::uint32_t access, std::uint32_t share) {
    const std::string key = key_of(normalise(path));
    if (entries_.count(key) == 0) {
        return 0;
    }
    const FileHandle h = next_handle_;
    next_handle_ += 4;
    opens_[h] = Open{key, rights_of(access), shares_of(share), true};
    return static_cast<int>(h);
}

void Files::Release(int id) {
    auto it = opens_.find(id);
    if (it != opens_.end() && it->second.other_process) {
        opens_.erase(it);
    }
}

std::size_t Files::OpenHandles() const {
    return static_cast<std::size_t>(std::count_if(
        opens_.begin(), opens_.end(), [](const auto& o) { return !o.second.other_process; }));
}

std::uint32_t Files::CheckOpen(const std::string& key, std::uint32_t access,
                               std::uint32_t share) const {
    const std::uint32_t want = rights_of(access);
    const std::uint32_t allow = shares_of(share);
    for (const auto& [handle, o] : opens_) {
        if (o.key != key) {
            continue;
        }
        // Each side's rights must be shared by the other side.
        if ((want & ~o.share) != 0 || (o.access & ~allow) != 0) {
            return kErrorSharingViolation;
        }
    }
    return kErrorSuccess;
}

std::uint32_t Files::ParentError(const std::string& key) const {
    const std::string parent = parent_of(key);
    if (parent.empty()) {
        return kErrorSuccess;
    }
    auto it = entries_.find(parent);
    return it != entries_.end() && it->second.directory ? kErrorSuccess : kErrorPathNotFound;
}

std::uint32_t Files::OpenOrCreate(const std::string& path, std::uint32_t access,
                                  std::uint32_t share, std::uint32_t disposition,
                                  FileHandle& handle) {
    handle = kInvalidHandleValue;
    if (path.empty()) {
        return kErrorPathNotFound;
    }
    if (path.size() > kMaxPath) {
        return kErrorFilenameExcedRange;
    }
    if (bad_name(path)) {
        return kErrorInvalidName;
    }
    const std::string full = normalise(path);
    const std::string key = key_of(full);
    if (const std::uint32_t e = ParentError(key); e != kErrorSuccess) {
        return e;
    }
    auto it = entries_.find(key);
    std::uint32_t result = kErrorSuccess;
    const bool writes = (rights_of(access) & kWrite) != 0;
    if (it != entries_.end()) {
        Entry& e = it->second;
        if (disposition == kCreateNew) {
            return kErrorFileExists;
        }
        if (e.directory) {
            return kErrorAccessDenied; // a directory opens only with backup semantics
        }
        const bool truncates = disposition == kCreateAlways || disposition == kTruncateExisting;
        if ((e.attributes & kFileAttributeReadonly) != 0 && (writes || truncates)) {
            return kErrorAccessDenied;
        }
        if (const std::uint32_t s = CheckOpen(key, access, share); s != kErrorSuccess) {
            return s;
        }
        if (truncates) {
            e.bytes.clear();
        }
        if (disposition == kCreateAlways || disposition == kOpenAlways) {
            result = kErrorAlreadyExists; // reported on success, as Windows does
        }
    } else {
        if (disposition == kOpenExisting || disposition == kTruncateExisting) {
            return kErrorFileNotFound;
        }
        Entry e;
        e.path = full;
        e.attributes = kFileAttributeArchive;
        entries_[key] = std::move(e);
    }
    handle = next_handle_;
    next_handle_ += 4;
    opens_[handle] = Open{key, rights_of(access), shares_of(share), false};
    return result;
}

std::uint32_t Files::ReadWhole(std::string_view path, std::string& bytes) {
    FileHandle h = kInvalidHandleValue;
    const std::uint32_t e = OpenOrCreate(std::string(path), kGenericRead,
                                         kFileShareRead | kFileShareWrite, kOpenExisting, h);
    if (h == kInvalidHandleValue) {
        return e;
    }
    bytes = entries_.at(opens_.at(h).key).bytes;
    opens_.erase(h);
    return kErrorSuccess;
}

std::uint32_t Files::WriteWhole(std::string_view path, const std::string& bytes) {
    FileHandle h = kInvalidHandleValue;
    const std::uint32_t e = OpenOrCreate(std::string(path), kGenericWrite, 0, kCreateAlways, h);
    if (h == kInvalidHandleValue) {
        return e;
    }
    entries_.at(opens_.at(h).key).bytes = bytes;
    opens_.erase(h);
    return kErrorSuccess;
}

std::uint32_t Files::SetErrorMode(std::uint32_t mode) {
    const std::uint32_t old = error_mode_;
    error_mode_ = mode;
    log_.Add("SetErrorMode(" + flags_text(mode) + ") -> " + flags_text(old));
    return old;
}

FileHandle Files::OpenFile(const char* path, OfStruct& of, std::uint32_t style) {
    FileHandle result = kHfileError;
    std::uint32_t error = kErrorSuccess;
    const std::string p = path == nullptr ? std::string() : std::string(path);
    of = OfStruct{};
    if (const auto fault = faults_.Check("OpenFile")) {
        error = *fault;
    } else if (p.size() >= kOfsMaxPathName) {
        // The full path doesn't fit OFSTRUCT; what Wine reports (Windows' code is not known
        // here, and the program never passes such paths).
        error = kErrorInvalidData;
    } else {
        of.szPathName = normalise(p);
        std::uint32_t access = kGenericRead;
        if ((style & 3) == kOfWrite) {
            access = kGenericWrite;
        } else if ((style & 3) == kOfReadWrite) {
            access = kGenericRead | kGenericWrite;
        }
        std::uint32_t share = kFileShareRead | kFileShareWrite;
        switch (style & 0x70) {
        case kOfShareExclusive:
            share = 0;
            break;
        case kOfShareDenyWrite:
            share = kFileShareRead;
            break;
        case kOfShareDenyRead:
            share = kFileShareWrite;
            break;
        default:
            break;
        }
        const std::string key = key_of(of.szPathName);
        if ((style & kOfCreate) != 0) {
            FileHandle h = kInvalidHandleValue;
            error = OpenOrCreate(p, access, share, kCreateAlways, h);
            result = h;
        } else if (entries_.count(key) == 0) {
            // OpenFile searches for the file first: a missing directory is a missing file.
            error = kErrorFileNotFound;
        } else if ((style & kOfDelete) != 0) {
            if (DeleteFileA(p.c_str())) {
                result = 1;
            } else {
                error = last_error_;
            }
        } else {
            FileHandle h = kInvalidHandleValue;
            error = OpenOrCreate(p, access, share, kOpenExisting, h);
            result = h;
        }
        if (result != kHfileError) {
            error = kErrorSuccess;
        }
        if (result != kHfileError && (style & kOfExist) != 0 && (style & kOfDelete) == 0) {
            opens_.erase(result);
            result = 1;
        }
    }
    if (result == kHfileError) {
        of.nErrCode = error;
        last_error_ = error;
    }
    log_.Add("OpenFile(" + quoted(path) + ", " + flags_text(style) + ") -> " +
             std::to_string(result) +
             (result == kHfileError ? " nErrCode " + std::to_string(error) : std::string()));
    return result;
}

FileHandle Files::CreateFileA(const char* path, std::uint32_t access, std::uint32_t share,
                              std::uint32_t disposition, std::uint32_t /*flags*/) {
    FileHandle h = kInvalidHandleValue;
    std::uint32_t error;
    if (const auto fault = faults_.Check("CreateFileA")) {
        error = *fault;
    } else {
        error = OpenOrCreate(path == nullptr ? std::string() : std::string(path), access, share,
                             disposition, h);
    }
    last_error_ = error;
    log_.Add("CreateFileA(" + quoted(path) + ", " + flags_text(access) + ", " + flags_text(share) +
             ", " + std::to_string(disposition) + ") -> " +
             (h == kInvalidHandleValue ? "-1 error " + std::to_string(error) : std::to_string(h)));
    return h;
}

bool Files::CloseHandle(FileHandle handle) {
    auto it = opens_.find(handle);
    const bool ok = it != opens_.end() && !it->second.other_process;
    if (ok) {
        opens_.erase(it);
    } else {
        last_error_ = kErrorInvalidHandle;
    }
    log_.Add("CloseHandle(" + std::to_string(handle) + ") -> " + (ok ? "1" : "0"));
    return ok;
}

bool Files::SetFileAttributesA(const char* path, std::uint32_t attributes) {
    std::uint32_t error = kErrorSuccess;
    const std::string p = path == nullptr ? std::string() : std::string(path);
    if (const auto fault = faults_.Check("SetFileAttributesA")) {
        error = *fault;
    } else if (p.size() > kMaxPath) {
        error = kErrorFilenameExcedRange;
    } else {
        const std::string key = key_of(normalise(p));
        auto it = entries_.find(key);
        if (p.empty() || it == entries_.end()) {
            error = p.empty() ? kErrorPathNotFound : ParentError(key);
            if (error == kErrorSuccess) {
                error = kErrorFileNotFound;
            }
        } else {
            // Attribute changes need no data access, so no other handle's sharing forbids them.
            it->second.attributes = attributes & kSettableAttributes;
        }
    }
    if (error != kErrorSuccess) {
        last_error_ = error;
    }
    log_.Add("SetFileAttributesA(" + quoted(path) + ", " + flags_text(attributes) + ") -> " +
             (error == kErrorSuccess ? "1" : "0 error " + std::to_string(error)));
    return error == kErrorSuccess;
}

std::uint32_t Files::GetFileAttributesA(const char* path) {
    std::uint32_t result = kInvalidFileAttributes;
    const std::string p = path == nullptr ? std::string() : std::string(path);
    if (const auto fault = faults_.Check("GetFileAttributesA")) {
        last_error_ = *fault;
    } else if (p.size() > kMaxPath) {
        last_error_ = kErrorFilenameExcedRange;
    } else if (p.empty()) {
        last_error_ = kErrorPathNotFound;
    } else {
        const std::string key = key_of(normalise(p));
        result = Attributes(p);
        if (result == kInvalidFileAttributes) {
            last_error_ =
                ParentError(key) == kErrorSuccess ? kErrorFileNotFound : kErrorPathNotFound;
        }
    }
    log_.Add("GetFileAttributesA(" + quoted(path) + ") -> " + flags_text(result));
    return result;
}

bool Files::DeleteFileA(const char* path) {
    std::uint32_t error = kErrorSuccess;
    const std::string p = path == nullptr ? std::string() : std::string(path);
    if (const auto fault = faults_.Check("DeleteFileA")) {
        error = *fault;
    } else if (p.size() > kMaxPath) {
        error = kErrorFilenameExcedRange;
    } else if (p.empty()) {
        error = kErrorPathNotFound;
    } else {
        const std::string key = key_of(normalise(p));
        auto it = entries_.find(key);
        if (it == entries_.end()) {
            error = ParentError(key) == kErrorSuccess ? kErrorFileNotFound : kErrorPathNotFound;
        } else if (it->second.directory || (it->second.attributes & kFileAttributeReadonly) != 0) {
            error = kErrorAccessDenied;
        } else if (CheckOpen(key, kDeleteRight,
                             kFileShareRead | kFileShareWrite | kFileShareDelete) !=
                   kErrorSuccess) {
            error = kErrorSharingViolation;
        } else {
            entries_.erase(it);
        }
    }
    if (error != kErrorSuccess) {
        last_error_ = error;
    }
    log_.Add("DeleteFileA(" + quoted(path) + ") -> " +
             (error == kErrorSuccess ? "1" : "0 error " + std::to_string(error)));
    return error == kErrorSuccess;
}

FindHandle Files::FindFirstFileA(const char* path, FindData& data) {
    std::uint32_t error = kErrorSuccess;
    const std::string p = path == nullptr ? std::string() : std::string(path);
    std::optional<FindData> found;
    if (const auto fault = faults_.Check("FindFirstFileA")) {
        error = *fault;
    } else if (p.size() > kMaxPath) {
        error = kErrorFilenameExcedRange;
    } else if (p.empty()) {
        error = kErrorPathNotFound;
    } else {
        std::string slashed = p;
        std::replace(slashed.begin(), slashed.end(), '/', '\\');
        const std::size_t cut = slashed.rfind('\\');
        const std::string pattern = cut == std::string::npos ? slashed : slashed.substr(cut + 1);
        const std::string dir =
            cut == std::string::npos ? std::string("C:\\") : slashed.substr(0, cut + 1);
        const std::string dir_key = key_of(normalise(dir));
        auto d = entries_.find(dir_key);
        if (d == entries_.end() || !d->second.directory) {
            error = kErrorPathNotFound;
        } else if (pattern.empty()) {
            error = kErrorFileNotFound;
        } else if (!has_wildcards(pattern)) {
            auto it = entries_.find(key_of(normalise(dir + pattern)));
            if (it != entries_.end() && parent_of(it->first) == dir_key) {
                const Entry& e = it->second;
                found = FindData{Attributes(e.path), e.bytes.size(), name_of(e.path)};
            }
        } else {
            // Non-root directories list "." and ".." first.
            if (!parent_of(dir_key).empty()) {
                for (const char* dots : {".", ".."}) {
                    if (!found && matches(pattern, dots)) {
                        found = FindData{kFileAttributeDirectory, 0, dots};
                    }
                }
            }
            for (const auto& [key, e] : entries_) {
                if (found) {
                    break;
                }
                if (parent_of(key) == dir_key && key != dir_key &&
                    matches(pattern, name_of(e.path))) {
                    found = FindData{Attributes(e.path), e.bytes.size(), name_of(e.path)};
                }
            }
        }
        if (error == kErrorSuccess && !found) {
            error = kErrorFileNotFound;
        }
    }
    FindHandle h = kInvalidHandleValue;
    if (found) {
        data = *found;
        h = next_handle_;
        next_handle_ += 4;
        finds_[h] = p;
    } else {
        last_error_ = error;
    }
    log_.Add("FindFirstFileA(" + quoted(path) + ") -> " +
             (found ? std::to_string(h) + " " + flags_text(found->dwFileAttributes)
                    : "-1 error " + std::to_string(error)));
    return h;
}

bool Files::FindClose(FindHandle handle) {
    const bool ok = finds_.erase(handle) == 1;
    if (!ok) {
        last_error_ = kErrorInvalidHandle;
    }
    log_.Add("FindClose(" + std::to_string(handle) + ") -> " + (ok ? "1" : "0"));
    return ok;
}

} // namespace quillop::platform::sim
