#include "tools/demo_pools.h"

#include <array>

namespace brevio::tools {

namespace {

struct ChannelSeed
{
    std::string_view name;
    std::string_view file;
    Theme theme;
};

constexpr std::array kChannels = {
    ChannelSeed{"Первый канал", "perviy.txt", Theme::General},
    ChannelSeed{"Россия 1", "rossiya1.txt", Theme::General},
    ChannelSeed{"НТВ", "ntv.txt", Theme::General},
    ChannelSeed{"Культура", "kultura.txt", Theme::Culture},
    ChannelSeed{"Спорт", "sport.txt", Theme::Sport},
    ChannelSeed{"Discovery", "discovery.txt", Theme::Documentary},
    ChannelSeed{"ТВ Центр", "tvc.txt", Theme::General},
    ChannelSeed{"РЕН ТВ", "ren.txt", Theme::General},
    ChannelSeed{"СТС", "sts.txt", Theme::Movies},
    ChannelSeed{"ТНТ", "tnt.txt", Theme::General},
    ChannelSeed{"Пятый канал", "pyatiy.txt", Theme::General},
    ChannelSeed{"Звезда", "zvezda.txt", Theme::Movies},
    ChannelSeed{"Домашний", "domashniy.txt", Theme::Movies},
    ChannelSeed{"Карусель", "karusel.txt", Theme::Kids},
    ChannelSeed{"Россия 24", "rossiya24.txt", Theme::News},
    ChannelSeed{"Euronews", "euronews.txt", Theme::News},
    ChannelSeed{"Муз-ТВ", "muztv.txt", Theme::Music},
    ChannelSeed{"National Geographic", "natgeo.txt", Theme::Documentary},
    ChannelSeed{"Animal Planet", "animal.txt", Theme::Documentary},
    ChannelSeed{"Eurosport", "eurosport.txt", Theme::Sport},
    ChannelSeed{"Мир", "mir.txt", Theme::General},
    ChannelSeed{"ТВ-3", "tv3.txt", Theme::Movies},
    ChannelSeed{"Дом кино", "domkino.txt", Theme::Movies},
    ChannelSeed{"Viasat History", "history.txt", Theme::Documentary},
    ChannelSeed{"Моя планета", "planeta.txt", Theme::Documentary},
    ChannelSeed{"Мульт", "mult.txt", Theme::Kids},
    ChannelSeed{"Матч Арена", "arena.txt", Theme::Sport},
    ChannelSeed{"Ностальгия", "nostalgia.txt", Theme::Movies},
    ChannelSeed{"Европа Плюс ТВ", "europaplus.txt", Theme::Music},
    ChannelSeed{"Спас", "spas.txt", Theme::Culture},
    ChannelSeed{"Охота и рыбалка", "ohota.txt", Theme::Documentary},
    ChannelSeed{"Кухня ТВ", "kuhnya.txt", Theme::General},
};

constexpr std::array kGeneral = {
    GenreShare{Genre::News, 25},        GenreShare{Genre::Series, 25},        GenreShare{Genre::Film, 12},
    GenreShare{Genre::Documentary, 10}, GenreShare{Genre::Entertainment, 22}, GenreShare{Genre::Kids, 3},
    GenreShare{Genre::Sport, 3},
};
constexpr std::array kNews = {
    GenreShare{Genre::News, 70},
    GenreShare{Genre::Documentary, 15},
    GenreShare{Genre::Entertainment, 10},
    GenreShare{Genre::Sport, 5},
};
constexpr std::array kCulture = {
    GenreShare{Genre::Culture, 45}, GenreShare{Genre::Documentary, 20}, GenreShare{Genre::Film, 20},
    GenreShare{Genre::News, 10},    GenreShare{Genre::Music, 5},
};
constexpr std::array kSport = {
    GenreShare{Genre::Sport, 75},
    GenreShare{Genre::News, 15},
    GenreShare{Genre::Documentary, 10},
};
constexpr std::array kKids = {
    GenreShare{Genre::Kids, 85},
    GenreShare{Genre::Film, 10},
    GenreShare{Genre::Entertainment, 5},
};
constexpr std::array kMovies = {
    GenreShare{Genre::Film, 45},
    GenreShare{Genre::Series, 40},
    GenreShare{Genre::Documentary, 10},
    GenreShare{Genre::Entertainment, 5},
};
constexpr std::array kDocumentary = {
    GenreShare{Genre::Documentary, 90},
    GenreShare{Genre::Entertainment, 10},
};
constexpr std::array kMusic = {
    GenreShare{Genre::Music, 85},
    GenreShare{Genre::Entertainment, 10},
    GenreShare{Genre::News, 5},
};

constexpr std::array kMorningTitles = {
    "«Доброе утро»", "«Утро»", "«Утренний эфир»", "«Настроение»", "«Новое утро»",
};
constexpr std::array kNewsTitles = {
    "Новости",
    "Вести",
    "Сегодня",
    "События",
    "Время",
    "Новости (с субтитрами)",
    "Вести. Местное время",
    "Прогноз погоды",
    "Итоги дня",
    "Деловые новости",
    "Новости культуры",
    "Новости спорта",
};
constexpr std::array kSeriesTitles = {
    "Т/с «Дорожный патруль»",     "Т/с «Участковый»",      "Т/с «Семейные тайны»",
    "Т/с «Следователь Смирнова»", "Т/с «Граница»",         "Т/с «Возвращение домой»",
    "Т/с «Морской отряд»",        "Т/с «Доктор Волков»",   "Т/с «Старая гвардия»",
    "Т/с «Линия огня»",           "Т/с «Солнечный берег»", "Т/с «Улицы большого города»",
};
constexpr std::array kFilmTitles = {
    "«Берег надежды»", "«Последний рейс»",  "«Ключи от города»",      "«Дорога на юг»",
    "«Тихий омут»",    "«Белые ночи»",      "«Северное сияние»",      "«Человек из прошлого»",
    "«Летний дождь»",  "«Опасный маршрут»", "«Семь дней до свадьбы»", "«Капитан дальнего плавания»",
};
constexpr std::array kDocumentaryTitles = {
    "Д/ф «Тайны океана»",
    "Д/с «Дикая природа Африки»",
    "«Вокруг света»",
    "Д/с «Великие империи»",
    "Д/ф «Секреты древних городов»",
    "Д/ф «Жизнь в пустыне»",
    "Д/с «Большие кошки»",
    "«Как это устроено»",
    "Д/ф «Мосты и тоннели»",
    "Д/с «Космос: путь к звёздам»",
    "«Планета людей»",
    "Д/ф «Рыбалка на Волге»",
};
constexpr std::array kSportTitles = {
    "Футбол. Чемпионат России. «Спартак» - «Динамо»",
    "Хоккей. Континентальная лига",
    "Теннис. Кубок Кремля",
    "Биатлон. Кубок мира. Спринт",
    "Баскетбол. Единая лига",
    "Волейбол. Чемпионат Европы",
    "Бокс. Вечер профессионального бокса",
    "Спортивные новости",
    "Футбольное обозрение",
    "Фигурное катание. Гран-при",
    "Лыжные гонки. Кубок мира",
    "«Все на спорт!»",
};
constexpr std::array kKidsTitles = {
    "М/с «Весёлые друзья»",
    "М/ф «Лесные истории»",
    "М/с «Приключения Капитошки»",
    "М/ф «Ёжик и медвежонок»",
    "«Весёлая азбука»",
    "«Доброй ночи, малыши!»",
    "М/с «Смешарики»",
    "«Ералаш»",
    "М/ф «Котёнок по имени Гав»",
    "«Мультазбука»",
};
constexpr std::array kEntertainmentTitles = {
    "«Вечерний разговор»",
    "«Кулинарный поединок»",
    "«Счастливый случай»",
    "«Квартирный вопрос»",
    "«Дачный ответ»",
    "«Своя игра»",
    "«Поле чудес»",
    "«Пока все дома»",
    "«Смак»",
    "«Юмор недели»",
    "«Жди меня»",
    "«Модный приговор»",
};
constexpr std::array kMusicTitles = {
    "«Музыкальный хит-парад»", "«Клипы нон-стоп»", "«Золотой граммофон»", "Концерт «Песни нашего двора»",
    "«Русская десятка»",       "«Танцпол»",        "«Звёзды эстрады»",    "«Музыкальная шкатулка»",
};
constexpr std::array kCultureTitles = {
    "«Academia»",
    "Спектакль «Вишнёвый сад»",
    "«Линия жизни»",
    "«Пешком по Москве»",
    "Концерт симфонического оркестра",
    "«Библейский сюжет»",
    "«Острова»",
    "«Абсолютный слух»",
    "Опера «Евгений Онегин»",
    "«Театральная летопись»",
    "«Письма из провинции»",
    "«Кто мы?»",
};

constexpr std::array kSurnames = {
    "Иванов", "Петров", "Соколов", "Кузнецов", "Морозов", "Волков", "Лебедев", "Новиков", "Козлов", "Смирнов",
};
constexpr std::array kInitials
    = {"А.", "Б.", "В.", "Г.", "Д.", "Е.", "И.", "К.", "Л.", "М.", "Н.", "П.", "С."};
constexpr std::array kCountries = {"СССР", "Россия", "США", "Франция", "Великобритания", "Италия"};
constexpr std::array kPlaces = {"Москвы", "Казани", "Сочи", "Санкт-Петербурга", "Екатеринбурга"};

template <std::size_t N>
std::string pick(const std::array<const char*, N>& pool, DemoRandom& random)
{
    return pool[static_cast<std::size_t>(random.between(0, int(N) - 1))];
}

std::string director(DemoRandom& random)
{
    return "Режиссёр " + pick(kInitials, random) + pick(kInitials, random) + " " + pick(kSurnames, random);
}

std::string yearOfMaking(DemoRandom& random)
{
    return pick(kCountries, random) + ", " + std::to_string(random.between(1955, 2003)) + " г.";
}

} // namespace

std::vector<DemoChannel> demoChannels(int count)
{
    std::vector<DemoChannel> channels;
    for (int i = 0; i < count; ++i) {
        if (i < int(kChannels.size())) {
            const auto& seed = kChannels[std::size_t(i)];
            channels.push_back({std::string(seed.name), std::string(seed.file), seed.theme});
        } else {
            const auto number = std::to_string(i + 1);
            channels.push_back({"Региональный канал " + number, "region" + number + ".txt", Theme::General});
        }
    }
    return channels;
}

const ThemeProfile& themeProfile(Theme theme)
{
    static const ThemeProfile general{40, 55, true, kGeneral};
    static const ThemeProfile news{55, 80, true, kNews};
    static const ThemeProfile culture{40, 50, false, kCulture};
    static const ThemeProfile sport{40, 50, false, kSport};
    static const ThemeProfile kids{50, 80, false, kKids};
    static const ThemeProfile movies{40, 45, false, kMovies};
    static const ThemeProfile documentary{40, 55, false, kDocumentary};
    static const ThemeProfile music{45, 70, false, kMusic};
    switch (theme) {
    case Theme::General:
        return general;
    case Theme::News:
        return news;
    case Theme::Culture:
        return culture;
    case Theme::Sport:
        return sport;
    case Theme::Kids:
        return kids;
    case Theme::Movies:
        return movies;
    case Theme::Documentary:
        return documentary;
    case Theme::Music:
        return music;
    }
    return general;
}

int genreMinutes(Genre genre)
{
    switch (genre) {
    case Genre::Morning:
        return 150;
    case Genre::News:
        return 15;
    case Genre::Series:
        return 50;
    case Genre::Film:
        return 110;
    case Genre::Documentary:
        return 50;
    case Genre::Sport:
        return 90;
    case Genre::Kids:
        return 20;
    case Genre::Entertainment:
        return 45;
    case Genre::Music:
        return 30;
    case Genre::Culture:
        return 60;
    }
    return 30;
}

std::string pickTitle(Genre genre, DemoRandom& random)
{
    switch (genre) {
    case Genre::Morning:
        return pick(kMorningTitles, random);
    case Genre::News:
        return pick(kNewsTitles, random);
    case Genre::Series:
        return pick(kSeriesTitles, random);
    case Genre::Film:
        return (random.chance(50) ? "Х/ф " : "") + pick(kFilmTitles, random);
    case Genre::Documentary:
        return pick(kDocumentaryTitles, random);
    case Genre::Sport:
        return pick(kSportTitles, random);
    case Genre::Kids:
        return pick(kKidsTitles, random);
    case Genre::Entertainment:
        return pick(kEntertainmentTitles, random);
    case Genre::Music:
        return pick(kMusicTitles, random);
    case Genre::Culture:
        return pick(kCultureTitles, random);
    }
    return "Программа передач";
}

std::string pickDescription(Genre genre, DemoRandom& random)
{
    switch (genre) {
    case Genre::Film:
        return random.chance(60) ? "Х/ф. " + director(random) : yearOfMaking(random) + " " + director(random);
    case Genre::Series:
        return random.chance(70) ? std::to_string(random.between(1, 24)) + "-я серия"
                                 : "Заключительная серия";
    case Genre::Documentary:
        return yearOfMaking(random);
    case Genre::Sport:
        return random.chance(50) ? "Прямая трансляция" : "Трансляция из " + pick(kPlaces, random);
    case Genre::Culture:
        return director(random);
    case Genre::Morning:
    case Genre::News:
    case Genre::Kids:
    case Genre::Entertainment:
    case Genre::Music:
        return "Ведущий - " + pick(kInitials, random) + " " + pick(kSurnames, random);
    }
    return {};
}

} // namespace brevio::tools
