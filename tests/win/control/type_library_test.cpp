// ZEL.OCX's type library as a container meets it: registered by regsvr32.exe,
// loaded back by its GUID through oleaut32, then read type by type (names,
// DISPIDs, flags, help strings) and compared with guids.h.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>
#include <oleauto.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "control_registry.h"
#include "guids.h"
#include "scoped_handle.h"

namespace zel {
namespace {

using namespace zel::control;

template <class T>
struct ComTraits {
    static T* Invalid() { return nullptr; }
    static void Close(T* object) { object->Release(); }
};
template <class T>
using ComRef = win32::ScopedHandle<T*, ComTraits<T>>;

struct BstrTraits {
    static BSTR Invalid() { return nullptr; }
    static void Close(BSTR text) { SysFreeString(text); }
};
using ScopedBstr = win32::ScopedHandle<BSTR, BstrTraits>;

std::string Narrow(BSTR text) { return text ? std::string(text, text + SysStringLen(text)) : std::string(); }

// stdole2.tlb, the standard OLE library that ZELLib imports IDispatch from.
constexpr GUID kStdOle2 = {0x00020430, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// What a type description says of itself.
struct TypeFacts {
    std::string name, help;
    TYPEKIND kind = TKIND_MAX;
    GUID guid = {};
    WORD flags = 0, functions = 0, variables = 0, interfaces = 0;
};

TypeFacts Describe(ITypeInfo* info) {
    TypeFacts facts;
    BSTR name = nullptr, help = nullptr;
    if (SUCCEEDED(info->GetDocumentation(MEMBERID_NIL, &name, &help, nullptr, nullptr))) {
        ScopedBstr ownedName(name), ownedHelp(help);
        facts.name = Narrow(name);
        facts.help = Narrow(help);
    }
    TYPEATTR* attributes = nullptr;
    if (SUCCEEDED(info->GetTypeAttr(&attributes))) {
        facts.kind = attributes->typekind;
        facts.guid = attributes->guid;
        facts.flags = attributes->wTypeFlags;
        facts.functions = attributes->cFuncs;
        facts.variables = attributes->cVars;
        facts.interfaces = attributes->cImplTypes;
        info->ReleaseTypeAttr(attributes);
    }
    return facts;
}

std::string MemberName(ITypeInfo* info, MEMBERID id) {
    BSTR name = nullptr;
    if (FAILED(info->GetDocumentation(id, &name, nullptr, nullptr, nullptr))) return "<none>";
    ScopedBstr owned(name);
    return Narrow(name);
}

class TypeLibrary : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(test::RegisterZelForSuite(), 0u);
    }
    static void TearDownTestSuite() { test::UnregisterZelAfterSuite(); }
    void SetUp() override {
        ITypeLib* library = nullptr;
        ASSERT_EQ(LoadRegTypeLib(kTypeLibId, kTypeLibMajor, kTypeLibMinor, 0x409, &library), S_OK);
        m_library.Reset(library);
        ASSERT_EQ(m_library.Get()->GetTypeInfoCount(), 3u);
    }
    ComRef<ITypeInfo> Type(UINT index) {
        ITypeInfo* info = nullptr;
        EXPECT_EQ(m_library.Get()->GetTypeInfo(index, &info), S_OK);
        return ComRef<ITypeInfo>(info);
    }

