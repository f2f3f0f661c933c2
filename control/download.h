// The control's download service: one remote file into the temporary folder
// through the system's URL download service, synchronously.
//
// A download that fails leaves no file at the local path (neither a stale file
// of the same name from an earlier download nor a server's error page), so the
// reader reports the file as missing instead of reading the wrong one.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

#include "control_loader.h"
#include "trace.h"

namespace zel::control {

// A server that sends nothing for this long has gone away: the view counts as
// failed. Far longer than any pause of a working server or a slow line.
inline constexpr std::chrono::milliseconds kStallLimit{30000};

// Fetches `remoteFolder` + `name` into the temporary folder + `name` and sets
// `localfile` to that path, also when the download fails or is refused.
// Appends "remotefile = %s\n" to `trace` before the download. Returns true
// when the file arrived; only then may `localfile` be opened. With `cancel`, a
// download in progress is given up soon after it becomes true; a transfer that
// makes no progress for `stallLimit` is given up as failed. Works on any
// thread, with or without COM. A name that is not a plain file name
// (IsPlainFileName: a separator, a drive, "..", a device name such as NUL or
// COM1), a local path of MAX_PATH characters or more, or a URL over 2083
// characters is refused without a request.
bool DownloadToTemp(const std::string& remoteFolder, const std::string& name, std::string& localfile,
                    const TraceFile& trace, const std::atomic<bool>* cancel = nullptr,
                    std::chrono::milliseconds stallLimit = kStallLimit);

// The loader thread's fetches for one control: every view from that control's
// own remote folder, so controls created later never redirect it. A view's
// local file is leased to this fetcher from its download until the loader is
// Done with it, so controls whose movies share view names take turns instead
// of overwriting each other's file while it is being decoded.
class DownloadFetcher : public ViewFetcher {
public:
    DownloadFetcher(std::string remoteFolder, TraceFile trace)
        : m_remoteFolder(std::move(remoteFolder)), m_trace(std::move(trace)) {}
    ~DownloadFetcher() override;
    DownloadFetcher(const DownloadFetcher&) = delete;
    DownloadFetcher& operator=(const DownloadFetcher&) = delete;

    std::string RemoteFolder() const override { return m_remoteFolder; }
    FetchedFile Fetch(const std::string& name, const std::atomic<bool>& cancel) override;
    void Done(const std::string& local) override;

private:
    std::string m_remoteFolder;
    TraceFile m_trace;
    std::string m_leased;
};

}  // namespace zel::control
