#pragma once
// The folders an elevated launcher writes into, made so that a standard user
// cannot redirect them: each level is created with a protected descriptor
// (SYSTEM and Administrators full control, Users read and execute), and a
// level that is a link to another place, or is owned by anyone but
// Administrators, SYSTEM or the launcher's own account, is refused. The
// levels stay open, without delete sharing, for as long as the object lives,
// so that none of them can be renamed or replaced meanwhile.
#include <string>
#include <vector>

#include "framework/unique_resource.h"

namespace launcher {

enum class TFolderCheck {
    Usable,
    Unavailable,   // could not be made or opened; nothing was refused
    Link,          // a junction, symbolic link or other reparse point
    ForeignOwner,  // owned by an account a standard user may hold
};

struct SecureFolder {
    TFolderCheck check = TFolderCheck::Unavailable;
    std::wstring path;          // base + levels, ending with "\"; empty unless usable
    std::wstring refusedLevel;  // the level refused, without a trailing "\"
    std::wstring owner;         // ForeignOwner: the owning account's name
    std::vector<fw::UniqueFile> held;

    bool Refused() const { return check == TFolderCheck::Link || check == TFolderCheck::ForeignOwner; }
};

// base (an existing folder of the platform, such as ProgramData) followed by
// each of `levels`, created when missing and checked level by level.
SecureFolder MakeSecureFolder(const std::wstring& base, const std::vector<std::wstring>& levels);

}  // namespace launcher
