#include "secure_folder.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

namespace launcher {

namespace {

// SYSTEM and Administrators full control, Users read and execute, inherited
// by what is made inside and protected from what the parent would pass on.
// No owner: an elevated administrator's objects belong to Administrators.
constexpr wchar_t kFolderDescriptor[] = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

fw::UniqueLocal FolderDescriptor() {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ::ConvertStringSecurityDescriptorToSecurityDescriptorW(kFolderDescriptor, SDDL_REVISION_1, &descriptor, nullptr);
    return fw::UniqueLocal(descriptor);
}

// Open without following a reparse point, and without delete sharing: while
// held, the folder can be neither renamed nor removed.
fw::UniqueFile OpenLevel(const std::wstring& path, DWORD access, DWORD flags) {
    return fw::UniqueFile(::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr));
}

std::wstring FinalPath(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length + 1);
    }
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}

// A reparse point shows in the attributes of the name; Wine shows a Unix
// symbolic link there only, and follows it when the folder is opened, so the
// open folder's own path must also be its parent's followed by its name.
bool IsLink(const std::wstring& path, HANDLE level, DWORD levelAttributes, const std::wstring& parentFinal) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
    if (levelAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return true;
    const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    return !SamePath(FinalPath(level), parentFinal + L"\\" + name);
}

bool IsOwnAccount(PSID owner) {
    fw::UniqueHandle token;
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
    token.reset(raw);
    alignas(TOKEN_USER) BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD length = 0;
    if (!::GetTokenInformation(token.get(), TokenUser, buffer, sizeof buffer, &length)) return false;
    return ::EqualSid(owner, reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid) != FALSE;
}

// Administrators, SYSTEM, or the (elevated) account the launcher runs as: a
// standard user can give a folder none of these. Wine reports every folder as
// the launcher's own account's.
bool TrustedOwner(PSID owner) {
    return ::IsWellKnownSid(owner, WinBuiltinAdministratorsSid) || ::IsWellKnownSid(owner, WinLocalSystemSid) ||
           IsOwnAccount(owner);
}

std::wstring AccountName(PSID sid) {
    wchar_t name[256] = {}, domain[256] = {};
    DWORD nameChars = 256, domainChars = 256;
    SID_NAME_USE use{};
    if (::LookupAccountSidW(nullptr, sid, name, &nameChars, domain, &domainChars, &use))
        return domain[0] ? std::wstring(domain) + L"\\" + name : std::wstring(name);
    PWSTR text = nullptr;
    std::wstring result = ::ConvertSidToStringSidW(sid, &text) ? text : L"?";
    ::LocalFree(text);
    return result;
}

}  // namespace

SecureFolder MakeSecureFolder(const std::wstring& base, const std::vector<std::wstring>& levels) {
    SecureFolder folder;
    fw::UniqueLocal descriptor = FolderDescriptor();
    if (!descriptor || base.empty()) return folder;
    fw::UniqueFile baseHandle = OpenLevel(base, FILE_READ_ATTRIBUTES, 0);  // the platform's own folder may be a link
    std::wstring parent = base, parentFinal = baseHandle ? FinalPath(baseHandle.get()) : L"";
    if (parentFinal.empty()) return folder;

    auto* sd = static_cast<PSECURITY_DESCRIPTOR>(descriptor.get());
    for (const std::wstring& name : levels) {
        const std::wstring path = parent + L"\\" + name;
        SECURITY_ATTRIBUTES attributes{sizeof attributes, sd, FALSE};
        if (!::CreateDirectoryW(path.c_str(), &attributes) && ::GetLastError() != ERROR_ALREADY_EXISTS) return folder;
        fw::UniqueFile level =
            OpenLevel(path, READ_CONTROL | WRITE_DAC | FILE_READ_ATTRIBUTES, FILE_FLAG_OPEN_REPARSE_POINT);
        FILE_ATTRIBUTE_TAG_INFO tag{};
        if (!level || !::GetFileInformationByHandleEx(level.get(), FileAttributeTagInfo, &tag, sizeof tag))
            return folder;
        if (IsLink(path, level.get(), tag.FileAttributes, parentFinal)) {
            folder.check = TFolderCheck::Link;
            folder.refusedLevel = path;
            return folder;
        }
        if (!(tag.FileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return folder;
        PSID owner = nullptr;
        PSECURITY_DESCRIPTOR ownerDescriptor = nullptr;
        if (::GetSecurityInfo(level.get(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                              nullptr, &ownerDescriptor) != ERROR_SUCCESS)
            return folder;
        fw::UniqueLocal ownerHolder(ownerDescriptor);
        if (!TrustedOwner(owner)) {
            folder.check = TFolderCheck::ForeignOwner;
            folder.refusedLevel = path;
            folder.owner = AccountName(owner);
            return folder;
        }
        // A level made by an earlier version has the parent's descriptor, in
        // which users may create entries: it gets the protected one as well.
        BOOL present = FALSE, defaulted = FALSE;
        PACL dacl = nullptr;
        if (::GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted) && present)
            ::SetSecurityInfo(level.get(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                              nullptr, nullptr, dacl, nullptr);
        parentFinal = FinalPath(level.get());
        folder.held.push_back(std::move(level));
        parent = path;
    }
    folder.check = TFolderCheck::Usable;
    folder.path = parent + L"\\";
    return folder;
}

}  // namespace launcher
