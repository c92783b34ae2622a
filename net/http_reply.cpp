#include "net/http_reply.h"

namespace brevio::net {

bool replySucceeded(std::string_view headerText)
{
    return headerText.find("200") != std::string_view::npos;
}

} // namespace brevio::net
