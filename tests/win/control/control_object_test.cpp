// The control as a COM object, before and without a window: its automation
// surface, its persistence in every form, its property page and About box,
// and the interfaces a container finds on it.
#include <gtest/gtest.h>

#include <ole2.h>
#include <olectl.h>

#include <fstream>
#include <new>
#include <sstream>

#include "class_factory.h"
#include "com_ptr.h"
#include "dialog_watcher.h"
#include "guids.h"
#include "strings.h"
#include "test_container.h"
#include "wine_path.h"
#include "zel_ctrl.h"
#include "zel_prop_page.h"

namespace zel::control {
namespace {

using ole::ComPtr;

ComPtr<IDispatch> NewControl() {
    ComPtr<IDispatch> dispatch;
    ole::CreateInstance<CZelCtrl>(IID_IDispatch, dispatch.ReceiveVoid());
    return dispatch;
}

DISPID IdOf(IDispatch* dispatch, const wchar_t* name) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    const HRESULT result = dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    return SUCCEEDED(result) ? id : DISPID_UNKNOWN;
}

std::string Get(IDispatch* dispatch, const wchar_t* name) {
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    ole::ScopedVariant result;
    const HRESULT invoked = dispatch->Invoke(IdOf(dispatch, name), IID_NULL, LOCALE_USER_DEFAULT,
                                             DISPATCH_PROPERTYGET, &none, result.Get(), nullptr, nullptr);
    EXPECT_EQ(invoked, S_OK) << "get";
    EXPECT_EQ((*result).vt, VT_BSTR);
    return (*result).vt == VT_BSTR ? ole::Narrow((*result).bstrVal) : "<not a string>";
}

HRESULT Put(IDispatch* dispatch, const wchar_t* name, const std::string& value) {
    VARIANT argument;
    argument.vt = VT_BSTR;
    argument.bstrVal = ole::NewBstr(value);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&argument, &named, 1, 1};
    const HRESULT result = dispatch->Invoke(IdOf(dispatch, name), IID_NULL, LOCALE_USER_DEFAULT,
                                            DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
    VariantClear(&argument);
    return result;
}

bool IsDirty(IDispatch* dispatch) {
    ComPtr<IPersistStreamInit> persist;
    dispatch->QueryInterface(IID_IPersistStreamInit, persist.ReceiveVoid());
    return persist && persist->IsDirty() == S_OK;
}

TEST(ControlObject, PropertiesByNameStartEmptyAndMarkTheControlModified) {
    ComPtr<IDispatch> control = NewControl();
    ASSERT_TRUE(control);
    EXPECT_EQ(IdOf(control.Get(), L"File"), 1);
    EXPECT_EQ(IdOf(control.Get(), L"url"), 2);
    EXPECT_EQ(IdOf(control.Get(), L"AboutBox"), DISPID_ABOUTBOX);
    EXPECT_EQ(IdOf(control.Get(), L"Nothing"), DISPID_UNKNOWN);

    EXPECT_EQ(Get(control.Get(), L"File"), "");
    EXPECT_EQ(Get(control.Get(), L"Url"), "");
    EXPECT_FALSE(IsDirty(control.Get()));
    ASSERT_EQ(Put(control.Get(), L"Url", "http://127.0.0.1/movies/car.zel"), S_OK);
    EXPECT_TRUE(IsDirty(control.Get()));
    ASSERT_EQ(Put(control.Get(), L"File", "car.zel"), S_OK);
    EXPECT_EQ(Get(control.Get(), L"Url"), "http://127.0.0.1/movies/car.zel");
    EXPECT_EQ(Get(control.Get(), L"File"), "car.zel");

    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(control->Invoke(77, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    // The interface argument is reserved: a call that names one is refused.
    ole::ScopedVariant got;
    EXPECT_EQ(control->Invoke(2, IID_IDispatch, 0, DISPATCH_PROPERTYGET, &none, got.Get(), nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);
    EXPECT_EQ((*got).vt, VT_EMPTY);
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"Url")};
    DISPID id = 0;
    EXPECT_EQ(control->GetIDsOfNames(kDispatchIid, names, 1, 0, &id), DISP_E_UNKNOWNINTERFACE);
    // A put without the named argument a property put carries is refused.
    VARIANT argument;
    argument.vt = VT_I4;
    argument.lVal = 5;
    DISPPARAMS unnamed{&argument, nullptr, 1, 0};
    EXPECT_NE(control->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYPUT, &unnamed, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(Get(control.Get(), L"File"), "car.zel");
}

TEST(ControlObject, StreamStorageAndPropertyBagRoundTripsKeepBothProperties) {
    ComPtr<IDispatch> source = NewControl();
    Put(source.Get(), L"File", "notes.txt");
    Put(source.Get(), L"Url", "http://example.test/a b/movie.zel");

    // Stream.
    ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.Receive()), S_OK);
    ComPtr<IPersistStreamInit> saver = source.As<IPersistStreamInit>(IID_IPersistStreamInit);
    ASSERT_EQ(saver->Save(stream.Get(), TRUE), S_OK);
    EXPECT_FALSE(IsDirty(source.Get()));
    stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    ComPtr<IDispatch> fromStream = NewControl();
    ASSERT_EQ(fromStream.As<IPersistStreamInit>(IID_IPersistStreamInit)->Load(stream.Get()), S_OK);
    EXPECT_EQ(Get(fromStream.Get(), L"File"), "notes.txt");
    EXPECT_EQ(Get(fromStream.Get(), L"Url"), "http://example.test/a b/movie.zel");

    // A stream cut short fails the load with an error, and nothing crashes.
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    ULARGE_INTEGER shorter;
    shorter.QuadPart = stat.cbSize.QuadPart - 4;
    stream->SetSize(shorter);
    stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    ComPtr<IDispatch> fromShort = NewControl();
    EXPECT_TRUE(FAILED(fromShort.As<IPersistStreamInit>(IID_IPersistStreamInit)->Load(stream.Get())));

    // Property bag: the names a web page's <PARAM>s use.
    test::MapPropertyBag bag;
    ASSERT_EQ(source.As<IPersistPropertyBag>(IID_IPersistPropertyBag)->Save(&bag, TRUE, TRUE), S_OK);
    EXPECT_EQ(bag.Values().at(L"Url"), L"http://example.test/a b/movie.zel");
    EXPECT_EQ(bag.Values().at(L"File"), L"notes.txt");
    EXPECT_EQ(bag.Values().at(L"_Version"), L"65536");
    ComPtr<IDispatch> fromBag = NewControl();
    ASSERT_EQ(fromBag.As<IPersistPropertyBag>(IID_IPersistPropertyBag)->Load(&bag, nullptr), S_OK);
    EXPECT_EQ(Get(fromBag.Get(), L"Url"), "http://example.test/a b/movie.zel");
    EXPECT_EQ(Get(fromBag.Get(), L"File"), "notes.txt");

    // A bag with only a Url, as most pages write it.
    test::MapPropertyBag page(std::map<std::wstring, std::wstring>{{L"Url", L"movie.zel"}});
    ComPtr<IDispatch> fromPage = NewControl();
    ASSERT_EQ(fromPage.As<IPersistPropertyBag>(IID_IPersistPropertyBag)->Load(&page, nullptr), S_OK);
    EXPECT_EQ(Get(fromPage.Get(), L"Url"), "movie.zel");
    EXPECT_EQ(Get(fromPage.Get(), L"File"), "");

    // Structured storage.
    ComPtr<ILockBytes> bytes;
    ASSERT_EQ(CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.Receive()), S_OK);
    ComPtr<IStorage> storage;
    ASSERT_EQ(StgCreateDocfileOnILockBytes(bytes.Get(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                                           storage.Receive()),
              S_OK);
    ASSERT_EQ(source.As<IPersistStorage>(IID_IPersistStorage)->Save(storage.Get(), FALSE), S_OK);
    ComPtr<IDispatch> fromStorage = NewControl();
    ASSERT_EQ(fromStorage.As<IPersistStorage>(IID_IPersistStorage)->Load(storage.Get()), S_OK);
    EXPECT_EQ(Get(fromStorage.Get(), L"Url"), "http://example.test/a b/movie.zel");
}

TEST(ControlObject, ContainersFindOneIdentityAndOnePropertyPage) {
    ComPtr<IDispatch> control = NewControl();
    ComPtr<IUnknown> identity = control.As<IUnknown>(IID_IUnknown);
    for (const IID* iid : {&IID_IOleObject, &IID_IOleInPlaceObject, &IID_IOleInPlaceActiveObject, &IID_IOleControl,
                           &IID_IViewObject2, &IID_IProvideClassInfo2, &IID_IPersistStreamInit,
                           &IID_IPersistPropertyBag, &IID_IPersistStorage, &IID_ISpecifyPropertyPages,
                           &IID_IConnectionPointContainer, &kDispatchIid}) {
        ComPtr<IUnknown> other = control.As<IUnknown>(*iid);
        ASSERT_TRUE(other);
        EXPECT_EQ(other.As<IUnknown>(IID_IUnknown).Get(), identity.Get());
    }
    EXPECT_FALSE(control.As<IUnknown>(IID_IPersistFile));

    ComPtr<ISpecifyPropertyPages> pages = control.As<ISpecifyPropertyPages>(IID_ISpecifyPropertyPages);
    for (int call = 0; call < 2; ++call) {
        CAUUID list{};
        ASSERT_EQ(pages->GetPages(&list), S_OK);
        ASSERT_EQ(list.cElems, 1u);
        EXPECT_EQ(list.pElems[0], kPropPageClsid);
        CoTaskMemFree(list.pElems);
    }

    ComPtr<IProvideClassInfo2> info = control.As<IProvideClassInfo2>(IID_IProvideClassInfo2);
    GUID events{};
    EXPECT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
    EXPECT_EQ(events, kEventsIid);
    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(info->GetClassInfo(coclass.Receive()), S_OK);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(coclass->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->guid, kControlClsid);
    coclass->ReleaseTypeAttr(attributes);

    ComPtr<IOleObject> object = control.As<IOleObject>(IID_IOleObject);
    DWORD status = 0;
    EXPECT_EQ(object->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
    EXPECT_EQ(status, 0x20191u);
    LPOLESTR type = nullptr;
    ASSERT_EQ(object->GetUserType(USERCLASSTYPE_FULL, &type), S_OK);
    EXPECT_STREQ(type, L"Zel Control");
    CoTaskMemFree(type);
}

// A sink that counts the notifications reaching it. The control only asks it
// for the connection's interface and never calls it, so it can answer for the
// events' dispinterface too.
class CountingSink : public IPropertyNotifySink {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = iid == IID_IUnknown || iid == IID_IPropertyNotifySink || iid == kEventsIid ? this : nullptr;
        if (!*object) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE OnChanged(DISPID) override {
        ++calls;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID) override {
        ++calls;
        return S_OK;
    }

    ULONG references = 1;
    int calls = 0;
};

TEST(ControlObject, ContainersCanAdviseOnTheEventsAndPropertyNotificationsWhichNeverFire) {
    CountingSink sink;
    {
        ComPtr<IDispatch> control = NewControl();
        ComPtr<IConnectionPointContainer> points = control.As<IConnectionPointContainer>(IID_IConnectionPointContainer);
        ComPtr<IEnumConnectionPoints> all;
        ASSERT_EQ(points->EnumConnectionPoints(all.Receive()), S_OK);
        IConnectionPoint* listed[3] = {};
        ULONG fetched = 0;
        EXPECT_EQ(all->Next(3, listed, &fetched), S_FALSE);
        ASSERT_EQ(fetched, 2u);
        ComPtr<IConnectionPoint> none;
        EXPECT_EQ(points->FindConnectionPoint(IID_IDispatch, none.Receive()), CONNECT_E_NOCONNECTION);

        const IID* iids[] = {&kEventsIid, &IID_IPropertyNotifySink};
        DWORD cookies[2] = {};
        for (int i = 0; i < 2; ++i) {
            IID iid{};
            EXPECT_EQ(listed[i]->GetConnectionInterface(&iid), S_OK);
            EXPECT_EQ(iid, *iids[i]);
            ComPtr<IConnectionPoint> point;
            ASSERT_EQ(points->FindConnectionPoint(*iids[i], point.Receive()), S_OK);
            EXPECT_EQ(point.Get(), listed[i]);
            listed[i]->Release();
            ASSERT_EQ(point->Advise(&sink, &cookies[i]), S_OK);
            EXPECT_NE(cookies[i], 0u);
        }
        EXPECT_EQ(Put(control.Get(), L"Url", "http://127.0.0.1/changed.zel"), S_OK);
        // The first sink is let go by Unadvise, the second by the control itself.
        ComPtr<IConnectionPoint> events;
        points->FindConnectionPoint(kEventsIid, events.Receive());
        EXPECT_EQ(events->Unadvise(cookies[0]), S_OK);
        EXPECT_EQ(events->Unadvise(cookies[0]), CONNECT_E_NOCONNECTION);
        EXPECT_EQ(sink.references, 2u);
    }
    EXPECT_EQ(sink.references, 1u) << "the control kept a sink after it went away";
    EXPECT_EQ(sink.calls, 0);
}

// The control with code of its own that runs out of memory when its window
// is created and when it is drawn.
class OutOfMemoryControl : public CZelCtrl {
public:
    int OnCreate(const CREATESTRUCTA*) override { throw std::bad_alloc(); }
    void OnDraw(HDC, const RECT&, const RECT&) override { throw std::bad_alloc(); }
};

TEST(ControlObject, RunningOutOfMemoryFailsTheCallInsteadOfEndingTheProcess) {
    ComPtr<IOleObject> control;
    ASSERT_EQ(ole::CreateInstance<OutOfMemoryControl>(IID_IOleObject, control.ReceiveVoid()), S_OK);
    test::TestContainer container(64, 48);
    EXPECT_EQ(container.Embed(control.Get(), {}), E_FAIL) << "a window that cannot be set up is not created";
    ComPtr<IViewObject2> view = control.As<IViewObject2>(IID_IViewObject2);
    ASSERT_TRUE(view);
    HDC dc = GetDC(container.Window());
    const RECTL bounds{0, 0, 64, 48};
    EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0),
              E_OUTOFMEMORY);
    ReleaseDC(container.Window(), dc);
}

