#include "fake_address_server.h"

#include <sys/socket.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace testsupport {
namespace {

constexpr uint32_t kRequestMs = 3000;
constexpr size_t kMaxRequest = 65536;
constexpr char kEndOfHead[] = "\r\n\r\n";

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

FakeAddressServer::FakeAddressServer(Options options) : m_options(std::move(options)) { Start(); }

FakeAddressServer::~FakeAddressServer() { Stop(); }

std::vector<AddressRequest> FakeAddressServer::Requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

std::string FakeAddressServer::Header(const std::string& head, const std::string& name) {
    size_t start = 0;
    while (start < head.size()) {
        size_t end = head.find("\r\n", start);
        if (end == std::string::npos) end = head.size();
        std::string line = head.substr(start, end - start);
        size_t colon = line.find(':');
        if (colon != std::string::npos && SameText(line.substr(0, colon), name)) {
            size_t value = line.find_first_not_of(' ', colon + 1);
            return value == std::string::npos ? std::string() : line.substr(value);
        }
        start = end + 2;
    }
    return {};
}

bool FakeAddressServer::ReadRequest(int fd, AddressRequest* request) {
    std::string stream;
    size_t head_end = std::string::npos;
    while ((head_end = stream.find(kEndOfHead)) == std::string::npos) {
        char byte;
        if (stream.size() >= kMaxRequest || !ReadExact(fd, &byte, 1, kRequestMs)) return false;
        stream.push_back(byte);
    }
    request->head = stream.substr(0, head_end + 2);
    long length = std::strtol(Header(request->head, "Content-Length").c_str(), nullptr, 10);
    if (length < 0 || static_cast<size_t>(length) > kMaxRequest) return false;
    request->body.resize(static_cast<size_t>(length));
    return length == 0 || ReadExact(fd, request->body.data(), request->body.size(), kRequestMs);
}

bool FakeAddressServer::Owes() const { return ConnectionWaiting() || m_answering.load(); }

void FakeAddressServer::Serve(int fd) {
    m_answering = true;
    HandOverDone();
    AddressRequest request;
    if (!ReadRequest(fd, &request)) {
        m_answering = false;
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        m_requests.push_back(request);
    }
    std::string head = m_options.status_line + "\r\nContent-Type: text/plain\r\n";
    if (m_options.content_length) head += "Content-Length: " + std::to_string(m_options.body.size()) + "\r\n";
    head += "\r\n";
    if (m_options.raw) {
        WriteAll(fd, m_options.raw->data(), m_options.raw->size());
    } else if (m_options.separate_body) {
        WriteAll(fd, head.data(), head.size());
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        WriteAll(fd, m_options.body.data(), m_options.body.size());
    } else {
        std::string answer = head + m_options.body;
        WriteAll(fd, answer.data(), answer.size());
    }
    m_answering = false;
    while (m_options.stall && !Stopping()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    shutdown(fd, SHUT_WR);
}

}  // namespace testsupport
