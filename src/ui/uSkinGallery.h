#pragma once

#include <QString>

namespace qarvon {

// Renders every skinned control in each of its states, the hint bar and all
// skin pictures into one PNG file, from the skin images folder of the app
// root. Needs a QApplication. False with a reason when the file cannot be written.
bool RenderSkinGallery(const QString &file, QString *error = nullptr);

} // namespace qarvon