TEST(ControlObject, TheAboutBoxIsModalAndTheInvokeReturnsOnceItIsClosed) {
    ComPtr<IDispatch> control = NewControl();
    test::DialogWatcher watcher("About Zel Control");
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    ole::ScopedVariant result;
    EXPECT_EQ(control->Invoke(DISPID_ABOUTBOX, IID_NULL, 0, DISPATCH_METHOD, &none, result.Get(), nullptr, nullptr),
              S_OK);
    EXPECT_TRUE(watcher.Wait());
    EXPECT_EQ(watcher.Seen(), 1);
    EXPECT_EQ((*result).vt, VT_EMPTY);
}

TEST(ControlObject, ThePropertyPageShowsItsPlaceholderAndApplyingChangesNothing) {
    ComPtr<IDispatch> control = NewControl();
    Put(control.Get(), L"Url", "movie.zel");
    ComPtr<IPropertyPage> page;
    ASSERT_EQ(ole::CreateInstance<CZelPropPage>(IID_IPropertyPage, page.ReceiveVoid()), S_OK);

    PROPPAGEINFO info{};
    ASSERT_EQ(page->GetPageInfo(&info), S_OK);
    EXPECT_STREQ(info.pszTitle, L"General");
    EXPECT_GT(info.size.cx, 0);
    EXPECT_GT(info.size.cy, 0);
    CoTaskMemFree(info.pszTitle);

    test::TestWindow frame(400, 200);
    IUnknown* objects[] = {control.As<IUnknown>(IID_IUnknown).Get()};
    ASSERT_EQ(page->SetObjects(1, objects), S_OK);
    RECT area{0, 0, 400, 200};
    ASSERT_EQ(page->Activate(frame.Handle(), &area, FALSE), S_OK);
    HWND text = FindWindowExA(GetWindow(frame.Handle(), GW_CHILD), nullptr, "Static", nullptr);
    ASSERT_NE(text, nullptr);
    char caption[128] = {};
    GetWindowTextA(text, caption, sizeof caption);
    EXPECT_STREQ(caption, "TODO: Place controls to manipulate properties of Zel Control on this dialog.");
    EXPECT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);
    EXPECT_EQ(page->Deactivate(), S_OK);
    EXPECT_EQ(page->SetObjects(0, nullptr), S_OK);
    EXPECT_EQ(Get(control.Get(), L"Url"), "movie.zel");
    EXPECT_EQ(Get(control.Get(), L"File"), "");
}

TEST(ControlObject, TheSamplePageEmbedsThisControlWithAUrlParameter) {
    std::ifstream page(test::WindowsPath(ZEL_SOURCE_DIR "/examples/sample/control.html"));
    std::stringstream text;
    text << page.rdbuf();
    wchar_t clsid[64];
    StringFromGUID2(kControlClsid, clsid, 64);
    const std::string guid = ole::Narrow(clsid + 1, wcslen(clsid) - 2);
    EXPECT_NE(text.str().find("<object classid=\"clsid:" + guid + "\""), std::string::npos) << guid;
    EXPECT_NE(text.str().find("<param name=\"Url\" value=\"http://"), std::string::npos);
}

}  // namespace
}  // namespace zel::control
