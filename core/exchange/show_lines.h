#pragma once

#include "core/exchange/xmltv_model.h"
#include "core/store/cp1251.h"

#include <string>
#include <string_view>
#include <vector>

// How one programme of a listing becomes lines of a channel file.
namespace brevio::exchange {

// The text in the first of `languages` that has one ("ru" also takes "ru-RU"), else the first
// text; nullptr when there is none.
const XmltvText* pickText(const std::vector<XmltvText>& texts, const std::vector<std::string>& languages);

// One line of text (UTF-8 or windows-1251): every run of blanks, tabs, line breaks and other
// control characters becomes one blank, and the ends are trimmed.
std::string cleanLine(std::string_view utf8);

// The episode as a viewer reads it: the on-screen form when there is one, else the zero-based
// "season.episode.part" form counted from one ("S2 E5"); "" when neither says anything.
std::string episodeLabel(const std::vector<XmltvEpisode>& episodes);

// The show's lines in windows-1251, each ended by CR LF: "hh:mm title. sub-title (episode)",
// then the description's paragraphs, one a line. Empty lines are left out (an empty line would
// end the day), and a description line that begins like a time gets a blank in front (it
// would start a new show). Throws ListingError when the title is empty.
std::string showLines(const XmltvProgramme& programme, int minutes, const std::vector<std::string>& languages,
                      Cp1251Loss* loss);

} // namespace brevio::exchange
