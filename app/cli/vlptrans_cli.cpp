// vlptrans-cli: the batch front end. Opens, translates and saves projects as the window does,
// and prints what it did.
#include <CLI/CLI.hpp>
#include <iostream>

#include "app/cli/cli_commands.h"

namespace {

using vlp::cli::kExitUsage;

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Translates Vorlane projects (.vlp) between language versions, without a window."};
    app.name("vlptrans-cli");
    app.require_subcommand(1);

    std::string dataDir;
    app.add_option("--data", dataDir,
                   "Folder holding compare.tab and the *.ldi files (default: the folder of this program)");

    app.add_subcommand("languages", "List the installed languages: name TAB file, in discovery order");

    std::string infoFile;
    auto* info = app.add_subcommand("info", "Describe a project file's container as JSON");
    info->add_option("FILE", infoFile, "Project file")->required();

    std::string showFile;
    auto* show =
        app.add_subcommand("show", "Open a project as the window does and print its sections as JSON");
    show->add_option("FILE", showFile, "Project file")->required();

    vlp::cli::TranslateOptions translate;
    auto* translateCommand = app.add_subcommand(
        "translate", "Open, translate (with --to) and save projects; one summary line per project");
    translateCommand->add_option("FILE", translate.files, "Project files")->required();
    translateCommand->add_option("--to", translate.target,
                                 "Target language (its name as `languages` lists it)");
    translateCommand->add_option("-o,--output", translate.output,
                                 "Write this file (Save As) instead of the derived name next to FILE");
    translateCommand->add_option("--names", translate.namesFile, "Names table file (name=translation lines)");
    translateCommand->add_option("--choices", translate.choicesFile,
                                 "Resolve ambiguous words: lines source=target");
    translateCommand->add_option("--report", translate.reportFile, "Write a JSON report of the translation");
    translateCommand->add_flag("--strict", translate.strict,
                               "Exit with status 3 when ambiguous words remain");

    vlp::cli::DumpOptions dump;
    auto* dumpCommand =
        app.add_subcommand("dump", "Write the merged dictionary of FILE's language and the target language");
    dumpCommand->add_option("FILE", dump.file, "Project file")->required();
    dumpCommand->add_option("--to", dump.target, "Target language")->required();
    dumpCommand->add_option("-o,--output", dump.output,
                            "Dump file (default: dictionary.txt in the data folder)");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e);
        return status == 0 ? 0 : kExitUsage;
    }

    if (dataDir.empty()) dataDir = vlp::cli::ExecutableFolder();

    if (app.got_subcommand("languages")) return vlp::cli::ListLanguages(dataDir);
    if (app.got_subcommand(info)) return vlp::cli::ShowInfo(infoFile);
    if (app.got_subcommand(show)) return vlp::cli::ShowProject(dataDir, showFile);
    if (app.got_subcommand(translateCommand)) {
        if (translate.output && translate.files.size() > 1) {
            std::cerr << "-o can only be used with a single project file\n";
            return kExitUsage;
        }
        return vlp::cli::TranslateProjects(dataDir, translate);
    }
    return vlp::cli::DumpWordTable(dataDir, dump);
}
