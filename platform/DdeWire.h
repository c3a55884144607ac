// What the DDE client and server share: where the endpoints live, the frame
// that carries every message, and the sockets' common settings.
//
// Each service is a Unix stream socket named after it in a folder private to
// the user (mode 0700): below the sandbox when TAV_SANDBOX is set, else in
// $XDG_RUNTIME_DIR, else in the temporary folder. Both sides check that the
// peer runs as the same user.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

namespace platform::dde {

// The private folder of the endpoints, created when absent; empty when it
// cannot be made private (wrong owner, a symbolic link, not a folder).
QString endpointFolder();

// The socket path of `service`; empty for a service name that is not 1 to 32
// letters, digits, '_' or '-', or when no private folder is available.
QString endpointPath(const QString& service);

enum class FrameKind : std::uint32_t {
    Connect = 1,  // client: payload = topic
    Execute = 2,  // client: payload = command string
    Request = 3,  // client: payload = item name, format = clipboard format
    Ack = 10,  // server: accepted, no payload
    Nack = 11,  // server: refused or failed
    Data = 12,  // server: payload = the item's bytes in `format`
};

#pragma pack(push, 1)
struct FrameHeader {
    std::uint32_t kind = 0;
    std::uint32_t format = 0;
    std::uint64_t length = 0;
};
#pragma pack(pop)
static_assert(sizeof(FrameHeader) == 16);

// Clipboard format of text items (UTF-8 on the wire).
inline constexpr std::uint32_t kTextFormat = 1;
// Longest payload a client sends (commands and names).
inline constexpr std::uint64_t kMaxClientPayload = 64 * 1024;
// Longest payload a server may send (a picture of 1 GiB).
inline constexpr std::uint64_t kMaxServerPayload = std::uint64_t(1) << 30;

// True when the socket's peer runs as this process's user.
bool peerIsSameUser(int fd);

// Milliseconds of a monotonic clock.
std::int64_t nowMs();

// Asks for large socket buffers, so that a picture of many megabytes crosses
// in few large steps rather than many small ones.
void enlargeSocketBuffers(int fd);

}  // namespace platform::dde
