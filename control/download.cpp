#include "download.h"

#include <windows.h>

#include <urlmon.h>
#include <wininet.h>

#include "com_apartment.h"
#include "download_status.h"
#include "download_watch.h"
#include "file_names.h"
#include "local_file_lease.h"

namespace zel::control {
namespace {

// The temporary folder, ending with a separator; "" when the system has none.
std::string TempFolder() {
    const DWORD size = GetTempPathA(0, nullptr);
    if (size == 0) return "";
    std::string folder(size, '\0');
    const DWORD length = GetTempPathA(size, folder.data());
    if (length == 0 || length >= size) return "";
    folder.resize(length);
    return folder;
}

}  // namespace

bool DownloadToTemp(const std::string& remoteFolder, const std::string& name, std::string& localfile,
                    const TraceFile& trace, const std::atomic<bool>* cancel, std::chrono::milliseconds stallLimit) {
    const std::string temp = TempFolder();
    localfile = temp + name;
    const std::string remotefile = remoteFolder + name;
    trace.Append("remotefile = %s\n", remotefile.c_str());

    // The path handed back must be one that nothing but this download wrote.
    // Both limits are buffer sizes that count the terminating zero.
    if (temp.empty() || !IsPlainFileName(name) || localfile.size() >= MAX_PATH ||
        remotefile.size() >= INTERNET_MAX_URL_LENGTH) {
        return false;
    }

    const ScopedComApartment apartment;
    const ole::ComPtr<DownloadStatusCallback> status = DownloadStatusCallback::Create(cancel);
    HRESULT result = E_FAIL;
    {
        const DownloadWatch watch(*status.Get(), cancel, stallLimit);
        result = URLDownloadToFileA(nullptr, remotefile.c_str(), localfile.c_str(), 0, status.Get());
    }
    const bool cancelled = status->Aborted() || (cancel && cancel->load());
    // Wine stores a server's error page as a successful download; a cancelled
    // one leaves its partial file; and a failed one leaves any older file of
    // that name in place. None of them may be read as this download.
    if (FAILED(result) || status->HttpStatus() >= 400 || cancelled) {
        DeleteFileA(localfile.c_str());
        return false;
    }
    return true;
}

DownloadFetcher::~DownloadFetcher() { Done(m_leased); }

FetchedFile DownloadFetcher::Fetch(const std::string& name, const std::atomic<bool>& cancel) {
    Done(m_leased);
    FetchedFile fetched{TempFolder() + name, false};
    if (!LocalFileLease::Acquire(fetched.localfile, cancel)) return fetched;
    fetched.arrived = DownloadToTemp(m_remoteFolder, name, fetched.localfile, m_trace, &cancel);
    if (fetched.arrived)
        m_leased = fetched.localfile;
    else
        LocalFileLease::Release(fetched.localfile);
    return fetched;
}

void DownloadFetcher::Done(const std::string&) {
    if (m_leased.empty()) return;
    LocalFileLease::Release(m_leased);
    m_leased.clear();
}

}  // namespace zel::control
