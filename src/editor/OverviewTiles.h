#pragma once
// What the page "Обзор" writes under its tiles and how large it draws small pictures.
#include <string>
#include <vector>

#include "theme/ThemeMap.h"

namespace ssf {

// One caption per theme file, in map order. A caption that more than one theme file
// carries gets its group on a second line, so "Сообщения" of "Пиктограммы" and of
// "Выделенные пиктограммы" can be told apart; one still alike after that gets its number.
std::vector<std::string> OverviewCaptions(const GroupTree& tree);

// The one whole zoom for every picture of the map that fits a tile of `side` pixels: the
// largest factor at which the largest of them still fits, so small pictures keep their
// sizes relative to each other. 1 when the map has no such picture.
int SharedThumbnailZoom(const ThemeMap& map, int side);

}  // namespace ssf
