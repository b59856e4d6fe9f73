// qarvon-skin-generator: draws every picture of the skin list into a folder.
//
//   qarvon-skin-generator --out DIR [--scale N] [--embedded]
//
// Without --embedded it writes the pictures of the images folder, with it the
// ones compiled into the program. Scale 1 writes the plain names, a larger
// scale the "@Nx" names of the high-density set.
#include "SkinPainter.h"
#include "SkinPictures.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>

#include <cstdlib>
#include <iostream>

namespace {

bool WritePicture(const QImage &image, const QString &path)
{
    const QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!image.save(&file, format.constData(), format == "jpg" ? 95 : -1))
        return false;
    return file.commit();
}

} // namespace

int main(int argc, char **argv)
{
    // Pictures are drawn without any display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QString out;
    int scale = 1;
    bool embedded = false;
    const QStringList args = QGuiApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--out") && i + 1 < args.size()) {
            out = args[++i];
        } else if (args[i] == QStringLiteral("--scale") && i + 1 < args.size()) {
            scale = args[++i].toInt();
        } else if (args[i] == QStringLiteral("--embedded")) {
            embedded = true;
        } else {
            std::cerr << "usage: qarvon-skin-generator --out DIR [--scale N] [--embedded]\n";
            return 2;
        }
    }
    if (out.isEmpty() || scale < 1 || scale > 4) {
        std::cerr << "qarvon-skin-generator: --out DIR is needed and the scale must be 1 to 4\n";
        return 2;
    }
    if (!QDir().mkpath(out)) {
        std::cerr << "qarvon-skin-generator: cannot create " << out.toStdString() << "\n";
        return 1;
    }

    const qarvon::TSkinPlace wanted
        = embedded ? qarvon::TSkinPlace::Embedded : qarvon::TSkinPlace::ImagesFolder;
    int written = 0;
    for (const qarvon::TSkinPicture &p : qarvon::SkinPictures()) {
        if (p.place != wanted)
            continue;
        const QImage image = qarvon::skin::DrawSkinPicture(p.name, p.width, p.height, scale);
        if (image.isNull()) {
            std::cerr << "qarvon-skin-generator: no drawing for " << p.name << "\n";
            return 1;
        }
        const std::string file = scale == 1 ? p.name : qarvon::HighDensityName(p.name, scale);
        const QString path = out + QLatin1Char('/') + QString::fromStdString(file);
        if (!WritePicture(image, path)) {
            std::cerr << "qarvon-skin-generator: cannot write " << path.toStdString() << "\n";
            return 1;
        }
        ++written;
    }
    std::cout << "qarvon-skin-generator: " << written << " pictures at scale " << scale << "\n";
    return EXIT_SUCCESS;
}
