#include "tav/imaging/PcDdeman.h"

namespace PcDdeman {

platform::DdeBlock RequestBinary(TDdeClientConvPC& conv, const QString& item, std::uint32_t format)
{
    if (!conv.isConnected())
        return {};
    // The reply's bytes arrive straight in their own block: the picture
    // crosses the socket once and is not copied again.
    return conv.requestData(item, format);
}

}  // namespace PcDdeman
