#include "analysis/session_state.h"
#include "forms/about.h"
#include "forms/frm_input.h"

#include <QApplication>

#include <cstdio>
#include <optional>
#include <string_view>

namespace {

// The program takes nothing from its command line but --version and --help, which it
// answers without a display; anything else is refused. Nothing to answer: no status.
std::optional<int> answerCommandLine(int argc, char *argv[])
{
    if (argc < 2)
        return std::nullopt;
    const std::string_view argument = argv[1];
    if (argc == 2 && argument == "--version") {
        std::printf("Trelvane %d.%d.%d\n", trelvane::kVersionMajor, trelvane::kVersionMinor,
                    trelvane::kVersionRevision);
        return 0;
    }
    if (argc == 2 && argument == "--help") {
        std::printf("Usage: trelvane [--help | --version]\n"
                    "Estimates how many cars a model-railroad layout can operate, from the\n"
                    "footage of its passing, functional and storage track, its scale and the\n"
                    "lengths of its cars. Run without arguments to open its window; press F1\n"
                    "there for help.\n"
                    "\n"
                    "  --help     show this text and exit\n"
                    "  --version  show the version and exit\n");
        return 0;
    }
    // The first argument that does not belong, a second one after --help or --version too.
    const bool knownFirst = argument == "--help" || argument == "--version";
    std::fprintf(stderr, "trelvane: unknown argument \"%s\"; try \"trelvane --help\"\n",
                 knownFirst ? argv[2] : argv[1]);
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    if (const std::optional<int> status = answerCommandLine(argc, argv))
        return *status;
    QApplication app(argc, argv);
    trelvane::stdGeneral session;
    trelvane::Main(session);
    return app.exec();
}
