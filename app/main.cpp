#include "console.h"

#include "analysis/session_state.h"
#include "forms/about.h"
#include "forms/frm_input.h"

#include <QApplication>

#include <optional>
#include <string>
#include <string_view>

namespace {

// The program takes nothing from its command line but --version and --help, which it
// answers without opening a window; anything else is refused. Nothing to answer: no
// status.
std::optional<int> answerCommandLine(int argc, char *argv[])
{
    if (argc < 2)
        return std::nullopt;
    const std::string_view argument = argv[1];
    if (argc == 2 && argument == "--version") {
        trelvane::tellOnConsole("Trelvane " + std::to_string(trelvane::kVersionMajor) + "."
                                    + std::to_string(trelvane::kVersionMinor) + "."
                                    + std::to_string(trelvane::kVersionRevision) + "\n",
                                trelvane::Answer::Information);
        return 0;
    }
    if (argc == 2 && argument == "--help") {
        trelvane::tellOnConsole(
            "Usage: trelvane [--help | --version]\n"
            "Estimates how many cars a model-railroad layout can operate, from the\n"
            "footage of its passing, functional and storage track, its scale and the\n"
            "lengths of its cars. Run without arguments to open its window; press F1\n"
            "there for help.\n"
            "\n"
            "  --help     show this text and exit\n"
            "  --version  show the version and exit\n",
            trelvane::Answer::Information);
        return 0;
    }
    // The first argument that does not belong, a second one after --help or --version too.
    const bool knownFirst = argument == "--help" || argument == "--version";
    trelvane::tellOnConsole(std::string("trelvane: unknown argument \"")
                                + (knownFirst ? argv[2] : argv[1])
                                + "\"; try \"trelvane --help\"\n",
                            trelvane::Answer::Error);
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
