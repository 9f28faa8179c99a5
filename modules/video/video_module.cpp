#include "video_module.h"

#include "framework/resources.h"
#include "hostlink/protocol.h"
#include "resources/string_ids.h"

CVideoModule::CVideoModule(HWND parent, video::IDirectDrawFactory& directDraw, video::IVideoPlatform& platform)
    : m_parent(parent), m_directDraw(directDraw), m_platform(platform) {
    SetParentDlg(parent);
}

void CVideoModule::Report(UINT id) { Report(fw::LoadStr(id)); }

void CVideoModule::Report(const std::wstring& text) {
    PrintText(text);
    WriteLog(text);
}

void CVideoModule::ReportVerdict(bool passed) {
    Report(passed ? IDS_VIDEO_OK : IDS_VIDEO_FAILED);
    WriteXmlSub(0, passed ? hostlink::kResultPass : hostlink::kResultFail);
}
