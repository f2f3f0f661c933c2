// ZEL.OCX's class objects through its own exports, as COM reaches them
// without the registry: both classes are handed out, nothing else is, and
// the module may be unloaded exactly when nothing of it is alive.
#include <gtest/gtest.h>

#include <ole2.h>
#include <ocidl.h>

#include "control_registry.h"
#include "guids.h"
#include "load_export.h"

namespace zel {
namespace {

using namespace zel::control;

using GetClassObjectFunction = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNowFunction = HRESULT(STDAPICALLTYPE*)();

TEST(ModuleExports, HandOutBothClassesAndAllowUnloadingOnlyWhenNothingIsAlive) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    HMODULE module = LoadLibraryA(test::OcxPath().c_str());
    ASSERT_NE(module, nullptr);
    const auto getClassObject = test::LoadExport<GetClassObjectFunction>(module, "DllGetClassObject");
    const auto canUnloadNow = test::LoadExport<CanUnloadNowFunction>(module, "DllCanUnloadNow");
    ASSERT_TRUE(getClassObject && canUnloadNow);
    EXPECT_EQ(canUnloadNow(), S_OK);

    IClassFactory* factory = nullptr;
    ASSERT_EQ(getClassObject(kControlClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    IUnknown* outer = reinterpret_cast<IUnknown*>(factory);
    IUnknown* aggregated = nullptr;
    EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, reinterpret_cast<void**>(&aggregated)),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(aggregated, nullptr);
    IOleObject* control = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IOleObject, reinterpret_cast<void**>(&control)), S_OK);
    factory->Release();
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    control->Release();
    EXPECT_EQ(canUnloadNow(), S_OK);

    IPropertyPage* page = nullptr;
    ASSERT_EQ(getClassObject(kPropPageClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IPropertyPage, reinterpret_cast<void**>(&page)), S_OK);
    factory->LockServer(TRUE);
    factory->Release();
    page->Release();
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    ASSERT_EQ(getClassObject(kPropPageClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    factory->LockServer(FALSE);
    factory->Release();
    EXPECT_EQ(canUnloadNow(), S_OK);

    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClassObject(kTypeLibId, IID_IClassFactory, &none), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(none, nullptr);
    FreeLibrary(module);
    OleUninitialize();
}

}  // namespace
}  // namespace zel
