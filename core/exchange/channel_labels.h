#pragma once

#include "core/exchange/xmltv_model.h"
#include "core/store/cp1251.h"

#include <string>
#include <string_view>
#include <vector>

// What a listing's channels are called in the week store: the name the channel lists show
// and the name of the channel's file in each week folder.
namespace brevio::exchange {

struct ChannelLabel
{
    std::string name; // windows-1251, no ':' or '|', never empty
    std::string fileName; // ASCII, a bare safe name ending ".txt"
};

// The file name of a channel id: the same id always gives the same name. An id of lower-case
// letters, digits, '.', '-' and '_' gives itself plus ".txt"; any other is brought to that form
// and gets a short hash of itself appended, so that two ids meet in one name only by a hash
// collision (which labelChannels resolves).
std::string channelFileName(std::string_view id);

// The labels of channels in listing order. Names come from the display name in the first of
// `languages` that has one (else the first, else the id); ':' and '|' (which split the lines of
// the channel list and the time-shift file) become '.' and '/'. A name already taken by an
// earlier channel gets the channel id added in brackets.
std::vector<ChannelLabel> labelChannels(const std::vector<XmltvChannel>& channels,
                                        const std::vector<std::string>& languages, Cp1251Loss* loss);

} // namespace brevio::exchange
