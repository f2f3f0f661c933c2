// The control module's five identities. They differ only in the first field,
// which counts up from the type library to the property page class; the type
// library (zel.idl) repeats them and a test checks that the two agree.
#pragma once

#include <windows.h>

namespace zel::control {

inline constexpr GUID kTypeLibId = {0x6b1d4e20, 0x3c7a, 0x4f15, {0x9e, 0x2b, 0x51, 0x8c, 0x0d, 0x7a, 0x64, 0xf3}};
inline constexpr GUID kDispatchIid = {0x6b1d4e21, 0x3c7a, 0x4f15, {0x9e, 0x2b, 0x51, 0x8c, 0x0d, 0x7a, 0x64, 0xf3}};
inline constexpr GUID kEventsIid = {0x6b1d4e22, 0x3c7a, 0x4f15, {0x9e, 0x2b, 0x51, 0x8c, 0x0d, 0x7a, 0x64, 0xf3}};
inline constexpr GUID kControlClsid = {0x6b1d4e23, 0x3c7a, 0x4f15, {0x9e, 0x2b, 0x51, 0x8c, 0x0d, 0x7a, 0x64, 0xf3}};
inline constexpr GUID kPropPageClsid = {0x6b1d4e24, 0x3c7a, 0x4f15, {0x9e, 0x2b, 0x51, 0x8c, 0x0d, 0x7a, 0x64, 0xf3}};

inline constexpr WORD kTypeLibMajor = 1;
inline constexpr WORD kTypeLibMinor = 0;

inline constexpr const char* kControlProgId = "ZEL.ZelCtrl.1";
inline constexpr const char* kPropPageProgId = "ZEL.ZelPropPage.1";

// OLEMISC_SETCLIENTSITEFIRST | ACTIVATEWHENVISIBLE | INSIDEOUT | CANTLINKINSIDE | RECOMPOSEONRESIZE
inline constexpr DWORD kMiscStatus = 0x20191;

// Resource ids of the module.
inline constexpr int kIdsControlTypeName = 1;    // "Zel Control"
inline constexpr int kIdsPropPageTypeName = 2;   // "Zel Property Page"
inline constexpr int kIdsPropPageCaption = 100;  // "General"
inline constexpr int kIddAboutBox = 1;
inline constexpr int kIddPropPage = 100;
inline constexpr int kIdbToolbox = 1;
inline constexpr int kIdiControl = 1;

}  // namespace zel::control
