#include "slow_server.h"

#include <ws2tcpip.h>

#include <chrono>
#include <stdexcept>
#include <vector>

namespace zel::test {
namespace {

ScopedSocket ListenOnLoopback(int& port) {
    ScopedSocket listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!listener) throw std::runtime_error("socket failed");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (bind(listener.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        throw std::runtime_error("bind failed");
    }
    int length = sizeof address;
    if (getsockname(listener.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("getsockname failed");
    }
    port = ntohs(address.sin_port);
    return listener;
}

// Waits up to `milliseconds` for `socket` to become readable.
bool Readable(SOCKET socket, long milliseconds) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    timeval timeout{milliseconds / 1000, (milliseconds % 1000) * 1000};
    return select(0, &set, nullptr, nullptr, &timeout) == 1;
}

bool SendAll(SOCKET socket, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const int sent = send(socket, bytes.data() + done, static_cast<int>(bytes.size() - done), 0);
        if (sent <= 0) return false;
        done += static_cast<size_t>(sent);
    }
    return true;
}

}  // namespace

WinsockSession::WinsockSession() {
    WSADATA data;
    m_started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    if (!m_started) throw std::runtime_error("WSAStartup failed");
}

WinsockSession::~WinsockSession() {
    if (m_started) WSACleanup();
}

int ClosedPort() {
    const WinsockSession winsock;
    int port = 0;
    ListenOnLoopback(port);
    return port;
}

SlowServer::SlowServer(Pace pace) : m_pace(pace) {
    m_listener = ListenOnLoopback(m_port);
    if (listen(m_listener.Get(), 4) != 0) throw std::runtime_error("listen failed");
    m_thread = std::thread([this] { Run(); });
}

SlowServer::~SlowServer() {
    m_stop = true;
    m_thread.join();
}

bool SlowServer::WaitUntilSending() {
    std::unique_lock<std::mutex> guard(m_lock);
    return m_sending.wait_for(guard, std::chrono::seconds(30), [this] { return m_sent > 0; });
}

void SlowServer::LetGo() { m_letGo = true; }

void SlowServer::Run() {
    while (!m_stop) {
        if (!Readable(m_listener.Get(), 50)) continue;
        ScopedSocket client(accept(m_listener.Get(), nullptr, nullptr));
        if (client) Answer(client.Get());
    }
}

// Reads the request head, then answers a file given to Serve whole, and any
// other request at the server's pace.
bool SlowServer::Answer(SOCKET client) {
    std::string request;
    char buffer[1024];
    while (request.find("\r\n\r\n") == std::string::npos) {
        if (m_stop || !Readable(client, 50)) {
            if (m_stop) return false;
            continue;
        }
        const int received = recv(client, buffer, sizeof buffer, 0);
        if (received <= 0) return false;
        request.append(buffer, static_cast<size_t>(received));
    }
    // "GET /name HTTP/1.1"
    const size_t start = request.find(" /");
    const size_t end = request.find(' ', start + 2);
    if (start != std::string::npos && end != std::string::npos) {
        const auto file = m_files.find(request.substr(start + 2, end - start - 2));
        if (file != m_files.end()) {
            return SendAll(client, "HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                                       std::to_string(file->second.size()) + "\r\n\r\n" + file->second);
        }
    }
    const std::string head = "HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                             std::to_string(kBodySize) + "\r\n\r\n";
    if (!SendAll(client, head)) return false;
    return m_pace == Pace::Stall && !m_letGo ? Stall(client) : Trickle(client);
}

// Two bytes of the body, then silence until the test lets go or the server stops.
bool SlowServer::Stall(SOCKET client) {
    if (!SendAll(client, "zz")) return false;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_sent += 2;
    }
    m_sending.notify_all();
    while (!m_stop && !m_letGo) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return true;
}

// The body in small pieces until the client goes away or the server stops.
bool SlowServer::Trickle(SOCKET client) {
    const std::string piece(1024, 'z');
    for (size_t sent = 0; sent < kBodySize && !m_stop; sent += piece.size()) {
        if (!SendAll(client, piece)) return false;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_sent += piece.size();
        }
        m_sending.notify_all();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace zel::test
