// Our declarations of the recorder interfaces against the platform's binary
// contract: the slot of every method the checker calls (and each interface's
// last slot, so none is missing or extra), and the interface ids.
#include <gtest/gtest.h>

#include <cstring>

#include "discprobe/imapi2/imapi2.h"

namespace {

// Slot of a virtual method in its vtable (IUnknown's three first, IDispatch's four next).
template <typename Method>
std::ptrdiff_t Slot(Method method) {
    static_assert(sizeof(Method) == 2 * sizeof(std::ptrdiff_t), "pointer and this adjustment");
    std::ptrdiff_t parts[2];
    std::memcpy(parts, &method, sizeof parts);
    return (parts[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));  // odd value marks a virtual
}

std::wstring Text(const GUID& id) {
    wchar_t text[40];
    ::StringFromGUID2(id, text, 40);
    return text;
}

TEST(DiscprobeImapi2Test, MethodsSitInThePlatformsSlots) {
    const struct {
        const char* method;
        std::ptrdiff_t slot;
        std::ptrdiff_t expected;
    } slots[] = {
        {"IDiscMaster2::get_Item", Slot(&IDiscMaster2::get_Item), 8},
        {"IDiscMaster2::get_Count", Slot(&IDiscMaster2::get_Count), 9},
        {"IDiscMaster2::get_IsSupportedEnvironment", Slot(&IDiscMaster2::get_IsSupportedEnvironment), 10},
        {"IDiscRecorder2::InitializeDiscRecorder", Slot(&IDiscRecorder2::InitializeDiscRecorder), 13},
        {"IDiscRecorder2::get_ActiveDiscRecorder", Slot(&IDiscRecorder2::get_ActiveDiscRecorder), 14},
        {"IDiscRecorder2::get_VendorId", Slot(&IDiscRecorder2::get_VendorId), 15},
        {"IDiscRecorder2::get_ProductId", Slot(&IDiscRecorder2::get_ProductId), 16},
        {"IDiscRecorder2::get_ProductRevision", Slot(&IDiscRecorder2::get_ProductRevision), 17},
        {"IDiscRecorder2::get_VolumePathNames", Slot(&IDiscRecorder2::get_VolumePathNames), 19},
        {"IDiscRecorder2::get_SupportedProfiles", Slot(&IDiscRecorder2::get_SupportedProfiles), 24},
        {"IDiscRecorder2::get_ExclusiveAccessOwner", Slot(&IDiscRecorder2::get_ExclusiveAccessOwner), 27},
        {"IDiscRecorder2Ex::GetFeaturePage", Slot(&IDiscRecorder2Ex::GetFeaturePage), 12},
        {"IDiscRecorder2Ex::GetMaximumPageAlignedTransferSize",
         Slot(&IDiscRecorder2Ex::GetMaximumPageAlignedTransferSize), 20},
        {"IDiscFormat2::IsRecorderSupported", Slot(&IDiscFormat2Data::IsRecorderSupported), 7},
        {"IDiscFormat2::get_SupportedMediaTypes", Slot(&IDiscFormat2Data::get_SupportedMediaTypes), 11},
        {"IDiscFormat2Data::put_Recorder", Slot(&IDiscFormat2Data::put_Recorder), 12},
        {"IDiscFormat2Data::get_CurrentMediaStatus", Slot(&IDiscFormat2Data::get_CurrentMediaStatus), 18},
        {"IDiscFormat2Data::get_CurrentPhysicalMediaType", Slot(&IDiscFormat2Data::get_CurrentPhysicalMediaType), 29},
        {"IDiscFormat2Data::put_ClientName", Slot(&IDiscFormat2Data::put_ClientName), 30},
        {"IDiscFormat2Data::SetWriteSpeed", Slot(&IDiscFormat2Data::SetWriteSpeed), 43},
    };
    for (const auto& s : slots) EXPECT_EQ(s.slot, s.expected) << s.method;
}

// The class ids and media results are proven by the runs on simulated drives,
// which are registered and scripted with the platform's own numbers.
TEST(DiscprobeImapi2Test, InterfaceIdsAreThePlatforms) {
    const struct {
        const char* name;
        GUID id;
        const wchar_t* text;
    } ids[] = {
        {"IDiscMaster2", __uuidof(IDiscMaster2), L"{27354130-7F64-5B0F-8F00-5D77AFBE261E}"},
        {"IDiscRecorder2", __uuidof(IDiscRecorder2), L"{27354133-7F64-5B0F-8F00-5D77AFBE261E}"},
        {"IDiscRecorder2Ex", __uuidof(IDiscRecorder2Ex), L"{27354132-7F64-5B0F-8F00-5D77AFBE261E}"},
        {"IDiscFormat2", __uuidof(IDiscFormat2), L"{27354152-8F64-5B0F-8F00-5D77AFBE261E}"},
        {"IDiscFormat2Data", __uuidof(IDiscFormat2Data), L"{27354153-9F64-5B0F-8F00-5D77AFBE261E}"},
    };
    for (const auto& id : ids) EXPECT_EQ(Text(id.id), id.text) << id.name;
    EXPECT_EQ(IMAPI_FEATURE_PAGE_TYPE_PROFILE_LIST, 0);
}

}  // namespace
