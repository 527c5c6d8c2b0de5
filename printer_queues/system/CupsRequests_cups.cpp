#include <cups/cups.h>

#include <memory>

#include "CupsRequests.h"

namespace {

// A scheduler that does not answer in time must not hang the program that asks.
constexpr int kConnectTimeoutMs = 3000;
constexpr double kReplyTimeoutS = 5.0;

struct HttpClose {
    void operator()(http_t* http) const { httpClose(http); }
};
struct IppDelete {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using Http = std::unique_ptr<http_t, HttpClose>;
using Ipp = std::unique_ptr<ipp_t, IppDelete>;

// No prompt for a password: a user who may not manage queues is refused at once.
const char* NoPassword(const char*, http_t*, const char*, const char*, void*) {
    return nullptr;
}

int GiveUpOnTimeout(http_t*, void*) {
    return 0;
}

Http Connect() {
    cupsSetPasswordCB2(NoPassword, nullptr);
    Http http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                           kConnectTimeoutMs, nullptr));
    if (http) {
        httpSetTimeout(http.get(), kReplyTimeoutS, GiveUpOnTimeout, nullptr);
    }
    return http;
}

Ipp QueueRequest(ipp_op_t operation, const std::string& name) {
    Ipp request(ippNewRequest(operation));
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                     "/printers/%s", name.c_str());
    ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    return request;
}

// Sends the request; the scheduler's status, or a client error when it could not be asked.
ipp_status_t Send(Ipp request) {
    const Http http = Connect();
    if (!http) {
        return IPP_STATUS_ERROR_SERVICE_UNAVAILABLE;
    }
    const Ipp response(cupsDoRequest(http.get(), request.release(), "/admin/"));
    return response ? ippGetStatusCode(response.get()) : cupsLastError();
}

std::optional<CupsQueueState> QueueFrom(ipp_t* response, ipp_attribute_t*& attribute) {
    CupsQueueState queue;
    int type = 0;
    for (; attribute != nullptr && ippGetGroupTag(attribute) == IPP_TAG_PRINTER;
         attribute = ippNextAttribute(response)) {
        const std::string_view name = ippGetName(attribute);
        if (name == "printer-name") {
            queue.name = ippGetString(attribute, 0, nullptr);
        } else if (name == "device-uri") {
            queue.deviceUri = ippGetString(attribute, 0, nullptr);
        } else if (name == "printer-state") {
            queue.stopped = ippGetInteger(attribute, 0) == IPP_PSTATE_STOPPED;
        } else if (name == "printer-type") {
            type = ippGetInteger(attribute, 0);
        }
    }
    if (queue.name.empty() || (type & (CUPS_PRINTER_REMOTE | CUPS_PRINTER_CLASS)) != 0) {
        return std::nullopt;
    }
    return queue;
}

}  // namespace

std::optional<std::vector<CupsQueueState>> ListCupsQueues() {
    const Http http = Connect();
    if (!http) {
        return std::nullopt;
    }
    static const char* const kAttributes[] = {"printer-name", "device-uri", "printer-state",
                                              "printer-type"};
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  std::size(kAttributes), nullptr, kAttributes);
    const Ipp response(cupsDoRequest(http.get(), request, "/"));
    if (!response || ippGetStatusCode(response.get()) > IPP_STATUS_OK_CONFLICTING) {
        // A scheduler without queues answers "not found".
        return cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND
                   ? std::optional(std::vector<CupsQueueState>{})
                   : std::nullopt;
    }
    std::vector<CupsQueueState> queues;
    ipp_attribute_t* attribute = ippFirstAttribute(response.get());
    while (attribute != nullptr) {
        while (attribute != nullptr && ippGetGroupTag(attribute) != IPP_TAG_PRINTER) {
            attribute = ippNextAttribute(response.get());
        }
        if (auto queue = QueueFrom(response.get(), attribute)) {
            queues.push_back(std::move(*queue));
        }
    }
    return queues;
}

bool PauseCupsQueue(const std::string& name, const std::string& message) {
    Ipp request = QueueRequest(IPP_OP_PAUSE_PRINTER, name);
    ippAddString(request.get(), IPP_TAG_OPERATION, IPP_TAG_TEXT, "printer-state-message", nullptr,
                 message.c_str());
    return Send(std::move(request)) <= IPP_STATUS_OK_CONFLICTING;
}

bool ResumeCupsQueue(const std::string& name) {
    const ipp_status_t status = Send(QueueRequest(IPP_OP_RESUME_PRINTER, name));
    return status <= IPP_STATUS_OK_CONFLICTING || status == IPP_STATUS_ERROR_NOT_FOUND;
}