    ComRef<ITypeLib> m_library;
};

TEST_F(TypeLibrary, LibraryIsZelLibVersion1For409WithTheControlFlag) {
    BSTR name = nullptr, help = nullptr;
    ASSERT_EQ(m_library.Get()->GetDocumentation(-1, &name, &help, nullptr, nullptr), S_OK);
    ScopedBstr ownedName(name), ownedHelp(help);
    EXPECT_EQ(Narrow(name), "ZELLib");
    EXPECT_EQ(Narrow(help), "zel OLE Control module");

    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(m_library.Get()->GetLibAttr(&attributes), S_OK);
    const TLIBATTR copy = *attributes;
    m_library.Get()->ReleaseTLibAttr(attributes);
    EXPECT_TRUE(IsEqualGUID(copy.guid, kTypeLibId));
    EXPECT_EQ(copy.wMajorVerNum, 1);
    EXPECT_EQ(copy.wMinorVerNum, 0);
    EXPECT_EQ(copy.lcid, 0x409u);
    // Each build's library is made for its own pointer size; the shipped one is win32.
    EXPECT_EQ(copy.syskind, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
    EXPECT_TRUE(copy.wLibFlags & LIBFLAG_FCONTROL);
    EXPECT_FALSE(copy.wLibFlags & (LIBFLAG_FHIDDEN | LIBFLAG_FRESTRICTED));
}

TEST_F(TypeLibrary, TheThreeTypesComeInOrderWithTheGuidsOfTheModule) {
    const TypeFacts dispatch = Describe(Type(0).Get());
    const TypeFacts events = Describe(Type(1).Get());
    const TypeFacts coclass = Describe(Type(2).Get());

    EXPECT_EQ(dispatch.name, "_DZel");
    EXPECT_EQ(dispatch.help, "Dispatch interface for Zel Control");
    EXPECT_EQ(dispatch.kind, TKIND_DISPATCH);
    EXPECT_TRUE(IsEqualGUID(dispatch.guid, kDispatchIid));
    EXPECT_TRUE(dispatch.flags & TYPEFLAG_FHIDDEN);
    EXPECT_EQ(dispatch.variables, 2);

    EXPECT_EQ(events.name, "_DZelEvents");
    EXPECT_EQ(events.help, "Event interface for Zel Control");
    EXPECT_EQ(events.kind, TKIND_DISPATCH);
    EXPECT_TRUE(IsEqualGUID(events.guid, kEventsIid));
    EXPECT_FALSE(events.flags & TYPEFLAG_FHIDDEN);
    EXPECT_EQ(events.functions, 0);
    EXPECT_EQ(events.variables, 0);

    EXPECT_EQ(coclass.name, "Zel");
    EXPECT_EQ(coclass.help, "Zel Control");
    EXPECT_EQ(coclass.kind, TKIND_COCLASS);
    EXPECT_TRUE(IsEqualGUID(coclass.guid, kControlClsid));
    EXPECT_TRUE(coclass.flags & TYPEFLAG_FCONTROL);
    EXPECT_TRUE(coclass.flags & TYPEFLAG_FCANCREATE);
    EXPECT_EQ(coclass.interfaces, 2);
}

TEST_F(TypeLibrary, DZelHasTwoBstrPropertiesAndTheAboutBoxMethod) {
    const ComRef<ITypeInfo> info = Type(0);
    struct Property {
        MEMBERID id;
        const char* name;
    };
    const Property properties[] = {{1, "File"}, {2, "Url"}};
    for (UINT index = 0; index < 2; ++index) {
        VARDESC* variable = nullptr;
        ASSERT_EQ(info.Get()->GetVarDesc(index, &variable), S_OK);
        EXPECT_EQ(variable->memid, properties[index].id);
        EXPECT_EQ(variable->varkind, VAR_DISPATCH);
        EXPECT_EQ(variable->elemdescVar.tdesc.vt, VT_BSTR);
        EXPECT_EQ(MemberName(info.Get(), variable->memid), properties[index].name);
        info.Get()->ReleaseVarDesc(variable);
    }

    // One method of its own; IDispatch's are its base's.
    ASSERT_EQ(Describe(info.Get()).functions, 1);
    FUNCDESC* function = nullptr;
    ASSERT_EQ(info.Get()->GetFuncDesc(0, &function), S_OK);
    EXPECT_EQ(function->memid, DISPID_ABOUTBOX);
    EXPECT_EQ(function->funckind, FUNC_DISPATCH);
    EXPECT_EQ(function->invkind, INVOKE_FUNC);
    EXPECT_EQ(function->cParams, 0);
    EXPECT_EQ(function->elemdescFunc.tdesc.vt, VT_VOID);
    info.Get()->ReleaseFuncDesc(function);
    EXPECT_EQ(MemberName(info.Get(), DISPID_ABOUTBOX), "AboutBox");

    // Names resolve to these DISPIDs, as the control's IDispatch resolves them.
    const std::pair<const wchar_t*, MEMBERID> names[] = {{L"File", 1}, {L"Url", 2}, {L"AboutBox", DISPID_ABOUTBOX}};
    for (const auto& [text, id] : names) {
        LPOLESTR name = const_cast<LPOLESTR>(text);
        MEMBERID found = MEMBERID_NIL;
        EXPECT_EQ(info.Get()->GetIDsOfNames(&name, 1, &found), S_OK);
        EXPECT_EQ(found, id);
    }

    // The base, IDispatch, comes from the imported stdole2.tlb version 2.0.
    HREFTYPE base = 0;
    ASSERT_EQ(info.Get()->GetRefTypeOfImplType(0, &base), S_OK);
    ITypeInfo* baseInfo = nullptr;
    ASSERT_EQ(info.Get()->GetRefTypeInfo(base, &baseInfo), S_OK);
    const ComRef<ITypeInfo> ownedBase(baseInfo);
    EXPECT_EQ(Describe(baseInfo).name, "IDispatch");
    ITypeLib* baseLibrary = nullptr;
    UINT ignored = 0;
    ASSERT_EQ(baseInfo->GetContainingTypeLib(&baseLibrary, &ignored), S_OK);
    const ComRef<ITypeLib> ownedLibrary(baseLibrary);
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(baseLibrary->GetLibAttr(&attributes), S_OK);
    EXPECT_TRUE(IsEqualGUID(attributes->guid, kStdOle2));
    EXPECT_EQ(attributes->wMajorVerNum, 2);
    EXPECT_EQ(attributes->wMinorVerNum, 0);
    baseLibrary->ReleaseTLibAttr(attributes);
}

TEST_F(TypeLibrary, ZelImplementsDZelByDefaultAndSourcesDZelEvents) {
    const ComRef<ITypeInfo> info = Type(2);
    struct Interface {
        const char* name;
        GUID guid;
        int flags;
    };
    const Interface expected[] = {{"_DZel", kDispatchIid, IMPLTYPEFLAG_FDEFAULT},
                                  {"_DZelEvents", kEventsIid, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}};
    for (UINT index = 0; index < 2; ++index) {
        int flags = 0;
        ASSERT_EQ(info.Get()->GetImplTypeFlags(index, &flags), S_OK);
        EXPECT_EQ(flags, expected[index].flags) << index;
        HREFTYPE reference = 0;
        ASSERT_EQ(info.Get()->GetRefTypeOfImplType(index, &reference), S_OK);
        ITypeInfo* implemented = nullptr;
        ASSERT_EQ(info.Get()->GetRefTypeInfo(reference, &implemented), S_OK);
        const ComRef<ITypeInfo> owned(implemented);
        const TypeFacts facts = Describe(implemented);
        EXPECT_EQ(facts.name, expected[index].name);
        EXPECT_TRUE(IsEqualGUID(facts.guid, expected[index].guid)) << index;
    }

    // Found by the control's CLSID, as a container asking for class information finds it.
    ITypeInfo* byGuid = nullptr;
    ASSERT_EQ(m_library.Get()->GetTypeInfoOfGuid(kControlClsid, &byGuid), S_OK);
    const ComRef<ITypeInfo> ownedByGuid(byGuid);
    EXPECT_EQ(Describe(byGuid).name, "Zel");
}

}  // namespace
}  // namespace zel
