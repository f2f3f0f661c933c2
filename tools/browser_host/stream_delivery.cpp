// How the host serves a URL: requests are queued when the plug-in asks and
// served later from the message loop, one completely (stream, then notify)
// before the next, each from a temporary copy that keeps the file's extension.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "browser_host.h"
#include "url_resolver.h"

namespace zel::host {
namespace {

constexpr int32_t kMaxChunk = 16 * 1024;  // what a network read would hand over at once

std::string MimeTypeFor(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".zel") return "application/x-Zelscope";
    if (extension == ".jpg" || extension == ".jpeg") return "image/jpeg";
    if (extension == ".htm" || extension == ".html") return "text/html";
    if (extension == ".txt") return "text/plain";
    return "application/octet-stream";
}

}  // namespace

NPError BrowserHost::QueueRequest(NPP instance, const char* url, const char* target, bool notify,
                                  void* notifyData) {
    if (!m_pageOpen || instance != &m_instance) return NPERR_INVALID_INSTANCE_ERROR;
    if (!url || !*url) return NPERR_INVALID_URL;
    Request request;
    request.url = url;
    request.resolvedPath = ResolveUrl(m_pageFolder, url);
    request.notify = notify;
    m_requests.push_back(request);

    Delivery delivery;
    delivery.url = url;
    delivery.path = request.resolvedPath;
    delivery.notifyData = notifyData;
    delivery.notify = notify;
    // A named target would show the document in a browser window, not stream it to the plug-in.
    delivery.stream = target == nullptr;
    delivery.request = m_requests.size() - 1;
    m_pending.push_back(delivery);
    PostDelivery();
    return NPERR_NO_ERROR;
}

void BrowserHost::PostDelivery() {
    if (m_deliveryPosted || !m_deliveryWindow) return;
    m_deliveryPosted = PostMessageA(m_deliveryWindow.Get(), kDeliverMessage, 0, 0) != FALSE;
}

void BrowserHost::OnDeliverPosted() {
    m_deliveryPosted = false;
    // A plug-in that runs a message loop inside a stream call must not see the next stream yet.
    if (m_delivering) return;
    DeliverNext();
    if (!m_pending.empty()) PostDelivery();
}

void BrowserHost::DeliverNext() {
    if (m_pending.empty() || !m_pageOpen) return;
    const Delivery delivery = m_pending.front();
    m_pending.pop_front();
    m_delivering = true;
    std::string deliveredAs;
    NPReason reason = NPRES_DONE;
    if (delivery.stream) reason = Stream(delivery, &deliveredAs);
    if (delivery.request != kNoRequest) {
        Request& request = m_requests[delivery.request];
        request.delivered = delivery.stream && reason == NPRES_DONE;
        request.reason = reason;
        request.deliveredAs = deliveredAs;
    }
    if (delivery.notify && m_pageOpen && m_module.Functions().urlnotify)
        m_module.Functions().urlnotify(&m_instance, delivery.url.c_str(), reason, delivery.notifyData);
    m_delivering = false;
}

NPReason BrowserHost::Stream(const Delivery& delivery, std::string* deliveredAs) {
    std::error_code failure;
    if (delivery.path.empty() || !std::filesystem::is_regular_file(delivery.path, failure))
        return NPRES_NETWORK_ERR;
    const auto size = std::filesystem::file_size(delivery.path, failure);
    if (failure) return NPRES_NETWORK_ERR;
    std::string baseName = UrlBaseName(delivery.url);
    if (baseName.empty()) baseName = std::filesystem::path(delivery.path).filename().string();
    std::string error;
    const std::string copy = m_temp.CopyIn(delivery.path, baseName, &error);
    if (copy.empty()) return NPRES_NETWORK_ERR;
    *deliveredAs = copy;

    const NPPluginFuncs& plugin = m_module.Functions();
    NPStream stream{};
    stream.ndata = this;
    stream.url = delivery.url.c_str();
    stream.end = static_cast<uint32_t>(size);
    stream.notifyData = delivery.notifyData;
    std::string mimeType = MimeTypeFor(delivery.path);
    uint16_t type = NP_NORMAL;
    if (plugin.newstream(&m_instance, mimeType.data(), &stream, false, &type) != NPERR_NO_ERROR)
        return NPRES_NETWORK_ERR;

    NPReason reason = NPRES_DONE;
    if (type != NP_ASFILEONLY) reason = WriteChunks(&stream, copy);
    if (reason == NPRES_DONE && (type == NP_ASFILE || type == NP_ASFILEONLY) && plugin.asfile && m_pageOpen)
        plugin.asfile(&m_instance, &stream, copy.c_str());
    if (m_pageOpen) plugin.destroystream(&m_instance, &stream, reason);
    return reason;
}

NPReason BrowserHost::WriteChunks(NPStream* stream, const std::string& path) {
    const NPPluginFuncs& plugin = m_module.Functions();
    std::ifstream in(path, std::ios::binary);
    std::vector<char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!data.empty() && !plugin.write) return NPRES_NETWORK_ERR;
    int32_t offset = 0;
    const auto total = static_cast<int32_t>(data.size());
    while (offset < total) {
        if (!m_pageOpen) return NPRES_USER_BREAK;
        int32_t ready = plugin.writeready ? plugin.writeready(&m_instance, stream) : kMaxChunk;
        // A plug-in that never becomes ready would stall the page: the stream ends instead.
        if (ready <= 0) return NPRES_NETWORK_ERR;
        const int32_t length = std::min({ready, kMaxChunk, total - offset});
        const int32_t taken = plugin.write(&m_instance, stream, offset, length, data.data() + offset);
        if (taken <= 0) return NPRES_NETWORK_ERR;
        offset += std::min(taken, length);
    }
    return NPRES_DONE;
}

}  // namespace zel::host
