#include "download_status.h"

#include <algorithm>
#include <cstdio>

namespace zel::control {

ole::ComPtr<DownloadStatusCallback> DownloadStatusCallback::Create(const std::atomic<bool>* cancel) {
    return ole::ComPtr<DownloadStatusCallback>(new DownloadStatusCallback(cancel));
}

HRESULT DownloadStatusCallback::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IBindStatusCallback)) {
        *object = static_cast<IBindStatusCallback*>(this);
    } else if (IsEqualIID(iid, IID_IHttpNegotiate)) {
        *object = static_cast<IHttpNegotiate*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

// urlmon may hold and release its references on a worker thread of its own.
ULONG DownloadStatusCallback::AddRef() { return ++m_refs; }

ULONG DownloadStatusCallback::Release() {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

bool DownloadStatusCallback::Abandoned() {
    if (m_cancel && m_cancel->load()) m_aborted = true;
    return m_aborted.load();
}

void DownloadStatusCallback::AbortBinding() {
    if (Abandoned() && m_binding) m_binding->Abort();
}

HRESULT DownloadStatusCallback::OnStartBinding(DWORD, IBinding* binding) {
    NoteProgress();
    if (Abandoned()) return E_ABORT;
    m_binding = ole::ComPtr<IBinding>::Share(binding);
    return S_OK;
}

HRESULT DownloadStatusCallback::GetPriority(LONG* priority) {
    // The same priority as the loader thread the download runs for: a view
    // download neither starves the window's painting nor waits behind it.
    if (priority) *priority = THREAD_PRIORITY_NORMAL;
    return S_OK;
}

HRESULT DownloadStatusCallback::OnLowResource(DWORD) { return S_OK; }

HRESULT DownloadStatusCallback::OnProgress(ULONG progress, ULONG progressMax, ULONG, LPCWSTR) {
    // Formatted as a progress display would show it; nothing shows it.
    char text[100];
    std::snprintf(text, sizeof text, "Downloaded : %d bytes of %d ", static_cast<int>(progress),
                  static_cast<int>(std::max(progress, progressMax)));
    NoteProgress();
    return Abandoned() ? E_ABORT : S_OK;
}

HRESULT DownloadStatusCallback::OnStopBinding(HRESULT, LPCWSTR) {
    m_binding.Reset();
    return S_OK;
}

HRESULT DownloadStatusCallback::GetBindInfo(DWORD*, BINDINFO*) { return S_OK; }

HRESULT DownloadStatusCallback::OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) {
    NoteProgress();
    return S_OK;
}

HRESULT DownloadStatusCallback::OnObjectAvailable(REFIID, IUnknown*) { return S_OK; }

HRESULT DownloadStatusCallback::BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* additionalHeaders) {
    if (additionalHeaders) *additionalHeaders = nullptr;
    return S_OK;
}

HRESULT DownloadStatusCallback::OnResponse(DWORD responseCode, LPCWSTR, LPCWSTR, LPWSTR* additionalRequestHeaders) {
    if (additionalRequestHeaders) *additionalRequestHeaders = nullptr;
    m_httpStatus = responseCode;
    return S_OK;
}

}  // namespace zel::control
