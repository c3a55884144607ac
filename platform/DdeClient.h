// The client side of the DDE layer: one conversation with a server that
// offers a service and a topic (see DdeServer.h). Every call is synchronous
// but keeps the calling thread's event loop running while it waits, so the
// user can still press ESC or a stop button; a dead or silent server ends the
// call with failure at its time-out, never a hang.
#pragma once

#include "platform/DdeBlock.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

namespace platform {

inline constexpr int kDdeDefaultTimeoutMs = 10000;

class DdeClientConversation {
public:
    DdeClientConversation();
    ~DdeClientConversation();
    DdeClientConversation(const DdeClientConversation&) = delete;
    DdeClientConversation& operator=(const DdeClientConversation&) = delete;

    // Opens the conversation (closing an open one first). False when no
    // server offers the service, or it refuses the topic.
    bool connect(const QString& service, const QString& topic);
    void disconnect();
    bool isConnected() const;
    QString service() const;
    QString topic() const;

    // Time-out of each transaction in milliseconds (default 10000).
    void setTimeout(int milliseconds);
    int timeout() const;

    // Executes a command string; true when the server accepted it.
    bool execute(const QString& command);
    // Requests `item` as text; nullopt on failure.
    std::optional<QString> requestText(const QString& item);
    // Requests `item` in clipboard `format`; the bytes arrive straight in a
    // fresh block. An empty block on failure.
    DdeBlock requestData(const QString& item, std::uint32_t format);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace platform
