#pragma once

#include "tools/demo_random.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

// What the demo schedules are made of: the channels, the kinds of show each one airs and
// one pool of titles per kind. All texts are UTF-8 here; the listing encodes them.
namespace brevio::tools {

enum class Genre { Morning, News, Series, Film, Documentary, Sport, Kids, Entertainment, Music, Culture };

enum class Theme { General, News, Culture, Sport, Kids, Movies, Documentary, Music };

struct DemoChannel
{
    std::string name; // as the catalogue shows it, UTF-8
    std::string file; // the channel file's name, plain ASCII
    Theme theme;
};

struct GenreShare
{
    Genre genre;
    int weight; // relative frequency among the channel's shows
};

struct ThemeProfile
{
    int fewestShows; // shows per day, both bounds included
    int mostShows;
    bool opensWithMorningShow;
    std::span<const GenreShare> genres;
};

// The first `count` demo channels: well-known names first, then numbered regional ones,
// so any count gives distinct names and file names.
std::vector<DemoChannel> demoChannels(int count);

const ThemeProfile& themeProfile(Theme theme);

// How long a show of this kind usually runs, in minutes (a weight, the day is scaled to fit).
int genreMinutes(Genre genre);

// A title from the genre's pool.
std::string pickTitle(Genre genre, DemoRandom& random);

// A line to print under a show of this genre, e.g. "Х/ф. Режиссёр А.Б. Иванов".
std::string pickDescription(Genre genre, DemoRandom& random);

} // namespace brevio::tools
