// The DDE client conversation the GV link uses: the platform's conversation
// with manual connect, plus the binary request that brings a picture back.
#pragma once

#include "platform/DdeClient.h"

#include <QString>
#include <cstdint>

// A conversation with service and topic chosen at connect time.
class TDdeClientConvPC : public platform::DdeClientConversation {
public:
    TDdeClientConvPC() = default;
};

namespace PcDdeman {

// Clipboard format number of a packed DIB.
inline constexpr std::uint32_t kCfDib = 18;

// Requests `item` in clipboard `format` on the open conversation (10000 ms
// time-out) and returns the reply's bytes in a new block; an empty block on
// any failure or when the conversation is closed.
platform::DdeBlock RequestBinary(TDdeClientConvPC& conv, const QString& item, std::uint32_t format);

}  // namespace PcDdeman
