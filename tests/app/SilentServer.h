// A loopback TCP server that accepts every connection and never sends a byte: the mail server that hangs. It keeps,
// per connection, how long the client held it open before closing. Test and tool code only.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace trelm_test {

class TSilentServer {
  public:
    TSilentServer() {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 2), &wsa);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        listen(listener_, 8);
        int len = sizeof addr;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        acceptor_ = std::thread([this] { Accept(); });
    }
    ~TSilentServer() {
        closesocket(listener_);
        acceptor_.join();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            for (SOCKET s : open_)
                shutdown(s, SD_BOTH);  // ends the readers' waits
        }
        for (auto& reader : readers_)
            reader.join();
        WSACleanup();
    }
    TSilentServer(const TSilentServer&) = delete;
    TSilentServer& operator=(const TSilentServer&) = delete;

    int Port() const { return port_; }
    int Connections() const { return connections_; }
    // How long each connection that the client has closed was held, in milliseconds, in the order they closed.
    std::vector<ULONGLONG> HeldMs() {
        std::lock_guard<std::mutex> lock(mutex_);
        return held_;
    }

  private:
    void Accept() {
        for (;;) {
            SOCKET s = accept(listener_, nullptr, nullptr);
            if (s == INVALID_SOCKET)
                return;
            ++connections_;
            std::lock_guard<std::mutex> lock(mutex_);
            open_.push_back(s);
            readers_.emplace_back([this, s] { Hold(s); });
        }
    }
    // Reads (and drops) what the client sends until it closes.
    void Hold(SOCKET s) {
        const ULONGLONG start = GetTickCount64();
        char buffer[4096];
        while (recv(s, buffer, sizeof buffer, 0) > 0) {
        }
        std::lock_guard<std::mutex> lock(mutex_);
        held_.push_back(GetTickCount64() - start);
        closesocket(s);
        for (auto& o : open_) {
            if (o == s)
                o = INVALID_SOCKET;
        }
    }

    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::atomic<int> connections_{0};
    std::mutex mutex_;
    std::vector<SOCKET> open_;
    std::vector<ULONGLONG> held_;
    std::vector<std::thread> readers_;
    std::thread acceptor_;
};

}  // namespace trelm_test
