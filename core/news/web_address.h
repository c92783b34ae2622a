#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace brevio::news {

// A web address recognised in a line of the news pane.
struct AddressSpan
{
    std::size_t start;
    std::size_t length;
};

// The addresses in `line` that the pane shows as links: text starting with a scheme that is
// opened (http://, https://, mailto:) or "www.", up to a blank, a quote or an angle bracket;
// a closing parenthesis or a final full stop or comma is not part of it.
std::vector<AddressSpan> findAddresses(std::string_view line);

// The address to hand to the desktop for a clicked link (of the news pane or the links menu),
// or "" when it must not be opened: only web and mail addresses are opened ("www." counts as
// http); anything else (files, programs, other schemes) and anything holding control
// characters is refused.
std::string openableAddress(std::string_view clicked);

} // namespace brevio::news
