// qarvon: the music box.
#include "SignalExit.h"
#include "StartUp.h"
#include "ufrmP2PDownload.h"

#include "AppRoot.h"
#include "Common_Config.h"
#include "QarvonClient.h"
#include "SingleInstance.h"
#include "uSkinGallery.h"

#include <QApplication>

#include <iostream>

using namespace qarvon;

int main(int argc, char **argv)
{
    const TStartOptions options = ParseStartOptions(argc, argv);
    if (options.help || !options.error.empty()) {
        std::ostream &out = options.help ? std::cout : std::cerr;
        if (!options.error.empty())
            out << "qarvon: " << options.error << "\n";
        out << "usage: qarvon [--root DIR] [--skin-gallery FILE.png] [LAUNCH-ARGUMENT]\n";
        return options.help ? 0 : 2;
    }

    const std::string exeFolder = ExecutableFolder();
    const std::string root = ResolveAppRoot(options.root, exeFolder);
    if (!PrepareAppRoot(root)) {
        std::cerr << "qarvon: cannot create the app root " << root << "\n";
        return 1;
    }
    SetProgramFolder(root);

    // The gallery is a look at the skin, not a start of the music box: it
    // needs the root's pictures only, not the settings.
    if (!options.skinGallery.empty()) {
        QApplication app(argc, argv);
        QString error;
        if (!RenderSkinGallery(QString::fromStdString(options.skinGallery), &error)) {
            std::cerr << "qarvon: " << error.toStdString() << "\n";
            return 1;
        }
        return 0;
    }

    LoadConfiguration();

    const std::string handOff = StripLaunchPrefix(options.launchArgument);

    // A later start needs no window: it hands its text over and ends.
    TSingleInstance instance(root);
    if (!instance.TryBecomePrimary()) {
        instance.SendToPrimary(handOff);
        SaveConfiguration();
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qarvon"));
    QApplication::setApplicationDisplayName(QString::fromUtf8(kApplicationTitle));
    QuitOnTerminationSignals();

    // Without the socket later starts cannot hand over; this one still runs.
    if (!instance.Listen())
        std::cerr << "qarvon: cannot listen for later starts on "
                  << instance.ServerName().toStdString() << "\n";
    StartUpdater(exeFolder + "/");

    TfrmP2PDownload mainWindow;
    instance.SetReceiver([&mainWindow](const std::string &text) { mainWindow.ReceiveHandOff(text); });
    mainWindow.show();
    // The first start's own argument takes the same road as a later start's.
    mainWindow.ReceiveHandOff(handOff);

    app.exec();
    SaveConfiguration();
    return 0;
}
