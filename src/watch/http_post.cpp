#include "watch/http_post.h"

#include "watch/curl_global.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <curl/curl.h>
#include <memory>

namespace zorvant::watch {
namespace {

// How often the transfer looks for a stop request while it waits on the network.
constexpr int kLookMs = 100;

struct Transfer {
    HttpReply reply;
    std::stop_token stop;
};

std::size_t keepBody(char* data, std::size_t size, std::size_t count, void* self) {
    auto& body = static_cast<Transfer*>(self)->reply.body;
    const std::size_t n = size * count;
    body.append(data, std::min(n, kMostReplyBytes - std::min(kMostReplyBytes, body.size())));
    return n;
}

// Retry-After in seconds; the HTTP-date form is left to the usual back-off.
std::size_t readHeader(char* data, std::size_t size, std::size_t count, void* self) {
    const std::string_view line(data, size * count);
    constexpr std::string_view kName = "retry-after:";
    if (line.size() > kName.size() &&
        std::equal(kName.begin(), kName.end(), line.begin(),
                   [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); })) {
        std::string_view value = line.substr(kName.size());
        while (!value.empty() && value.front() == ' ')
            value.remove_prefix(1);
        long long seconds = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
        if (error == std::errc() && end != value.data() && seconds >= 0)
            static_cast<Transfer*>(self)->reply.retryAfter = std::chrono::seconds(seconds);
    }
    return size * count;
}

int stopRequested(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Transfer*>(self)->stop.stop_requested() ? 1 : 0;
}

// Driven step by step rather than by curl_easy_perform, so that a stop request is seen while libcurl
// waits for the server.
CURLcode perform(CURL* curl, const std::stop_token& stop) {
    const std::unique_ptr<CURLM, decltype(&curl_multi_cleanup)> multi(curl_multi_init(), &curl_multi_cleanup);
    if (!multi)
        return CURLE_OUT_OF_MEMORY;
    curl_multi_add_handle(multi.get(), curl);
    CURLcode result = CURLE_OK;
    for (int running = 1;;) {
        if (stop.stop_requested()) {
            result = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
            result = CURLE_SEND_ERROR;
            break;
        }
        if (running == 0) {
            int left = 0;
            const CURLMsg* message = curl_multi_info_read(multi.get(), &left);
            result =
                message != nullptr && message->msg == CURLMSG_DONE ? message->data.result : CURLE_RECV_ERROR;
            break;
        }
        curl_multi_poll(multi.get(), nullptr, 0, kLookMs, nullptr);
    }
    curl_multi_remove_handle(multi.get(), curl);
    return result;
}

} // namespace

HttpReply postJson(const std::string& url, std::string_view json, const HttpOptions& options,
                   std::stop_token stop) {
    initialiseCurlOnce();
    Transfer transfer{{}, std::move(stop)};
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) {
        transfer.reply.failure = "libcurl could not start";
        return transfer.reply;
    }
    const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(
        curl_slist_append(curl_slist_append(nullptr, "Content-Type: application/json; charset=utf-8"),
                          "Expect:"),
        &curl_slist_free_all);
    char errors[CURL_ERROR_SIZE] = {};
    CURL* handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errors);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, static_cast<long>(options.connect.count()));
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, static_cast<long>(options.transfer.count()));
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!options.caFile.empty())
        curl_easy_setopt(handle, CURLOPT_CAINFO, options.caFile.c_str());
    curl_easy_setopt(handle, CURLOPT_USERAGENT, "Zorvant/1.1");
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(handle, CURLOPT_POSTFIELDS, json.data());
    curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(json.size()));
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &keepBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, &readHeader);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &stopRequested);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &transfer);

    const CURLcode code = perform(handle, transfer.stop);
    transfer.reply.stopped = code == CURLE_ABORTED_BY_CALLBACK;
    if (code != CURLE_OK) {
        transfer.reply.failure =
            errors[0] != '\0' ? std::string(errors) : std::string(curl_easy_strerror(code));
        transfer.reply.status = 0;
        return transfer.reply;
    }
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &transfer.reply.status);
    return transfer.reply;
}

} // namespace zorvant::watch
