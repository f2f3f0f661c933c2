// The status callback handed to one URL download. Besides the progress
// notifications it answers IHttpNegotiate, the only way the HTTP status code
// reaches us: Wine reports a 404 as a successful download of the error page.
// A cancel flag, when given, makes the next progress notification abort the
// transfer; it keeps the binding urlmon hands it, so that a download that
// sends no notifications at all can be aborted too (DownloadWatch). It notes
// when the transfer last made progress. One object per download, so each
// download has its own status.
#pragma once

#include <windows.h>

#include <urlmon.h>

#include <atomic>
#include <chrono>

#include "ole/com_ptr.h"

namespace zel::control {

class DownloadStatusCallback final : public IBindStatusCallback, public IHttpNegotiate {
public:
    static ole::ComPtr<DownloadStatusCallback> Create(const std::atomic<bool>* cancel);

    DownloadStatusCallback(const DownloadStatusCallback&) = delete;
    DownloadStatusCallback& operator=(const DownloadStatusCallback&) = delete;

    // The status of the last HTTP response, 0 when none came (not HTTP, or no answer).
    DWORD HttpStatus() const { return m_httpStatus.load(); }
    // True once the transfer was aborted, or asked to be.
    bool Aborted() const { return m_aborted.load(); }
    // When the binding started or last reported anything.
    std::chrono::steady_clock::time_point LastProgress() const {
        return std::chrono::steady_clock::time_point(std::chrono::steady_clock::duration(m_lastProgress.load()));
    }

    // Any thread: the transfer is to end; it will not start, and the next
    // notification aborts it.
    void RequestAbort() { m_aborted = true; }
    // The binding's own thread: aborts the binding now, if one is running
    // and an abort was asked for.
    void AbortBinding();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD reserved, IBinding* binding) override;
    HRESULT STDMETHODCALLTYPE GetPriority(LONG* priority) override;
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD reserved) override;
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode,
                                         LPCWSTR statusText) override;
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT result, LPCWSTR error) override;
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* bindFlags, BINDINFO* bindInfo) override;
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD flags, DWORD size, FORMATETC* format,
                                              STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID iid, IUnknown* object) override;

    HRESULT STDMETHODCALLTYPE BeginningTransaction(LPCWSTR url, LPCWSTR headers, DWORD reserved,
                                                   LPWSTR* additionalHeaders) override;
    HRESULT STDMETHODCALLTYPE OnResponse(DWORD responseCode, LPCWSTR responseHeaders, LPCWSTR requestHeaders,
                                         LPWSTR* additionalRequestHeaders) override;

private:
    explicit DownloadStatusCallback(const std::atomic<bool>* cancel) : m_cancel(cancel) { NoteProgress(); }
    ~DownloadStatusCallback() = default;

    void NoteProgress() { m_lastProgress = std::chrono::steady_clock::now().time_since_epoch().count(); }
    // Whether the transfer is to end: cancelled, or asked to abort.
    bool Abandoned();

    std::atomic<ULONG> m_refs{1};
    const std::atomic<bool>* m_cancel;
    std::atomic<DWORD> m_httpStatus{0};
    std::atomic<bool> m_aborted{false};
    std::atomic<std::chrono::steady_clock::rep> m_lastProgress{0};
    // Used on the binding's thread only, between OnStartBinding and OnStopBinding.
    ole::ComPtr<IBinding> m_binding;
};

}  // namespace zel::control
