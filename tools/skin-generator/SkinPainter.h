#pragma once

#include <QImage>
#include <QString>

#include <string>

namespace qarvon::skin {

// Draws the named skin picture at the given scale (1 for the ordinary set,
// 2 for high-density screens). Returns a null image for a name it has no
// drawing for, so a picture added to the list cannot be forgotten here.
QImage DrawSkinPicture(const std::string &name, int width, int height, int scale);

} // namespace qarvon::skin
