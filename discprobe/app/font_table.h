#pragma once
// The font face each user-interface language is shown in.
#include <map>
#include <string>

namespace discprobe {

class CFontTable {
public:
    // The 18 languages the checker is translated to.
    CFontTable();

    // The face for a language code (compared case-sensitively); an unknown code
    // gets an empty face, which leaves the choice to the system.
    const std::wstring& FaceFor(const std::wstring& languageCode);

    size_t size() const { return m_faces.size(); }

private:
    std::map<std::wstring, std::wstring> m_faces;
};

}  // namespace discprobe
