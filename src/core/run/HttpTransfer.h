#pragma once
// What the quote retrieval needs of an HTTP client: one GET at a time, with Basic authentication,
// reporting its progress, its completion or its failure through a listener. The Qt implementation
// lives in qt/QtHttpTransfer.h; tests script a fake.

#include <cstddef>
#include <string>

struct HttpRequest {
    std::string Host;
    int Port = 80;
    std::string Path;      // path and query, sent as it stands
    std::string UserName;  // sent as "Authorization: Basic " + Base64 of UserName:Password
    std::string Password;
    bool UseTls = false;
    // A body longer than this may be cut here (the reader then sees MaxBodyBytes characters and
    // knows the page was too large); 0 means no limit.
    std::size_t MaxBodyBytes = 0;
};

// The received body, handed out piece by piece so a page is taken up in bounded steps.
class HttpResponseBody {
public:
    virtual ~HttpResponseBody() = default;
    // The next at most `maxLength` characters; empty once the body is exhausted.
    virtual std::string GetChunk(std::size_t maxLength) = 0;
};

class HttpTransferListener {
public:
    virtual ~HttpTransferListener() = default;
    // Progress of the transfer: 1 resolving, 2 resolved, 3 connecting, 4 connected, 5 requesting,
    // 6 request sent, 7 receiving, 8 received, 9 disconnecting, 10 disconnected.
    virtual void StateChanged(int state) = 0;
    // An HTTP answer arrived (any status); the body is readable during this call only.
    virtual void Completed(int httpStatus, HttpResponseBody& body) = 0;
    // No HTTP answer: the connection failed or broke. `code` and `text` describe why.
    virtual void Failed(int code, const std::string& text) = 0;
};

class HttpTransfer {
public:
    virtual ~HttpTransfer() = default;
    // Starts a GET and returns at once; events reach `listener` later, from the event loop, never
    // from within Start. A transfer still running is abandoned first.
    virtual void Start(const HttpRequest& request, HttpTransferListener& listener) = 0;
    // Abandons the transfer in progress, if any; it reports nothing more.
    virtual void Cancel() = 0;
};
