#include "font_table.h"

namespace discprobe {

CFontTable::CFontTable() {
    for (const wchar_t* code : {L"CSY", L"DEU", L"ELL", L"ENU", L"ESN", L"FRA", L"HUN", L"ITA", L"NLD", L"PLK",
                                L"PTB", L"RUS", L"SKY"})
        m_faces[code] = L"Segoe UI";
    m_faces[L"CHS"] = L"Microsoft YaHei";
    m_faces[L"CHT"] = L"Microsoft JhengHei";
    m_faces[L"JPN"] = L"Meiryo";
    m_faces[L"KOR"] = L"Malgun Gothic";
    m_faces[L"THA"] = L"Leelawadee";
}

const std::wstring& CFontTable::FaceFor(const std::wstring& languageCode) { return m_faces[languageCode]; }

}  // namespace discprobe
