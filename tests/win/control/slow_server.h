// A loopback HTTP peer for the cases the test server cannot stage: it answers
// a request with a large file sent a little at a time (Trickle), so a download
// is still running when a test cancels it, or with the headers and two bytes
// and then nothing more (Stall), until the test lets the transfer go. Files
// given to Serve are answered whole. Also finds a port where nothing listens.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "scoped_handle.h"

namespace zel::test {

struct SocketTraits {
    static SOCKET Invalid() { return INVALID_SOCKET; }
    static void Close(SOCKET socket) { closesocket(socket); }
};
using ScopedSocket = win32::ScopedHandle<SOCKET, SocketTraits>;

class WinsockSession {
public:
    WinsockSession();
    ~WinsockSession();
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;

private:
    bool m_started = false;
};

// A port on 127.0.0.1 that was free a moment ago and has no listener.
int ClosedPort();

class SlowServer {
public:
    // Announces this many bytes and sends them in small pieces, one every few
    // milliseconds: long enough to outlast any test that waits for it.
    static constexpr size_t kBodySize = 4 * 1024 * 1024;

    enum class Pace { Trickle, Stall };

    explicit SlowServer(Pace pace = Pace::Trickle);
    ~SlowServer();
    SlowServer(const SlowServer&) = delete;
    SlowServer& operator=(const SlowServer&) = delete;

    std::string FolderUrl() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/"; }
    // Answers requests for `name` with `bytes`, whole and at once. Call
    // before the first request.
    void Serve(const std::string& name, std::string bytes) { m_files[name] = std::move(bytes); }
    // Waits until part of a body has gone out; false after 30 s without.
    bool WaitUntilSending();
    size_t BytesSent() const { return m_sent; }
    // Ends the stalled transfers: the server closes them and stalls no more.
    void LetGo();

private:
    void Run();
    bool Answer(SOCKET client);
    bool Trickle(SOCKET client);
    bool Stall(SOCKET client);

    const Pace m_pace;
    WinsockSession m_winsock;
    ScopedSocket m_listener;
    int m_port = 0;
    std::map<std::string, std::string> m_files;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_letGo{false};
    std::atomic<size_t> m_sent{0};
    std::mutex m_lock;
    std::condition_variable m_sending;
    std::thread m_thread;
};

}  // namespace zel::test
