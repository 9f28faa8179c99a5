#include "sim_objects.h"

#include <atomic>
#include <new>
#include <string>
#include <vector>

#include "imapi_stubs.h"
#include "scenario.h"

namespace discsim {

namespace {

const HRESULT kDeviceGone = HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST);

BSTR AllocText(const std::wstring& text) {
    return ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

SAFEARRAY* VariantArray(std::size_t count) {
    return ::SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(count));
}

template <typename T>
void PutElement(SAFEARRAY* array, LONG index, T assign) {
    VARIANT element;
    ::VariantInit(&element);
    assign(element);
    ::SafeArrayPutElement(array, &index, &element);
    ::VariantClear(&element);
}

SAFEARRAY* LongArray(const std::vector<long>& values) {
    SAFEARRAY* array = VariantArray(values.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        PutElement(array, static_cast<LONG>(i), [&](VARIANT& v) {
            v.vt = VT_I4;
            v.lVal = values[i];
        });
    return array;
}

std::atomic<long> g_liveObjects{0};

// Reference counting shared by the objects over their stub bases; each names
// the interfaces it answers.
template <typename Derived, typename... Stubs>
class CSimObject : public Stubs... {
public:
    CSimObject() { ++g_liveObjects; }
    ~CSimObject() { --g_liveObjects; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_references;
        if (left == 0) delete static_cast<Derived*>(this);
        return left;
    }

protected:
    // QueryInterface's answer: `found` with a reference, or no interface when null.
    HRESULT Answer(void* found, void** object) {
        if (!object) return E_POINTER;
        *object = found;
        if (!found) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }

private:
    std::atomic<ULONG> m_references{1};
};

// The scenario as the file holds it now, with the drive this object stands for.
struct TView {
    std::string text;
    TScenario scenario;
    const TSimDrive* drive = nullptr;
};
TView ViewOf(const std::string& id) {
    TView view{ScenarioText(), {}, nullptr};
    view.scenario = ParseScenario(view.text);
    view.drive = FindDrive(view.scenario, id);
    return view;
}

// Media results default to "usable medium" with a current profile and "no medium" without.
HRESULT MediaResult(const TView& view, const std::string& id, const std::string& key) {
    const HRESULT fallback = view.drive->Number("current") ? S_OK : E_IMAPI_RECORDER_MEDIA_NO_MEDIA;
    return NextResult(view.text, *view.drive, id, key, fallback);
}

class CSimMaster final : public CSimObject<CSimMaster, CDiscMaster2Stub> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        const bool ours = iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IDiscMaster2);
        return Answer(ours ? static_cast<IDiscMaster2*>(this) : nullptr, object);
    }

    HRESULT STDMETHODCALLTYPE get_Item(LONG index, BSTR* value) override {
        if (!value) return E_POINTER;
        *value = nullptr;
        const TView view = ViewOf({});
        if (index < 0 || static_cast<std::size_t>(index) >= view.scenario.drives.size()) return E_INVALIDARG;
        const std::string id = DriveId(view.scenario, static_cast<std::size_t>(index));
        const HRESULT hr = NextResult(view.text, view.scenario.drives[index], id, "item_hr");
        if (FAILED(hr)) return hr;
        *value = AllocText(Widen(id));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Count(LONG* value) override {
        if (!value) return E_POINTER;
        const TView view = ViewOf({});
        const HRESULT hr = NextResult(view.text, view.scenario.master, {}, "count_hr");
        *value = FAILED(hr) ? 0 : static_cast<LONG>(view.scenario.drives.size());
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_IsSupportedEnvironment(VARIANT_BOOL* value) override {
        if (!value) return E_POINTER;
        const TView view = ViewOf({});
        *value = VARIANT_TRUE;
        return NextResult(view.text, view.scenario.master, {}, "supported_hr");
    }
};

class CSimRecorder final : public CSimObject<CSimRecorder, CDiscRecorder2Stub, CDiscRecorder2ExStub> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == __uuidof(IDiscRecorder2Ex)) return Answer(static_cast<IDiscRecorder2Ex*>(this), object);
        const bool ours = iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IDiscRecorder2);
        return Answer(ours ? static_cast<IDiscRecorder2*>(this) : nullptr, object);
    }

    HRESULT STDMETHODCALLTYPE InitializeDiscRecorder(BSTR uniqueId) override {
        const std::wstring wide = uniqueId ? std::wstring(uniqueId, ::SysStringLen(uniqueId)) : std::wstring();
        const std::string id(wide.begin(), wide.end());
        const TView view = ViewOf(id);
        if (!view.drive) return E_INVALIDARG;
        const HRESULT hr = NextResult(view.text, *view.drive, id, "init_hr");
        if (SUCCEEDED(hr)) m_id = id;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_ActiveDiscRecorder(BSTR* value) override {
        if (!value) return E_POINTER;
        *value = AllocText(Widen(m_id));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_VendorId(BSTR* value) override { return TextOf("vendor", value); }
    HRESULT STDMETHODCALLTYPE get_ProductId(BSTR* value) override { return TextOf("product", value); }
    HRESULT STDMETHODCALLTYPE get_ProductRevision(BSTR* value) override { return TextOf("revision", value); }
    HRESULT STDMETHODCALLTYPE get_VolumePathNames(SAFEARRAY** value) override {
        if (!value) return E_POINTER;
        *value = nullptr;
        const TView view = ViewOf(m_id);
        if (!view.drive) return kDeviceGone;
        const auto paths = view.drive->Paths();
        *value = VariantArray(paths.size());
        for (std::size_t i = 0; i < paths.size(); ++i)
            PutElement(*value, static_cast<LONG>(i), [&](VARIANT& v) {
                v.vt = VT_BSTR;
                v.bstrVal = AllocText(paths[i]);
            });
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_SupportedProfiles(SAFEARRAY** value) override {
        if (!value) return E_POINTER;
        *value = nullptr;
        const TView view = ViewOf(m_id);
        if (!view.drive) return kDeviceGone;
        const auto profiles = view.drive->Profiles();
        if (!profiles) return E_FAIL;
        *value = LongArray(*profiles);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetFeaturePage(IMAPI_FEATURE_PAGE_TYPE feature, BOOLEAN, BYTE** data,
                                             ULONG* size) override {
        if (!data || !size) return E_POINTER;
        *data = nullptr;
        *size = 0;
        const TView view = ViewOf(m_id);
        if (!view.drive) return kDeviceGone;
        if (feature != IMAPI_FEATURE_PAGE_TYPE_PROFILE_LIST) return E_NOTIMPL;
        const HRESULT hr = NextResult(view.text, *view.drive, m_id, "feature_hr");
        if (FAILED(hr)) return hr;
        const long current = view.drive->Number("current");
        const auto page = view.drive->ProfileListFeature(view.drive->Number("feature_current", current != 0) != 0);
        *data = static_cast<BYTE*>(::CoTaskMemAlloc(page.size()));
        if (!*data) return E_OUTOFMEMORY;
        std::copy(page.begin(), page.end(), *data);
        *size = static_cast<ULONG>(page.size());
        return S_OK;
    }

private:
    HRESULT TextOf(const char* key, BSTR* value) {
        if (!value) return E_POINTER;
        *value = nullptr;
        const TView view = ViewOf(m_id);
        if (!view.drive) return kDeviceGone;
        *value = AllocText(Widen(view.drive->Text(key)));
        return S_OK;
    }

    std::string m_id;
};

// Drive id of a recorder handed to a format object.
std::string IdOf(IDiscRecorder2* recorder) {
    BSTR id = nullptr;
    if (!recorder || FAILED(recorder->get_ActiveDiscRecorder(&id)) || !id) return {};
    const std::wstring wide(id, ::SysStringLen(id));
    ::SysFreeString(id);
    return std::string(wide.begin(), wide.end());
}

class CSimFormat final : public CSimObject<CSimFormat, CDiscFormat2DataStub> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        const bool ours = iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IDiscFormat2) ||
                          iid == __uuidof(IDiscFormat2Data);
        return Answer(ours ? static_cast<IDiscFormat2Data*>(this) : nullptr, object);
    }

    HRESULT STDMETHODCALLTYPE IsRecorderSupported(IDiscRecorder2* recorder, VARIANT_BOOL* value) override {
        if (!value) return E_POINTER;
        const TView view = ViewOf(IdOf(recorder));
        *value = view.drive && view.drive->Number("supported", 1) ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Recorder(IDiscRecorder2* recorder) override {
        const std::string id = IdOf(recorder);
        const TView view = ViewOf(id);
        if (!view.drive) return E_INVALIDARG;
        const HRESULT hr = NextResult(view.text, *view.drive, id, "put_recorder_hr");
        if (SUCCEEDED(hr)) m_id = id;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE put_ClientName(BSTR) override { return Result("client_name_hr"); }
    HRESULT STDMETHODCALLTYPE get_SupportedMediaTypes(SAFEARRAY** value) override {
        if (!value) return E_POINTER;
        *value = nullptr;
        const HRESULT hr = Result("media_types_hr");
        if (FAILED(hr)) return hr;
        *value = LongArray({0x1, 0x2, 0x3});
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_CurrentPhysicalMediaType(IMAPI_MEDIA_PHYSICAL_TYPE* value) override {
        if (!value) return E_POINTER;
        const TView view = ViewOf(m_id);
        *value = static_cast<IMAPI_MEDIA_PHYSICAL_TYPE>(view.drive ? view.drive->Number("physical_type") : 0);
        return view.drive ? MediaResult(view, m_id, "physical_hr") : kDeviceGone;
    }
    HRESULT STDMETHODCALLTYPE get_CurrentMediaStatus(IMAPI_FORMAT2_DATA_MEDIA_STATE* value) override {
        if (!value) return E_POINTER;
        *value = IMAPI_FORMAT2_DATA_MEDIA_STATE_UNKNOWN;
        const TView view = ViewOf(m_id);
        return view.drive ? MediaResult(view, m_id, "status_hr") : kDeviceGone;
    }

private:
    HRESULT Result(const char* key) {
        const TView view = ViewOf(m_id);
        return view.drive ? NextResult(view.text, *view.drive, m_id, key) : kDeviceGone;
    }

    std::string m_id;
};

template <typename Object, typename Interface>
class CSimFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
        *object = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    // One static factory per class: it lives as long as the module.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        if (!ScenarioConfigured()) return CLASS_E_CLASSNOTAVAILABLE;
        auto* created = new (std::nothrow) Object();
        if (!created) return E_OUTOFMEMORY;
        const HRESULT hr = static_cast<Interface*>(created)->QueryInterface(iid, object);
        static_cast<Interface*>(created)->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

}  // namespace

long LiveObjectCount() { return g_liveObjects; }

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!ScenarioConfigured()) return CLASS_E_CLASSNOTAVAILABLE;
    static CSimFactory<CSimMaster, IDiscMaster2> master;
    static CSimFactory<CSimRecorder, IDiscRecorder2> recorder;
    static CSimFactory<CSimFormat, IDiscFormat2Data> format;
    IClassFactory* factory = clsid == CLSID_MsftDiscMaster2     ? static_cast<IClassFactory*>(&master)
                             : clsid == CLSID_MsftDiscRecorder2 ? static_cast<IClassFactory*>(&recorder)
                             : clsid == CLSID_MsftDiscFormat2Data ? static_cast<IClassFactory*>(&format)
                                                                  : nullptr;
    if (!factory) return CLASS_E_CLASSNOTAVAILABLE;
    return factory->QueryInterface(iid, object);
}

}  // namespace discsim
