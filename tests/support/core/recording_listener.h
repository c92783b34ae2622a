#pragma once

#include "core/net/http_listener.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace brevio::test {

// Writes down the HTTP client's events in order ("connected", "received 10/20", ...) and
// answers the invalid-host question by script.
class RecordingListener : public net::HttpListener
{
public:
    struct Packet
    {
        std::uint64_t count;
        std::uint64_t total;
    };

    std::vector<std::string> events;
    std::vector<Packet> sent;
    std::vector<Packet> received;
    std::optional<std::string> newHost; // the answer to invalidHost()
    int invalidHostAsked = 0;
    std::function<void(const std::string&)> onEvent; // runs after each event is recorded

    void hostResolved() override { note("hostResolved"); }
    void connected() override { note("connected"); }
    void disconnected() override { note("disconnected"); }
    void packetSent(std::uint64_t count, std::uint64_t total) override
    {
        sent.push_back({count, total});
        note("sent");
    }
    void packetReceived(std::uint64_t count, std::uint64_t total) override
    {
        received.push_back({count, total});
        note("received");
    }
    void succeeded() override { note("succeeded"); }
    void failed() override { note("failed"); }
    void connectionFailed() override { note("connectionFailed"); }
    std::optional<std::string> invalidHost() override
    {
        ++invalidHostAsked;
        note("invalidHost");
        return newHost;
    }

    // The events with runs of "sent" and "received" folded into one entry each.
    std::vector<std::string> outline() const
    {
        std::vector<std::string> out;
        for (const std::string& e : events)
            if (out.empty() || out.back() != e || (e != "sent" && e != "received"))
                out.push_back(e);
        return out;
    }

private:
    void note(std::string name)
    {
        events.push_back(std::move(name));
        if (onEvent)
            onEvent(events.back());
    }
};

} // namespace brevio::test
