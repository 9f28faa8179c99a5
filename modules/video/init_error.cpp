#include "init_error.h"

#include "resources/string_ids.h"
#include "video_module.h"

namespace video {

std::optional<UINT> InitErrorMessage(int code) {
    if (code == 114) return IDS_VIDEO_NO_TEXTURE;
    if (code >= 100 && code <= 133 && code != 117) return IDS_VIDEO_D3D_INIT_FAILED;
    if ((code >= 201 && code <= 216) || code == 300 || code == 301) return IDS_VIDEO_DDRAW_INIT_FAILED;
    if (code == 400) return IDS_VIDEO_WINDOW_INIT_FAILED;
    return std::nullopt;
}

}  // namespace video

void ReportInitError(CVideoModule& module, int code) {
    module.WriteLog(L"\r\n");
    if (std::optional<UINT> id = video::InitErrorMessage(code)) module.WriteLog(*id);
}
