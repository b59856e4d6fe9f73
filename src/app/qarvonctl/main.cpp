// qarvonctl: the music box's core from the command line.
#include "CtlCommand.h"

#include "AppRoot.h"
#include "Common_Config.h"
#include "uStatistics.h"
#include "uUserInfo.h"

#include <QCoreApplication>

#include <algorithm>
#include <iostream>
#include <unistd.h>

using namespace qarvon;
using namespace qarvon::ctl;

namespace {

void printHelp(std::ostream &out)
{
    out << "usage: qarvonctl [--root DIR] [--xml] <command> [arguments]\n\n"
           "The app root is --root DIR, else $QARVON_ROOT, else the program's folder when it\n"
           "has Data/, else the user's data folder.\n\ncommands:\n";
    std::vector<CtlCommand> sorted = Commands();
    std::sort(sorted.begin(), sorted.end(),
              [](const CtlCommand &a, const CtlCommand &b) { return std::string(a.name) < b.name; });
    for (const auto &c : sorted) {
        std::string head = std::string(c.name) + (*c.usage ? " " : "") + c.usage;
        out << "  " << head;
        out << std::string(head.size() < 40 ? 40 - head.size() : 1, ' ') << c.summary << '\n';
    }
    out << "\nexit status: 0 success, 1 failed operation, 2 bad usage\n";
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qarvonctl"));

    std::vector<std::string> words(argv + 1, argv + argc);
    std::string root;
    bool xml = false;
    std::size_t i = 0;
    // Global options come before the command.
    for (; i < words.size(); ++i) {
        const std::string &w = words[i];
        if (w == "--help" || w == "-h") {
            printHelp(std::cout);
            return kOk;
        }
        if (w == "--root") {
            if (i + 1 >= words.size()) {
                std::cerr << "qarvonctl: --root needs a folder\n";
                return kUsage;
            }
            root = words[++i];
        } else if (w.rfind("--root=", 0) == 0) {
            root = w.substr(7);
        } else if (w == "--xml") {
            xml = true;
        } else if (w.rfind("--", 0) == 0) {
            std::cerr << "qarvonctl: unknown option " << w << "\n";
            printHelp(std::cerr);
            return kUsage;
        } else {
            break;
        }
    }
    if (i >= words.size()) {
        printHelp(std::cerr);
        return kUsage;
    }
    const CtlCommand *command = FindCommand(words[i]);
    if (!command) {
        std::cerr << "qarvonctl: unknown command " << words[i] << "\n";
        printHelp(std::cerr);
        return kUsage;
    }
    CtlArgs args(std::vector<std::string>(words.begin() + static_cast<std::ptrdiff_t>(i) + 1, words.end()));
    if (args.TakeFlag("--help")) {
        std::cout << "usage: qarvonctl [--root DIR] " << command->name << ' ' << command->usage << "\n"
                  << command->summary << "\n";
        return kOk;
    }

    const std::string appRoot = ResolveAppRoot(root, QCoreApplication::applicationDirPath().toStdString());
    if (!PrepareAppRoot(appRoot)) {
        std::cerr << "qarvonctl: cannot create the app root " << appRoot << "\n";
        return kFailed;
    }
    SetProgramFolder(appRoot);
    LoadConfiguration();

    CtlContext context;
    context.command = command;
    context.root = appRoot;
    context.xml = xml;
    context.terminal = ::isatty(STDOUT_FILENO) != 0;
    context.out = &std::cout;
    context.err = &std::cerr;
    // Usage reports of the commands (a sign-in, a sign-out) go out as the
    // windowed program's do; the last ones are given a moment before the end.
    TStatistics reporter([] { return std::make_pair(UserInfo().SignedIn.load(), UserInfo().UserID); });
    UserInfo().ReportStatistics = [&reporter](const std::string &mode, const std::string &module,
                                              const std::string &operation) {
        reporter.Report(mode, module, operation);
    };
    const int status = command->run(context, args);
    reporter.WaitUntilSent(std::chrono::seconds(3));
    UserInfo().ReportStatistics = nullptr;
    return status;
}
