#include "platform/claim.h"
#include "platform/platform.h"
#include "platform/windows_names.h"

#include <windows.h>

namespace zorvant::platform {
namespace {

enum class Where { MessageFile, ClaimedName };

HANDLE handleOf(const FileHold& hold) {
    return reinterpret_cast<HANDLE>(hold.handle());
}

// A byte far beyond the end of any message: locking it keeps other watchers out without keeping anyone
// from reading the message.
OVERLAPPED lockedByte() {
    OVERLAPPED at{};
    at.Offset = 0xFFFFFFFE;
    at.OffsetHigh = 0x7FFFFFFF;
    return at;
}

bool isGone(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

Claim failed(DWORD error) {
    return {ClaimStatus::Failed, {}, systemReason(error)};
}

// Opened with every sharing allowed, so that the writer may go on appending and the file may be renamed
// and deleted while it is held. A private name that cannot be opened is being deleted by its owner.
Claim lockPlainFile(const std::wstring& name, Where where) {
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return isGone(error) ? Claim{ClaimStatus::Missing} : failed(error);
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return {where == Where::MessageFile ? ClaimStatus::Missing : ClaimStatus::Folder};
    const HANDLE file =
        CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (isGone(error))
            return {ClaimStatus::Missing};
        const bool busy =
            error == ERROR_SHARING_VIOLATION || (where == Where::ClaimedName && error == ERROR_ACCESS_DENIED);
        return busy ? Claim{ClaimStatus::Busy} : failed(error);
    }
    FileHold hold(reinterpret_cast<std::intptr_t>(file));
    if (GetFileType(file) != FILE_TYPE_DISK)
        return {ClaimStatus::NotPlainFile};
    OVERLAPPED at = lockedByte();
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        const DWORD error = GetLastError();
        return error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? Claim{ClaimStatus::Busy}
                                                                          : failed(error);
    }
    return {ClaimStatus::Claimed, std::move(hold)};
}

bool identity(HANDLE file, BY_HANDLE_FILE_INFORMATION& info) {
    return GetFileInformationByHandle(file, &info) != 0;
}

// True while the name still leads to the held file. Only the file index is compared: the name and the
// held file share a folder, so a volume, and Wine reports the volume serial number of a handle opened
// for reading as 0.
bool leadsTo(const std::wstring& name, const FileHold& hold) {
    const HANDLE named = CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (named == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    const bool same = identity(named, a) && identity(handleOf(hold), b) &&
                      a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
    CloseHandle(named);
    return same;
}

bool exists(const std::wstring& name) {
    return GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES ||
           GetLastError() == ERROR_ACCESS_DENIED;
}

} // namespace

FileHold::~FileHold() {
    if (handle_ != kNone)
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

FileHold::State FileHold::state() const {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!identity(handleOf(*this), info))
        return {};
    const auto size =
        static_cast<std::int64_t>((static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    const auto modified =
        static_cast<std::int64_t>((static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                                  info.ftLastWriteTime.dwLowDateTime);
    State state{size, modified, false};
    if (size > 0) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(size - 1);
        at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(size - 1) >> 32);
        char last = 0;
        DWORD read = 0;
        state.endsWithLineEnd = ReadFile(handleOf(*this), &last, 1, &read, &at) && read == 1 && last == '\n';
    }
    return state;
}

bool renameFile(std::string_view from, std::string_view to) {
    return MoveFileExW(wideName(from).c_str(), wideName(to).c_str(), 0) != 0;
}

Claim claimFile(std::string_view file, std::string_view claimed) {
    const std::wstring from = wideName(file), to = wideName(claimed);
    Claim claim = lockPlainFile(from, Where::MessageFile);
    if (claim.status != ClaimStatus::Claimed)
        return claim;
    if (!MoveFileExW(from.c_str(), to.c_str(), 0)) {
        const DWORD error = GetLastError();
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
            return {ClaimStatus::Taken};
        if (isGone(error))
            return {ClaimStatus::Missing};
        // The writer holds it without letting it be renamed, or the private name is being deleted.
        if (error == ERROR_SHARING_VIOLATION || (error == ERROR_ACCESS_DENIED && exists(to)))
            return {ClaimStatus::Busy};
        return failed(error);
    }
    if (leadsTo(to, claim.hold))
        return claim;
    return holdClaimed(claimed);
}

Claim holdClaimed(std::string_view claimed) {
    const std::wstring name = wideName(claimed);
    Claim claim = lockPlainFile(name, Where::ClaimedName);
    if (claim.status == ClaimStatus::Claimed && !leadsTo(name, claim.hold))
        return {ClaimStatus::Busy};
    return claim;
}

} // namespace zorvant::platform
